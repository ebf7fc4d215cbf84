#include "archive/BatteryHealth.h"

namespace snoozlet {

namespace {

// Above this, "MaxCapacity" is a capacity in mAh; at or below it, the
// driver's percentage of the design capacity.
constexpr long long kLargestPercentage = 150;

}  // namespace

BatteryHealth BatteryHealth::from(const PropertyMap& properties) {
  BatteryHealth health;
  health.cycleCount = integerProperty(properties, "CycleCount");
  health.designCycleCount = integerProperty(properties, "DesignCycleCount9C");
  health.designCapacity = integerProperty(properties, "DesignCapacity");

  if (const auto raw = integerProperty(properties, "AppleRawMaxCapacity")) {
    health.fullChargeCapacity = raw;
  } else if (const auto max = integerProperty(properties, "MaxCapacity"); max && *max > kLargestPercentage) {
    health.fullChargeCapacity = max;
  }

  health.nominalCapacity = integerProperty(properties, "NominalChargeCapacity");

  // A larger value is a capacity in mAh, not a percentage; a negative one is
  // no charge level at all.
  if (const auto current = integerProperty(properties, "CurrentCapacity");
      current && *current >= 0 && *current <= 100) {
    health.chargePercent = current;
  }

  // Hundredths of a degree Celsius.
  if (const auto t = integerProperty(properties, "Temperature"))
    health.temperatureCelsius = static_cast<double>(*t) / 100.0;
  // Millivolts.
  if (const auto v = integerProperty(properties, "Voltage")) health.voltage = static_cast<double>(*v) / 1000.0;

  health.isCharging = flagProperty(properties, "IsCharging");
  health.externalConnected = flagProperty(properties, "ExternalConnected");
  return health;
}

std::optional<double> BatteryHealth::capacityFraction() const {
  if (!fullChargeCapacity || !designCapacity || *designCapacity < 1) return std::nullopt;
  return static_cast<double>(*fullChargeCapacity) / static_cast<double>(*designCapacity);
}

}  // namespace snoozlet
