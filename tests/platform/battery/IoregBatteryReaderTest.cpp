#include "platform/battery/IoregBatteryReader.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

using testing::TempDir;

// A stand-in ioreg that prints `output` when called with exactly the
// battery arguments and exits with `status`.
std::filesystem::path fakeIoreg(const TempDir& dir, const std::filesystem::path& output, int status = 0) {
  const auto script = dir / "ioreg";
  testing::writeFile(script,
                     "#!/bin/sh\n"
                     "[ \"$#\" = 4 ] && [ \"$1 $2 $3 $4\" = \"-r -c AppleSmartBattery -a\" ] || exit 64\n"
                     "echo 'noise on standard error' >&2\n"
                     "cat '" +
                         output.string() +
                         "'\n"
                         "exit " +
                         std::to_string(status) + "\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  return script;
}

TEST(IoregBatteryReaderTest, ReadsTheCapturedPlist) {
  TempDir dir;
  const auto health = IoregBatteryReader(fakeIoreg(dir, testing::fixturePath("real/ioreg-battery-09.txt"))).read();
  ASSERT_TRUE(health);
  EXPECT_EQ(health->fullChargeCapacity, 8747);
}

TEST(IoregBatteryReaderTest, ReadsACompletePlist) {
  TempDir dir;
  testing::writeFile(dir / "battery.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0">
<array>
	<dict>
		<key>CycleCount</key>
		<integer>292</integer>
		<key>DesignCapacity</key>
		<integer>8400</integer>
		<key>AppleRawMaxCapacity</key>
		<integer>7975</integer>
		<key>CurrentCapacity</key>
		<integer>100</integer>
		<key>Temperature</key>
		<integer>2985</integer>
		<key>Voltage</key>
		<integer>12691</integer>
		<key>IsCharging</key>
		<false/>
		<key>ExternalConnected</key>
		<true/>
	</dict>
</array>
</plist>
)");
  const auto health = IoregBatteryReader(fakeIoreg(dir, dir / "battery.plist")).read();
  ASSERT_TRUE(health);
  EXPECT_EQ(health->cycleCount, 292);
  EXPECT_EQ(health->designCapacity, 8400);
  EXPECT_EQ(health->fullChargeCapacity, 7975);
  EXPECT_EQ(health->chargePercent, 100);
  EXPECT_DOUBLE_EQ(health->temperatureCelsius.value_or(0), 29.85);
  EXPECT_DOUBLE_EQ(health->voltage.value_or(0), 12.691);
  EXPECT_FALSE(health->isCharging);
  EXPECT_TRUE(health->externalConnected);
}

TEST(IoregBatteryReaderTest, NoBatteryOrNoIoregGivesNothing) {
  TempDir dir;
  // A desktop Mac: ioreg matches nothing and prints an empty array.
  testing::writeFile(dir / "empty.plist", "<?xml version=\"1.0\"?>\n<plist version=\"1.0\">\n<array/>\n</plist>\n");
  EXPECT_FALSE(IoregBatteryReader(fakeIoreg(dir, dir / "empty.plist")).read());
  EXPECT_FALSE(IoregBatteryReader(dir / "no-such-ioreg").read());
  // A failing ioreg is not believed, whatever it printed.
  TempDir failing;
  EXPECT_FALSE(IoregBatteryReader(fakeIoreg(failing, testing::fixturePath("real/ioreg-battery-09.txt"), 1)).read());
}

TEST(IoregBatteryReaderTest, EndlessOutputIsCutOff) {
  // An ioreg that never stops writing is cut off at the output limit, not read forever.
  TempDir dir;
  testing::writeFile(dir / "ioreg", "#!/bin/sh\nexec yes\n");
  std::filesystem::permissions(dir / "ioreg", std::filesystem::perms::owner_all);
  EXPECT_FALSE(IoregBatteryReader(dir / "ioreg").read());
}

}  // namespace
}  // namespace snoozlet
