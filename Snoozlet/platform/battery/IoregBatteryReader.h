#pragma once

#include "platform/battery/BatteryReader.h"

#include <filesystem>
#include <string>
#include <vector>

namespace snoozlet {

// Reads the battery on macOS from `ioreg -r -c AppleSmartBattery -a`, the
// registry entry's property table as property-list XML; and the simulated
// Mac's battery, which `snoozlet-pmset -g smartbattery` prints the same way.
class IoregBatteryReader final : public BatteryReader {
 public:
  explicit IoregBatteryReader(std::filesystem::path ioreg = "/usr/sbin/ioreg",
                              std::vector<std::string> arguments = {"-r", "-c", "AppleSmartBattery", "-a"});

  // No value when ioreg cannot be run, fails, or lists no battery (a
  // desktop Mac prints an empty array).
  std::optional<BatteryHealth> read() override;

 private:
  std::filesystem::path ioreg_;
  std::vector<std::string> arguments_;
};

}  // namespace snoozlet
