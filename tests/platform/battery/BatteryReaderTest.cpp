// The readers that run a program for the battery: ioreg on a Mac, and the
// simulated Mac's battery kept in its state folder, read through the same
// ioreg parser as a real Mac's.

#include "platform/battery/BatteryReader.h"
#include "platform/battery/IoregBatteryReader.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

// A stand-in ioreg in `dir` that runs `body` when called with exactly the
// battery arguments.
std::filesystem::path fakeIoreg(const testing::TempDir& dir, const std::string& body) {
  const auto script = dir / "ioreg";
  testing::writeFile(script, "#!/bin/sh\n[ \"$*\" = \"-r -c AppleSmartBattery -a\" ] || exit 64\n"
                             "echo 'noise on standard error' >&2\n" + body);
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  return script;
}

TEST(BatteryReaderTest, IoregIsBelievedOnlyWhenItSucceeds) {
  const std::string capture = "cat '" + testing::fixturePath("real/ioreg-battery-09.txt").string() + "'\n";
  testing::TempDir dir, failing, empty, endless;
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

TEST(BatteryReaderTest, TheSimulatedMacsBatteryIsKeptInItsStateFolder) {
  testing::TempDir dir;
  const testing::ScopedEnv home("SNOOZLET_PMSET_HOME", dir.path().c_str());
  const auto reader = makeBatteryReader(testing::builtProgram("Snoozlet/snoozlet-pmset").string());
  // A typical three-year-old laptop battery.
  EXPECT_EQ(reader->read(), (BatteryHealth{412, 1000, 5103, 4386, 4412, 81, 29.6, 12.41, false, false}));

  // The file written on first use is read back as edited; unusable lines are skipped.
  ASSERT_TRUE(std::filesystem::exists(dir / "battery"));
  testing::writeFile(dir / "battery", "CycleCount 999\nIsCharging Yes\nVoltage twelve\nnot a line\n<key>x</key> 1\n");
  EXPECT_EQ(reader->read(), (BatteryHealth{.cycleCount = 999, .isCharging = true}));
  // A failing simulator gives no battery, not an error.
  const testing::ScopedEnv fail("SNOOZLET_PMSET_FAIL", "battery");
  EXPECT_FALSE(reader->read());
}

}  // namespace
}  // namespace snoozlet
