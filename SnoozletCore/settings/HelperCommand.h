#pragma once

// What the privileged helper (snoozlet-helper) accepts, decided in one place
// for the helper itself, which checks every argument before it touches
// anything, and for the application, which shows the exact effect in the
// review and builds the helper's command line from the same checked parts.
//
// One operation per run:  snoozlet-helper write FILE VALUE keep|forget
//   FILE   /sys/power/mem_sleep, or /sys/devices/…/power/wakeup with only
//          plain names in between (letters, digits and ":._+-"; never "."
//          or "..")
//   VALUE  from the file's fixed set: s2idle, shallow, deep; enabled, disabled
//   keep   also write the line that sets VALUE again at every boot into the
//          helper's own file (a systemd-tmpfiles line for mem_sleep, a udev
//          rule for a device's wakeup), replacing its earlier line for FILE
//   forget remove the helper's line for FILE
// Nothing that reaches a file can hold a line break, a quote or a blank.

#include "common/Result.h"
#include "settings/SystemFix.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::helper_command {

inline constexpr std::string_view kProgram = "snoozlet-helper";
inline constexpr std::string_view kMemSleepFile = "/sys/power/mem_sleep";
inline constexpr std::string_view kTmpfilesFile = "/etc/tmpfiles.d/snoozlet.conf";
inline constexpr std::string_view kUdevRulesFile = "/etc/udev/rules.d/90-snoozlet.rules";

enum class FileKind { memSleep, wakeup };

// Which file it is, or nothing for any file the helper may not write.
std::optional<FileKind> fileKind(std::string_view file);
// True for a value of the file's fixed set.
bool allowedValue(FileKind kind, std::string_view value);
// One element of a device path: 1 to 255 of letters, digits and ":._+-",
// and neither "." nor "..".
bool isPlainName(std::string_view name);
// Where the line that keeps a file's value goes.
std::string_view keepFile(FileKind kind);

// The stable attributes a udev rule matches a device by: its subsystem, its
// kernel name and, for PCI and USB, the vendor and product ids.
struct DeviceIdentity {
  std::string subsystem;
  std::string kernel;
  std::string vendor;
  std::string product;
  bool operator==(const DeviceIdentity&) const = default;
};

// ACTION=="add", SUBSYSTEM=="pci", KERNEL=="0000:00:14.0", ATTR{vendor}=="0x8086",
// ATTR{device}=="0xa36d", ATTR{power/wakeup}="disabled" (one line). A USB device
// is matched by its ids alone, any other device by its subsystem and kernel
// name. Refused when a part does not have its form.
Result<std::string> udevRule(const DeviceIdentity& device, std::string_view value);
// "w /sys/power/mem_sleep - - - - deep".
Result<std::string> tmpfilesLine(std::string_view file, std::string_view value);

// The helper's arguments for a change: write, the file, the target, and keep
// (or forget, for an undo). Refused when the file or the value is not one
// the helper takes.
Result<std::vector<std::string>> arguments(const SystemChange& change);
// "snoozlet-helper write /sys/power/mem_sleep deep keep", as the dry run tells it.
Result<std::string> commandText(const SystemChange& change);

}  // namespace snoozlet::helper_command
