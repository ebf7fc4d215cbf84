#include "platform/battery/IoregBatteryReader.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

using testing::TempDir;

// A stand-in ioreg in `dir` that prints `output` when called with exactly the
// battery arguments and exits with `status`.
std::filesystem::path fakeIoreg(const TempDir& dir, const std::string& body) {
  const auto script = dir / "ioreg";
  testing::writeFile(script, "#!/bin/sh\n[ \"$*\" = \"-r -c AppleSmartBattery -a\" ] || exit 64\n"
                             "echo 'noise on standard error' >&2\n" + body);
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  return script;
}

TEST(IoregBatteryReaderTest, ReadsWhatASucceedingIoregPrints) {
  const std::string capture = "cat '" + testing::fixturePath("real/ioreg-battery-09.txt").string() + "'\n";
  TempDir dir, failing, empty, endless;
  const auto health = IoregBatteryReader(fakeIoreg(dir, capture)).read();
  ASSERT_TRUE(health);
  EXPECT_EQ(health->fullChargeCapacity, 8747);
  // A failing ioreg is not believed, whatever it printed.
  EXPECT_FALSE(IoregBatteryReader(fakeIoreg(failing, capture + "exit 1\n")).read());
  // A desktop Mac: ioreg matches nothing and prints an empty array.
  EXPECT_FALSE(IoregBatteryReader(fakeIoreg(empty, "echo '<plist version=\"1.0\"><array/></plist>'\n")).read());
  EXPECT_FALSE(IoregBatteryReader(dir / "no-such-ioreg").read());
  // One that never stops writing is cut off at the output limit, not read forever.
  EXPECT_FALSE(IoregBatteryReader(fakeIoreg(endless, "exec yes\n")).read());
}

}  // namespace
}  // namespace snoozlet
