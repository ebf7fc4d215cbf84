#include "sessions/SystemProcesses.h"

#include "common/Pattern.h"
#include "common/Text.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <unordered_set>

namespace snoozlet {

std::string_view toString(HolderOrigin origin) {
  switch (origin) {
    case HolderOrigin::system: return "system";
    case HolderOrigin::userTool: return "userTool";
    case HolderOrigin::app: return "app";
  }
  return "app";
}

std::optional<HolderOrigin> holderOriginFromString(std::string_view raw) {
  if (raw == "system") return HolderOrigin::system;
  if (raw == "userTool") return HolderOrigin::userTool;
  if (raw == "app") return HolderOrigin::app;
  return std::nullopt;
}

namespace SystemProcesses {

namespace {

// Part of macOS, Apple's own apps included (their holders count as system).
// clang-format off
constexpr auto kSystemNames = std::to_array<std::string_view>({
    "powerd", "kernel_task", "WindowServer", "loginwindow", "mDNSResponder",
    "configd", "coreaudiod", "sharingd", "PowerUIAgent", "PowerChime",
    "AddressBookSourceSync", "CloudTelemetryService", "DictationIM", "AirPlayXPCHelper", "Safari",
    "Mail", "Music", "Photos", "Messages", "FaceTime",
    "Finder", "softwareupdate", "Software Update", "mds", "mds_stores",
    "mdworker", "backupd", "useractivityd", "runningboardd", "appstoreagent",
    "nsurlsessiond",
});
// clang-format on
static_assert(kSystemNames.size() == 31);

// Command-line tools and shells a user starts.
// clang-format off
constexpr auto kUserToolNames = std::to_array<std::string_view>({
    "caffeinate", "python", "python3", "node", "ruby", "perl", "bash", "zsh", "sh",
    "fish", "swift", "swift-frontend", "xcodebuild", "make", "brew", "rsync", "ffmpeg", "java",
    "tmux", "screen", "ssh", "scp", "curl", "wget", "git", "npm", "yarn",
    "deno", "bun", "osascript", "sudo", "Terminal", "iTerm2", "ollama",
});
// clang-format on
static_assert(kUserToolNames.size() == 34);

using NameSet = std::unordered_set<std::string_view>;

// Built once, on first use; the initialisation of a local static is thread-safe.
const NameSet& systemSet() {
  static const NameSet names(kSystemNames.begin(), kSystemNames.end());
  return names;
}

const NameSet& userToolSet() {
  static const NameSet names(kUserToolNames.begin(), kUserToolNames.end());
  return names;
}

// Whether the first character (a Unicode code point) is a lower-case letter.
bool startsLowerCase(std::string_view s) {
  if (s.empty()) return false;
  const auto first = static_cast<unsigned char>(s.front());
  if (first < 0x80) return first >= 'a' && first <= 'z';
  UChar32 c = 0;
  int32_t i = 0;
  U8_NEXT(reinterpret_cast<const uint8_t*>(s.data()), i, static_cast<int32_t>(std::min<std::size_t>(s.size(), 4)), c);
  return c >= 0 && u_isULowercase(c);
}

bool hasSpace(std::string_view s) { return s.find(' ') != std::string_view::npos; }

}  // namespace

bool isSystemName(std::string_view process) { return systemSet().contains(process); }

bool isUserToolName(std::string_view process) { return userToolSet().contains(process); }

bool isSystem(std::string_view process, std::string_view name) {
  if (isUserToolName(process)) return false;
  if (isSystemName(process)) return true;
  if (name.starts_with("com.apple.") && !hasSpace(process) && startsLowerCase(process)) return true;
  // A daemon-style name: lower-case start, "d" at the end, no space ("bluetoothd").
  if (!startsLowerCase(process) || !process.ends_with('d')) return false;
  return !hasSpace(process);
}

HolderOrigin origin(std::string_view process, std::string_view name) {
  if (isUserToolName(process)) return HolderOrigin::userTool;
  if (isSystem(process, name)) return HolderOrigin::system;
  return HolderOrigin::app;
}

std::string cleanHolderName(std::string_view name) {
  static const Pattern uuid(R"([0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})");
  static const Pattern hex(R"(0x[0-9A-Fa-f]+)");
  static const Pattern counter(R"(context\d+)");
  // Unicode spaces too: assertion names are free text from any app.
  static const Pattern space(R"([\s\p{Z}\v\x{85}]+)");

  std::string text = uuid.replaceAll(name, "");
  text = hex.replaceAll(text, "");
  text = counter.replaceAll(text, "context");
  text = space.replaceAll(text, " ");
  return std::string(text::trimChars(text, " \t<>.()"));
}

}  // namespace SystemProcesses

}  // namespace snoozlet
