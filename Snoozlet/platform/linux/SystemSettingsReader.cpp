#include "platform/linux/SystemSettingsReader.h"

#include "common/Text.h"
#include "journal/KernelCounts.h"
#include "settings/HelperCommand.h"

#include <algorithm>
#include <map>
#include <system_error>

namespace snoozlet {

namespace {

namespace fs = std::filesystem;

std::string linkName(const fs::path& link) {
  std::error_code error;
  const fs::path target = fs::read_symlink(link, error);
  return error ? std::string() : target.filename().string();
}

// A path under `folder` as the part after it ("pci0000:00/0000:00:14.0"); empty when not under it.
std::string below(const fs::path& path, const fs::path& folder) {
  const std::string p = path.string(), f = folder.string() + "/";
  return p.size() > f.size() && p.compare(0, f.size(), f) == 0 ? p.substr(f.size()) : std::string();
}

std::vector<WakeDevice> wakeDevices(const SystemRoot& root) {
  std::map<std::string, std::string> acpiNames;
  for (const auto& entry : kernel_counts::parseAcpiWakeup(readSystemFile(root("/proc/acpi/wakeup")))) {
    acpiNames.emplace(entry.device, entry.acpiName);
  }
  std::error_code error;
  const fs::path devices = fs::weakly_canonical(root("/sys/devices"), error);
  std::map<std::string, WakeDevice> found;
  for (const auto& item : fs::directory_iterator(root("/sys/class/wakeup"), error)) {
    std::error_code resolved;
    const fs::path device = fs::canonical(item.path() / "device", resolved);
    const std::string path = resolved ? std::string() : below(device, devices);
    if (path.empty() || found.contains(path)) continue;
    WakeDevice d;
    d.path = path;
    d.name = device.filename().string();
    d.wakeup = readSystemValue(device / "power" / "wakeup");
    if (d.wakeup != "enabled") continue;
    d.subsystem = linkName(device / "subsystem");
    d.driver = linkName(device / "driver");
    d.pciClass = readSystemValue(device / "class");
    const bool usb = d.subsystem == "usb";
    d.vendor = readSystemValue(device / (usb ? "idVendor" : "vendor"));
    d.product = readSystemValue(device / (usb ? "idProduct" : "device"));
    if (const auto acpi = acpiNames.find(d.name); acpi != acpiNames.end()) d.acpiName = acpi->second;
    found.emplace(path, std::move(d));
  }
  std::vector<WakeDevice> out;
  for (auto& [path, d] : found) out.push_back(std::move(d));
  return out;
}

std::vector<NetworkWake> networkWake(const SystemRoot& root) {
  std::vector<NetworkWake> out;
  std::error_code error;
  for (const auto& item : fs::directory_iterator(root("/sys/class/net"), error)) {
    const fs::path wakeup = item.path() / "device" / "power" / "wakeup";
    const std::string value = readSystemValue(wakeup);
    if (value != "enabled" && value != "disabled") continue;
    std::error_code ignored;
    const bool wireless =
        fs::exists(item.path() / "phy80211", ignored) || fs::exists(item.path() / "wireless", ignored);
    out.push_back({item.path().filename().string(), wireless, value});
  }
  std::sort(out.begin(), out.end(),
            [](const NetworkWake& a, const NetworkWake& b) { return a.interface < b.interface; });
  return out;
}

}  // namespace

SystemSettings readSystemSettings(const SystemRoot& root) {
  SystemSettings s;
  const std::string memSleep = readSystemFile(root("/sys/power/mem_sleep"));
  s.memSleep = kernel_counts::currentMemSleep(memSleep);
  s.memSleepModes = kernel_counts::memSleepModes(memSleep);
  s.wakeDevices = wakeDevices(root);
  s.hibernation.diskModes = kernel_counts::memSleepModes(readSystemFile(root("/sys/power/disk")));
  s.hibernation.resume = readSystemValue(root("/sys/power/resume"));
  s.hibernation.swapBytes = system_text::swapBytes(readSystemFile(root("/proc/swaps")));
  s.hibernation.memoryBytes = system_text::memoryBytes(readSystemFile(root("/proc/meminfo")));
  s.networkWake = networkWake(root);
  return s;
}

SystemValues readSystemValues(const SystemRoot& root, const std::vector<SystemChange>& changes) {
  SystemValues values;
  for (const SystemChange& change : changes) {
    const auto kind = helper_command::fileKind(change.file);
    if (!kind) continue;
    const std::string text = readSystemFile(root(change.file));
    const std::string value =
        *kind == helper_command::FileKind::memSleep ? kernel_counts::currentMemSleep(text)
                                                     : std::string(text::trimChars(text, " \t\r\n"));
    if (!value.empty()) values[change.file] = value;
  }
  return values;
}

}  // namespace snoozlet
