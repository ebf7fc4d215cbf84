#include "archive/BatteryHealth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <unordered_set>

namespace snoozlet {
namespace {

PropertyValue integer(long long v) { return PropertyValue::integer(v); }

TEST(BatteryHealthTest, ReadsEveryFieldFromItsKey) {
  const PropertyMap table{
      {"CycleCount", integer(292)},
      {"DesignCycleCount9C", integer(1000)},
      {"DesignCapacity", integer(5103)},
      {"AppleRawMaxCapacity", integer(4382)},
      {"MaxCapacity", integer(100)},
      {"NominalChargeCapacity", integer(4490)},
      {"CurrentCapacity", integer(80)},
      {"Temperature", integer(3012)},
      {"Voltage", integer(12650)},
      {"IsCharging", PropertyValue::boolean(true)},
      {"ExternalConnected", PropertyValue::boolean(true)},
  };
  const BatteryHealth h = BatteryHealth::from(table);
  EXPECT_EQ(h.cycleCount, 292);
  EXPECT_EQ(h.designCycleCount, 1000);
  EXPECT_EQ(h.designCapacity, 5103);
  EXPECT_EQ(h.fullChargeCapacity, 4382);
  EXPECT_EQ(h.nominalCapacity, 4490);
  EXPECT_EQ(h.chargePercent, 80);
  ASSERT_TRUE(h.temperatureCelsius);
  EXPECT_DOUBLE_EQ(*h.temperatureCelsius, 30.12);
  ASSERT_TRUE(h.voltage);
  EXPECT_DOUBLE_EQ(*h.voltage, 12.65);
  EXPECT_TRUE(h.isCharging);
  EXPECT_TRUE(h.externalConnected);
  ASSERT_TRUE(h.capacityFraction());
  EXPECT_NEAR(*h.capacityFraction(), 0.859, 0.0005);
}

TEST(BatteryHealthTest, EmptyTableGivesAbsentFieldsAndFalseFlags) {
  const BatteryHealth h = BatteryHealth::from({});
  EXPECT_EQ(h, BatteryHealth{});
  EXPECT_FALSE(h.cycleCount || h.designCapacity || h.fullChargeCapacity || h.chargePercent);
  EXPECT_FALSE(h.temperatureCelsius || h.voltage);
  EXPECT_FALSE(h.isCharging || h.externalConnected);
  EXPECT_FALSE(h.capacityFraction());
}

TEST(BatteryHealthTest, FullChargeCapacityPrefersRawAndTellsPercentagesFromCapacities) {
  struct Case {
    std::optional<long long> raw;
    std::optional<long long> max;
    std::optional<long long> expected;
  };
  const Case cases[] = {
      {4382, 100, 4382},        {std::nullopt, 100, std::nullopt}, {std::nullopt, 150, std::nullopt},
      {std::nullopt, 151, 151}, {std::nullopt, 7171, 7171},        {std::nullopt, std::nullopt, std::nullopt},
      {90, 7171, 90},  // the raw key wins even when it looks like a percentage
  };
  for (const auto& c : cases) {
    PropertyMap table;
    if (c.raw) table.emplace("AppleRawMaxCapacity", integer(*c.raw));
    if (c.max) table.emplace("MaxCapacity", integer(*c.max));
    EXPECT_EQ(BatteryHealth::from(table).fullChargeCapacity, c.expected)
        << "raw " << c.raw.value_or(-1) << " max " << c.max.value_or(-1);
  }
}

TEST(BatteryHealthTest, ChargePercentOnlyForPercentages) {
  const std::pair<long long, std::optional<long long>> cases[] = {
      {100, 100}, {0, 0}, {57, 57}, {101, std::nullopt}, {4000, std::nullopt}, {-5, std::nullopt}};
  for (const auto& [current, expected] : cases) {
    EXPECT_EQ(BatteryHealth::from({{"CurrentCapacity", integer(current)}}).chargePercent, expected) << current;
  }
}

TEST(BatteryHealthTest, NumberObjectsAreReadThroughTheirIntegerValue) {
  const PropertyMap table{
      {"CycleCount", PropertyValue::number(NumberObject::ofInteger(12))},
      {"Temperature", PropertyValue::number(NumberObject::ofReal(3012.9))},
      {"Voltage", PropertyValue::number(NumberObject::ofReal(-0.5))},
      {"DesignCapacity", PropertyValue::number(NumberObject::ofReal(std::numeric_limits<double>::quiet_NaN()))},
      {"NominalChargeCapacity", PropertyValue::number(NumberObject::ofReal(1e30))},
      {"IsCharging", PropertyValue::number(NumberObject::ofInteger(1))},
      {"ExternalConnected", PropertyValue::number(NumberObject::ofReal(0.0))},
  };
  const BatteryHealth h = BatteryHealth::from(table);
  EXPECT_EQ(h.cycleCount, 12);
  EXPECT_DOUBLE_EQ(h.temperatureCelsius.value_or(0), 30.12);  // truncated towards zero
  EXPECT_DOUBLE_EQ(h.voltage.value_or(1), 0.0);
  EXPECT_FALSE(h.designCapacity);   // NaN has no integer value
  EXPECT_FALSE(h.nominalCapacity);  // out of range
  EXPECT_TRUE(h.isCharging);
  EXPECT_FALSE(h.externalConnected);
}

TEST(BatteryHealthTest, ValuesOfOtherKindsAreAbsentOrFalse) {
  const PropertyMap table{
      {"CycleCount", PropertyValue::string("292")},
      {"DesignCapacity", PropertyValue::boolean(true)},
      {"Temperature", PropertyValue::data("\x0b\xc4")},
      {"Voltage", PropertyValue::array({integer(12650)})},
      {"CurrentCapacity", PropertyValue::dictionary({{"CurrentCapacity", integer(50)}})},
      {"IsCharging", PropertyValue::string("Yes")},
      {"ExternalConnected", PropertyValue::integer(1)},
  };
  const BatteryHealth h = BatteryHealth::from(table);
  EXPECT_FALSE(h.cycleCount);
  EXPECT_FALSE(h.designCapacity);
  EXPECT_FALSE(h.temperatureCelsius);
  EXPECT_FALSE(h.voltage);
  EXPECT_FALSE(h.chargePercent);
  EXPECT_FALSE(h.isCharging);
  // A plain integer is a number too: non-zero reads as true.
  EXPECT_TRUE(h.externalConnected);
}

TEST(BatteryHealthTest, CapacityFractionNeedsBothCapacitiesAndAPositiveDesign) {
  BatteryHealth h;
  h.fullChargeCapacity = 4382;
  EXPECT_FALSE(h.capacityFraction());
  h.designCapacity = 0;
  EXPECT_FALSE(h.capacityFraction());
  h.designCapacity = -1;
  EXPECT_FALSE(h.capacityFraction());
  h.designCapacity = 1;
  EXPECT_DOUBLE_EQ(h.capacityFraction().value_or(0), 4382.0);
  h.designCapacity = 5103;
  EXPECT_NEAR(h.capacityFraction().value_or(0), 0.8587, 0.0001);
  h.fullChargeCapacity.reset();
  EXPECT_FALSE(h.capacityFraction());
}

TEST(BatteryHealthTest, EqualityAndHashCoverEveryField) {
  BatteryHealth a;
  a.cycleCount = 8;
  a.voltage = 8.539;
  BatteryHealth b = a;
  EXPECT_EQ(a, b);
  EXPECT_EQ(std::hash<BatteryHealth>()(a), std::hash<BatteryHealth>()(b));
  b.externalConnected = true;
  EXPECT_NE(a, b);
  std::unordered_set<BatteryHealth> set{a, b};
  EXPECT_EQ(set.size(), 2u);
  BatteryHealth zeroCycles;
  zeroCycles.cycleCount = 0;
  EXPECT_NE(zeroCycles, BatteryHealth{});
  EXPECT_NE(std::hash<BatteryHealth>()(zeroCycles), std::hash<BatteryHealth>()(BatteryHealth{}));
}

}  // namespace
}  // namespace snoozlet
