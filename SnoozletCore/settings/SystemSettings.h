#pragma once

// A Linux laptop's settings that decide how it sleeps, as any user can read
// them: the sleep state the kernel uses and offers (/sys/power/mem_sleep),
// the devices allowed to wake it (their power/wakeup reads "enabled"),
// what logind does when the lid closes and who holds sleep off now (its
// D-Bus properties and inhibitors), whether it could hibernate after a long
// sleep, and whether its network cards may wake it. The platform reads them
// under a system root; everything here is plain values and pure functions.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet {

// A device whose power/wakeup the kernel offers.
struct WakeDevice {
  // Its folder under /sys/devices ("pci0000:00/0000:00:14.0"), without the prefix.
  std::string path;
  // The kernel's name, the folder's last element ("0000:00:14.0").
  std::string name;
  // Its subsystem, driver and PCI class ("pci", "xhci_hcd", "0x0c0330"), when known.
  std::string subsystem;
  std::string driver;
  std::string pciClass;
  // The firmware's name in /proc/acpi/wakeup ("XHC"), if listed.
  std::string acpiName;
  // What power/wakeup reads: "enabled" or "disabled".
  std::string wakeup;
  // PCI vendor and device ids ("0x8086", "0xa36d"), or USB ones ("046d", "c52b").
  std::string vendor;
  std::string product;

  // "/sys/devices/<path>/power/wakeup".
  std::string wakeupFile() const { return "/sys/devices/" + path + "/power/wakeup"; }
  bool operator==(const WakeDevice&) const = default;
};

// A lock logind holds for a program (ListInhibitors): what it blocks
// ("sleep", "handle-lid-switch", several joined by ":"), who took it and why,
// and whether it blocks or only delays.
struct Inhibitor {
  std::string what;
  std::string who;
  std::string why;
  std::string mode;
  std::uint32_t uid = 0;
  std::uint32_t pid = 0;
  bool operator==(const Inhibitor&) const = default;
};

// What logind reports over D-Bus: the effective lid actions on battery, on
// external power and docked, its inhibitors, and whether it could suspend
// and then hibernate ("yes", "no", "challenge", "na").
struct LogindState {
  std::string lidOnBattery;
  std::string lidOnExternalPower;
  std::string lidDocked;
  std::vector<Inhibitor> inhibitors;
  std::string canSuspendThenHibernate;
  bool operator==(const LogindState&) const = default;
};

// What hibernating needs: the kernel's hibernation modes (/sys/power/disk,
// empty without hibernation), the resume device (/sys/power/resume, "0:0"
// when none is set) and swap at least as large as memory.
struct HibernationState {
  std::vector<std::string> diskModes;
  std::string resume;
  std::uint64_t swapBytes = 0;
  std::uint64_t memoryBytes = 0;
  bool operator==(const HibernationState&) const = default;
};

// A network interface whose card reports whether it may wake the laptop:
// Wake-on-LAN for a wired one, Wake-on-WLAN for a wireless one.
struct NetworkWake {
  std::string interface;
  bool wireless = false;
  // What the card's power/wakeup reads: "enabled" or "disabled".
  std::string wakeup;
  bool operator==(const NetworkWake&) const = default;
};

// The values the fixes act on, by file ("/sys/power/mem_sleep" → "s2idle",
// a device's wakeup file → "enabled"), as they read now.
using SystemValues = std::map<std::string, std::string>;

struct SystemSettings {
  // The sleep in use and every one offered, in the kernel's order.
  std::string memSleep;
  std::vector<std::string> memSleepModes;
  // Devices allowed to wake the laptop, by path.
  std::vector<WakeDevice> wakeDevices;
  HibernationState hibernation;
  std::vector<NetworkWake> networkWake;
  // Absent where no logind answers.
  std::optional<LogindState> logind;

  // True when the kernel offers deep sleep.
  bool offersDeep() const;
  // The device with that kernel name; null when none.
  const WakeDevice* device(std::string_view name) const;
  // The settings with values read back after a change: the sleep in use,
  // and each device's wakeup.
  SystemSettings withValues(const SystemValues& values) const;

  bool operator==(const SystemSettings&) const = default;
};

namespace system_text {

// The bytes of all swap areas in /proc/swaps (sizes in KiB); 0 when none.
std::uint64_t swapBytes(std::string_view procSwaps);
// MemTotal of /proc/meminfo in bytes; 0 when it does not read.
std::uint64_t memoryBytes(std::string_view procMeminfo);

}  // namespace system_text

}  // namespace snoozlet
