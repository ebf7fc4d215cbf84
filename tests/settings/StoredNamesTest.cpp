// The names the journal, the settings report and the command line store for
// the enumerations of this folder.

#include "TestSupport.h"
#include "settings/FixPlan.h"
#include "settings/SettingFinding.h"

namespace snoozlet {
namespace {

using testing::expectStoredNames;

TEST(StoredNamesTest, EveryValueReadsBackFromItsOwnName) {
  const auto write = [](auto value) { return toString(value); };
  expectStoredNames(kAllFixIDs,
                    {"tcpKeepAliveOff", "powerNapOff", "wakeForNetworkOff", "proximityWakeOff",
                     "remoteSessionAwakeOff", "lowPowerModeOn"},
                    write, fixIDFromString);
  expectStoredNames(kAllPowerScopes, {"-b", "-c", "-a"}, write, powerScopeFromString);
  expectStoredNames(std::vector{Fix::Risk::low, Fix::Risk::notable}, {"low", "notable"}, write, fixRiskFromString);
  expectStoredNames(
      std::vector{FixPlan::Skip::notSupported, FixPlan::Skip::alreadySet, FixPlan::Skip::unknownCurrentValue},
      {"notSupported", "alreadySet", "unknownCurrentValue"}, write, fixPlanSkipFromString);
  expectStoredNames(kAllSettingStatuses, {"fine", "info", "consider", "attention"}, write, settingStatusFromString);
}

}  // namespace
}  // namespace snoozlet
