#pragma once

// Reading the battery's state from the operating system. Every reader turns
// what its system publishes into the property table of the macOS battery
// driver ("AppleSmartBattery": "CycleCount", "DesignCapacity", …) and builds
// the record from it with BatteryHealth::from, so both systems share one set
// of rules:
//
//   Linux   SysfsBatteryReader   /sys/class/power_supply, units converted
//   macOS   IoregBatteryReader   `ioreg -r -c AppleSmartBattery -a`
//
// A machine without a battery gives no value, never an error.

#include "archive/BatteryHealth.h"

#include <memory>
#include <optional>
#include <string>

namespace snoozlet {

class BatteryReader {
 public:
  virtual ~BatteryReader() = default;
  // The battery's state now; no value when there is no battery or its
  // properties cannot be read.
  virtual std::optional<BatteryHealth> read() = 0;
};

// The reader for the system this was built for.
std::unique_ptr<BatteryReader> makeSystemBatteryReader();
// The reader that goes with a pmset: the simulated Mac's own battery for the
// simulator, the system's otherwise.
std::unique_ptr<BatteryReader> makeBatteryReader(const std::string& pmset);

}  // namespace snoozlet
