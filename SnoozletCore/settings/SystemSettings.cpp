#include "settings/SystemSettings.h"

#include "common/Text.h"
#include "journal/KernelCounts.h"

#include <algorithm>
#include <limits>

namespace snoozlet {

bool SystemSettings::offersDeep() const {
  return std::find(memSleepModes.begin(), memSleepModes.end(), "deep") != memSleepModes.end();
}

const WakeDevice* SystemSettings::device(std::string_view name) const {
  for (const WakeDevice& d : wakeDevices) {
    if (d.name == name) return &d;
  }
  return nullptr;
}

SystemSettings SystemSettings::withValues(const SystemValues& values) const {
  SystemSettings out = *this;
  if (const auto found = values.find("/sys/power/mem_sleep"); found != values.end() && !found->second.empty()) {
    out.memSleep = found->second;
  }
  for (WakeDevice& d : out.wakeDevices) {
    if (const auto found = values.find(d.wakeupFile()); found != values.end() && !found->second.empty()) {
      d.wakeup = found->second;
    }
  }
  return out;
}

namespace system_text {

namespace {

// Saturating a · b for sizes read from text.
std::uint64_t times(std::uint64_t a, std::uint64_t b) {
  return a > std::numeric_limits<std::uint64_t>::max() / b ? std::numeric_limits<std::uint64_t>::max() : a * b;
}

}  // namespace

std::uint64_t swapBytes(std::string_view procSwaps) {
  // "Filename  Type  Size  Used  Priority", then one line per area.
  std::uint64_t total = 0;
  for (std::string_view line : text::split(procSwaps, '\n')) {
    const auto words = text::split(text::trimWhitespace(line), ' ', 64, true);
    std::vector<std::string_view> fields;
    for (std::string_view w : words) {
      for (std::string_view piece : text::split(w, '\t', 64, true)) fields.push_back(piece);
    }
    if (fields.size() < 3 || fields[0] == "Filename") continue;
    if (const auto kib = kernel_counts::parseCount(fields[2])) {
      const std::uint64_t bytes = times(*kib, 1024);
      total = bytes > std::numeric_limits<std::uint64_t>::max() - total ? std::numeric_limits<std::uint64_t>::max()
                                                                        : total + bytes;
    }
  }
  return total;
}

std::uint64_t memoryBytes(std::string_view procMeminfo) {
  for (std::string_view line : text::split(procMeminfo, '\n')) {
    if (line.substr(0, 9) != "MemTotal:") continue;
    std::string_view rest = text::trimWhitespace(line.substr(9));
    if (rest.size() > 3 && rest.substr(rest.size() - 3) == " kB")
      rest = text::trimWhitespace(rest.substr(0, rest.size() - 3));
    if (const auto kib = kernel_counts::parseCount(rest)) return times(*kib, 1024);
    return 0;
  }
  return 0;
}

}  // namespace system_text

}  // namespace snoozlet
