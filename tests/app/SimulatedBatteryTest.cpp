// The simulated Mac's battery: a typical three-year-old laptop battery kept
// in its state folder, read through the same ioreg parser as a real Mac's.

#include "TestSupport.h"
#include "platform/battery/BatteryReader.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(SimulatedBatteryTest, KeptInTheStateFolderAndReadLikeARealMacs) {
  testing::TempDir dir;
  const testing::ScopedEnv home("SNOOZLET_PMSET_HOME", dir.path().c_str());
  const auto reader = makeBatteryReader(testing::builtProgram("Snoozlet/snoozlet-pmset").string());
  auto battery = reader->read();
  ASSERT_TRUE(battery);
  EXPECT_EQ(battery->designCapacity, 5103);
  EXPECT_EQ(battery->fullChargeCapacity, 4386);
  EXPECT_NEAR(battery->capacityFraction().value_or(0), 0.8595, 0.0001);
  EXPECT_EQ(battery->cycleCount, 412);
  EXPECT_EQ(battery->designCycleCount, 1000);
  EXPECT_EQ(battery->chargePercent, 81);
  EXPECT_DOUBLE_EQ(battery->temperatureCelsius.value_or(0), 29.6);
  EXPECT_DOUBLE_EQ(battery->voltage.value_or(0), 12.41);
  EXPECT_FALSE(battery->isCharging);
  EXPECT_FALSE(battery->externalConnected);

  // The file written on first use is read back as edited; unusable lines are skipped.
  const auto file = dir.path() / "battery";
  ASSERT_TRUE(std::filesystem::exists(file));
  testing::writeFile(file, "CycleCount 999\nIsCharging Yes\nVoltage twelve\nnot a line\n<key>x</key> 1\n");
  battery = reader->read();
  ASSERT_TRUE(battery);
  EXPECT_EQ(battery->cycleCount, 999);
  EXPECT_TRUE(battery->isCharging);
  EXPECT_FALSE(battery->voltage);
  EXPECT_FALSE(battery->designCapacity);

  // A failing simulator gives no battery, not an error.
  const testing::ScopedEnv fail("SNOOZLET_PMSET_FAIL", "battery");
  EXPECT_FALSE(reader->read());
}

}  // namespace
}  // namespace snoozlet
