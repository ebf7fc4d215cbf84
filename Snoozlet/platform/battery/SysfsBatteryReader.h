#pragma once

#include "platform/battery/BatteryReader.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet {

// Reads the battery on Linux from the kernel's power-supply class folder and
// maps its attributes onto the macOS driver's keys:
//
//   cycle_count                          → CycleCount
//   charge_full_design (µAh)             → DesignCapacity (mAh)
//   charge_full (µAh)                    → AppleRawMaxCapacity (mAh)
//   energy_full_design, energy_full (µWh) → the same keys, in mAh at the
//                                          design voltage voltage_min_design (µV)
//   capacity (%)                         → CurrentCapacity; without it, charge_now
//                                          over charge_full (or energy_now over
//                                          energy_full) in percent
//   temp (tenths of °C)                  → Temperature (hundredths)
//   voltage_now (µV)                     → Voltage (mV)
//   status "Charging"                    → IsCharging
//   an online "Mains" or "USB…" supply,
//   or status "Charging"                 → ExternalConnected
//
// "Full" and "Not charging" do not count as external power: firmwares report
// them on battery as well. The battery is the first supply of type "Battery"
// that is present and powers the system (scope not "Device", which marks a
// mouse or headset battery), BAT* names first, then by name. A missing,
// unreadable, oversized or malformed attribute leaves its key out; a negative
// capacity, charge, voltage or cycle count is malformed (a temperature may be
// negative).
class SysfsBatteryReader final : public BatteryReader {
 public:
  explicit SysfsBatteryReader(std::filesystem::path root = "/sys/class/power_supply");

  // No value when no supply is a battery.
  std::optional<BatteryHealth> read() override;

  // The property table the record is built from; no value without a battery.
  std::optional<PropertyMap> readProperties() const;

  // A battery's attribute files (by file name) with their contents as read; a
  // file that is missing, unreadable or oversized has no entry.
  using Attributes = std::map<std::string, std::string, std::less<>>;

  // The names of the battery attributes `properties` uses.
  static const std::vector<std::string_view>& attributeNames();

  // An attribute's text as an integer: an optional sign and decimal digits,
  // white space around them ignored; anything else gives no value.
  static std::optional<long long> parseValue(std::string_view text);

  // The property table of a battery from its attributes, and whether a
  // charger supply is online. Touches no file.
  static PropertyMap properties(const Attributes& attributes, bool chargerOnline);

 private:
  std::filesystem::path root_;
};

}  // namespace snoozlet
