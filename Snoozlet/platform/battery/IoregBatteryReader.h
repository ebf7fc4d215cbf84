#pragma once

#include "platform/battery/BatteryReader.h"

#include <filesystem>

namespace snoozlet {

// Reads the battery on macOS from `ioreg -r -c AppleSmartBattery -a`, the
// registry entry's property table as property-list XML.
class IoregBatteryReader final : public BatteryReader {
 public:
  explicit IoregBatteryReader(std::filesystem::path ioreg = "/usr/sbin/ioreg");

  // No value when ioreg cannot be run, fails, or lists no battery (a
  // desktop Mac prints an empty array).
  std::optional<BatteryHealth> read() override;

 private:
  std::filesystem::path ioreg_;
};

}  // namespace snoozlet
