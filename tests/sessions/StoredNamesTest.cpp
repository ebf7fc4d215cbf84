#include "TestSupport.h"
#include "sessions/Language.h"
#include "sessions/SystemProcesses.h"
#include "sessions/WakeCategory.h"

namespace snoozlet {
namespace {

using testing::expectStoredNames;

// The names the archive, the settings and the command line store for the
// enumerations of this folder.
TEST(StoredNamesTest, EveryValueReadsBackFromItsOwnName) {
  const auto write = [](auto value) { return toString(value); };
  expectStoredNames(kAllWakeCategories,
                    {"network", "backgroundTask", "maintenance", "scheduled", "power", "lid", "user", "usb", "siri",
                     "notification", "networkAccess", "unknown"},
                    write, wakeCategoryFromString);
  expectStoredNames(std::vector{HolderOrigin::system, HolderOrigin::userTool, HolderOrigin::app},
                    {"system", "userTool", "app"}, write, holderOriginFromString);
  expectStoredNames(kAllLanguages, {"en", "tr"}, write, languageFromString);
  EXPECT_FALSE(languageFromString("tr_TR"));
}

}  // namespace
}  // namespace snoozlet
