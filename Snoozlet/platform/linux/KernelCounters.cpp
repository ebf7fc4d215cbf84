#include "platform/linux/KernelCounters.h"

#include <algorithm>
#include <map>
#include <system_error>

namespace snoozlet {

namespace {

namespace fs = std::filesystem;

std::uint64_t count(const fs::path& file) { return kernel_counts::parseCount(readSystemValue(file)).value_or(0); }

// The last element of where a link points ("../../../0000:00:14.0" → "0000:00:14.0").
std::string linkName(const fs::path& link) {
  std::error_code error;
  const fs::path target = fs::read_symlink(link, error);
  return error ? std::string() : target.filename().string();
}

WakeupSource readSource(const fs::path& folder, const std::map<std::string, std::string>& acpiNames) {
  WakeupSource s;
  s.name = readSystemValue(folder / "name");
  s.device = linkName(folder / "device");
  // The device's folder, reached through the link, tells its driver and class.
  s.driver = linkName(folder / "device" / "driver");
  s.pciClass = readSystemValue(folder / "device" / "class");
  if (const auto found = acpiNames.find(s.device.empty() ? s.name : s.device); found != acpiNames.end()) {
    s.acpiName = found->second;
  }
  s.eventCount = count(folder / "event_count");
  s.wakeupCount = count(folder / "wakeup_count");
  s.activeCount = count(folder / "active_count");
  s.totalTimeMs = count(folder / "total_time_ms");
  return s;
}

}  // namespace

KernelSnapshot readKernelSnapshot(const SystemRoot& root, Instant now) {
  KernelSnapshot snapshot;
  snapshot.taken = now;
  snapshot.memSleep = kernel_counts::currentMemSleep(readSystemFile(root("/sys/power/mem_sleep")));

  std::map<std::string, std::string> acpiNames;
  for (const auto& entry : kernel_counts::parseAcpiWakeup(readSystemFile(root("/proc/acpi/wakeup")))) {
    acpiNames.emplace(entry.device, entry.acpiName);
  }
  std::error_code error;
  const fs::path wakeup = root("/sys/class/wakeup");
  std::vector<fs::path> folders;
  for (const auto& item : fs::directory_iterator(wakeup, error)) folders.push_back(item.path());
  std::sort(folders.begin(), folders.end());
  for (const fs::path& folder : folders) {
    WakeupSource source = readSource(folder, acpiNames);
    if (!source.name.empty()) snapshot.sources.push_back(std::move(source));
  }

  const fs::path stats = root("/sys/power/suspend_stats");
  const auto optional = [&](const char* name) { return kernel_counts::parseCount(readSystemValue(stats / name)); };
  snapshot.stats.success = optional("success");
  snapshot.stats.fail = optional("fail");
  snapshot.stats.lastFailedStep = readSystemValue(stats / "last_failed_step");
  snapshot.stats.lastHwSleep = optional("last_hw_sleep");
  snapshot.stats.totalHwSleep = optional("total_hw_sleep");
  snapshot.stats.maxHwSleep = optional("max_hw_sleep");
  return snapshot;
}

bool hasKernelCounts(const SystemRoot& root) {
  std::error_code error;
  return fs::is_directory(root("/sys/class/wakeup"), error) ||
         fs::is_directory(root("/sys/power/suspend_stats"), error);
}

}  // namespace snoozlet
