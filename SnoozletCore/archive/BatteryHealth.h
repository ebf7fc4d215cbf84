#pragma once

// The state of the laptop's battery as the battery driver publishes it: a
// plain record built from the driver's property table (see PropertyValue.h;
// the platform readers produce that table from I/O Kit, `ioreg` or sysfs).

#include "archive/PropertyValue.h"

#include <cstddef>
#include <functional>
#include <optional>

namespace snoozlet {

struct BatteryHealth {
  // Charge cycles so far.
  std::optional<long long> cycleCount;
  // Cycles the battery is rated for.
  std::optional<long long> designCycleCount;
  // Design capacity, mAh.
  std::optional<long long> designCapacity;
  // Capacity when full today, mAh.
  std::optional<long long> fullChargeCapacity;
  // Nominal charge capacity, mAh.
  std::optional<long long> nominalCapacity;
  // Current charge, percent (0–100).
  std::optional<long long> chargePercent;
  // Degrees Celsius.
  std::optional<double> temperatureCelsius;
  // Volts.
  std::optional<double> voltage;
  bool isCharging = false;
  bool externalConnected = false;

  // Builds the record from the driver's property table. Never fails: missing
  // or unusable keys give absent fields (false for the two flags).
  static BatteryHealth from(const PropertyMap& properties);

  // fullChargeCapacity / designCapacity; absent when either is absent or the
  // design capacity is below 1.
  std::optional<double> capacityFraction() const;

  bool operator==(const BatteryHealth&) const = default;
};

}  // namespace snoozlet

template <>
struct std::hash<snoozlet::BatteryHealth> {
  std::size_t operator()(const snoozlet::BatteryHealth& b) const noexcept {
    const auto mix = [](std::size_t h, std::size_t v) { return h * 31 + v; };
    const auto opt = [](const auto& o) -> std::size_t {
      using T = typename std::decay_t<decltype(o)>::value_type;
      return o ? std::hash<T>()(*o) * 2 + 1 : 0;
    };
    std::size_t h = opt(b.cycleCount);
    h = mix(h, opt(b.designCycleCount));
    h = mix(h, opt(b.designCapacity));
    h = mix(h, opt(b.fullChargeCapacity));
    h = mix(h, opt(b.nominalCapacity));
    h = mix(h, opt(b.chargePercent));
    h = mix(h, opt(b.temperatureCelsius));
    h = mix(h, opt(b.voltage));
    return h * 4 + (b.isCharging ? 2 : 0) + (b.externalConnected ? 1 : 0);
  }
};
