#include "settings/HelperCommand.h"

#include "common/Text.h"

#include <algorithm>

namespace snoozlet::helper_command {

namespace {

constexpr std::string_view kDevices = "/sys/devices/";
constexpr std::string_view kWakeupTail = "/power/wakeup";

bool plainChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' || c == '.' ||
         c == '_' || c == '+' || c == '-';
}

bool allOf(std::string_view text, std::size_t min, std::size_t max, bool (*accept)(char)) {
  return text.size() >= min && text.size() <= max && std::all_of(text.begin(), text.end(), accept);
}

bool hexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }
bool subsystemChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-'; }

// "0x8086" for PCI, "046d" for USB: the kernel prints both in lower case.
bool pciId(std::string_view id) {
  return id.size() == 6 && id.substr(0, 2) == "0x" && allOf(id.substr(2), 4, 4, hexDigit);
}
bool usbId(std::string_view id) { return allOf(id, 4, 4, hexDigit); }

Error refused(std::string what) { return Error{std::move(what)}; }

}  // namespace

bool isPlainName(std::string_view name) { return name != "." && name != ".." && allOf(name, 1, 255, plainChar); }

std::optional<FileKind> fileKind(std::string_view file) {
  if (file == kMemSleepFile) return FileKind::memSleep;
  if (file.substr(0, kDevices.size()) != kDevices || file.size() <= kDevices.size() + kWakeupTail.size() ||
      file.substr(file.size() - kWakeupTail.size()) != kWakeupTail) {
    return std::nullopt;
  }
  const std::string_view between = file.substr(kDevices.size(), file.size() - kDevices.size() - kWakeupTail.size());
  for (std::string_view name : text::split(between, '/')) {
    if (!isPlainName(name)) return std::nullopt;
  }
  return FileKind::wakeup;
}

bool allowedValue(FileKind kind, std::string_view value) {
  if (kind == FileKind::memSleep) return value == "s2idle" || value == "shallow" || value == "deep";
  return value == "enabled" || value == "disabled";
}

std::string_view keepFile(FileKind kind) { return kind == FileKind::memSleep ? kTmpfilesFile : kUdevRulesFile; }

Result<std::string> udevRule(const DeviceIdentity& d, std::string_view value) {
  if (!allowedValue(FileKind::wakeup, value)) {
    return Result<std::string>::failure(
        refused("a device's wakeup is enabled or disabled, not '" + std::string(value) + "'"));
  }
  if (!allOf(d.subsystem, 1, 32, subsystemChar) || !isPlainName(d.kernel)) {
    return Result<std::string>::failure(refused("the device has no subsystem and name a udev rule can match"));
  }
  std::string rule = "ACTION==\"add\", SUBSYSTEM==\"" + d.subsystem + "\", ";
  if (d.subsystem == "pci") {
    if (!pciId(d.vendor) || !pciId(d.product)) {
      return Result<std::string>::failure(refused("the PCI device " + d.kernel + " has no vendor and device ids"));
    }
    rule += "KERNEL==\"" + d.kernel + "\", ATTR{vendor}==\"" + d.vendor + "\", ATTR{device}==\"" + d.product + "\", ";
  } else if (d.subsystem == "usb") {
    if (!usbId(d.vendor) || !usbId(d.product)) {
      return Result<std::string>::failure(refused("the USB device " + d.kernel + " has no vendor and product ids"));
    }
    rule += "ATTR{idVendor}==\"" + d.vendor + "\", ATTR{idProduct}==\"" + d.product + "\", ";
  } else {
    rule += "KERNEL==\"" + d.kernel + "\", ";
  }
  return rule + "ATTR{power/wakeup}=\"" + std::string(value) + "\"";
}

Result<std::string> tmpfilesLine(std::string_view file, std::string_view value) {
  const auto kind = fileKind(file);
  if (!kind || !allowedValue(*kind, value)) {
    return Result<std::string>::failure(
        refused("no boot-time line for '" + std::string(value) + "' in " + std::string(file)));
  }
  return "w " + std::string(file) + " - - - - " + std::string(value);
}

Result<std::vector<std::string>> arguments(const SystemChange& change) {
  const auto kind = fileKind(change.file);
  if (!kind) {
    return Result<std::vector<std::string>>::failure(refused("snoozlet-helper does not write " + change.file));
  }
  if (!allowedValue(*kind, change.target)) {
    return Result<std::vector<std::string>>::failure(
        refused("snoozlet-helper does not write '" + change.target + "' into " + change.file));
  }
  return std::vector<std::string>{"write", change.file, change.target, change.keep ? "keep" : "forget"};
}

Result<std::string> commandText(const SystemChange& change) {
  auto words = arguments(change);
  if (!words) return Result<std::string>::failure(words.error());
  return std::string(kProgram) + " " + text::join(words.value(), " ");
}

}  // namespace snoozlet::helper_command
