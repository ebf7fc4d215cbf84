#include "archive/BatteryHealth.h"

#include <gtest/gtest.h>

#include <limits>
#include <unordered_set>

namespace snoozlet {
namespace {

PropertyValue integer(long long v) { return PropertyValue::integer(v); }
PropertyValue real(double v) { return PropertyValue::number(NumberObject::ofReal(v)); }

TEST(BatteryHealthTest, EachFieldFromItsKey) {
  const std::pair<PropertyMap, BatteryHealth> rows[] = {
      {{}, {}},
      {{{"CycleCount", integer(292)}, {"DesignCycleCount9C", integer(1000)}, {"DesignCapacity", integer(5103)},
        {"AppleRawMaxCapacity", integer(4382)}, {"NominalChargeCapacity", integer(4490)}, {"CurrentCapacity", integer(80)},
        {"Temperature", integer(3012)}, {"Voltage", integer(12650)}, {"IsCharging", PropertyValue::boolean(true)},
        {"ExternalConnected", PropertyValue::boolean(true)}},
       {292, 1000, 5103, 4382, 4490, 80, 30.12, 12.65, true, true}},
      // Number objects count through their integer value (towards zero); NaN and numbers out of range have none.
      {{{"CycleCount", PropertyValue::number(NumberObject::ofInteger(12))}, {"Temperature", real(3012.9)},
        {"Voltage", real(-0.5)}, {"DesignCapacity", real(std::numeric_limits<double>::quiet_NaN())},
        {"DesignCycleCount9C", real(9223372036854775808.0)},  // 2^63 itself does not fit
        {"NominalChargeCapacity", real(1e30)}, {"IsCharging", PropertyValue::number(NumberObject::ofInteger(1))},
        {"ExternalConnected", real(0.0)}},
       {.cycleCount = 12, .temperatureCelsius = 30.12, .voltage = 0.0, .isCharging = true}},
      // Values of other kinds are absent or false; a plain non-zero integer is a true flag.
      {{{"CycleCount", PropertyValue::string("292")}, {"DesignCapacity", PropertyValue::boolean(true)},
        {"Temperature", PropertyValue::data("\x0b\xc4")}, {"Voltage", PropertyValue::array({integer(12650)})},
        {"CurrentCapacity", PropertyValue::dictionary({{"CurrentCapacity", integer(50)}})},
        {"IsCharging", PropertyValue::string("Yes")}, {"ExternalConnected", integer(1)}},
       {.externalConnected = true}},
      // "MaxCapacity" above 150 is a capacity, at or below a percentage; the raw key wins.
      {{{"AppleRawMaxCapacity", integer(90)}, {"MaxCapacity", integer(7171)}}, {.fullChargeCapacity = 90}},
      {{{"MaxCapacity", integer(150)}}, {}}, {{{"MaxCapacity", integer(151)}}, {.fullChargeCapacity = 151}},
      // The charge is a percentage or nothing.
      {{{"CurrentCapacity", integer(0)}}, {.chargePercent = 0}}, {{{"CurrentCapacity", integer(100)}}, {.chargePercent = 100}},
      {{{"CurrentCapacity", integer(101)}}, {}}, {{{"CurrentCapacity", integer(-5)}}, {}},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(BatteryHealth::from(rows[i].first), rows[i].second) << i;
}

TEST(BatteryHealthTest, CapacityFractionNeedsBothCapacitiesAndAPositiveDesign) {
  const std::pair<BatteryHealth, std::optional<double>> rows[] = {
      {{.fullChargeCapacity = 4382}, std::nullopt},
      {{.designCapacity = 0, .fullChargeCapacity = 4382}, std::nullopt},
      {{.designCapacity = 5103}, std::nullopt},
      {{.designCapacity = 1, .fullChargeCapacity = 4382}, 4382.0},
  };
  for (const auto& [health, fraction] : rows) EXPECT_EQ(health.capacityFraction(), fraction);
}

TEST(BatteryHealthTest, EqualityAndHashCoverEveryField) {
  const std::vector<BatteryHealth> variants{
      {},  {.cycleCount = 0},  {.cycleCount = 8},         {.designCycleCount = 8},   {.designCapacity = 8},
      {.fullChargeCapacity = 8}, {.nominalCapacity = 8},  {.chargePercent = 8},      {.temperatureCelsius = 8},
      {.voltage = 8},           {.isCharging = true},     {.externalConnected = true}};
  std::unordered_set<std::size_t> hashes;
  for (const BatteryHealth& v : variants) hashes.insert(std::hash<BatteryHealth>()(v));
  EXPECT_EQ(hashes.size(), variants.size());
  EXPECT_EQ(std::unordered_set<BatteryHealth>(variants.begin(), variants.end()).size(), variants.size());
}

}  // namespace
}  // namespace snoozlet
