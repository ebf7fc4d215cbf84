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

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of a UUID (8-4-4-4-12 hexadecimal digits) at `i`, or 0.
std::size_t uuidAt(std::string_view s, std::size_t i) {
  static constexpr std::string_view kShape = "hhhhhhhh-hhhh-hhhh-hhhh-hhhhhhhhhhhh";
  if (s.size() - i < kShape.size()) return 0;
  for (std::size_t k = 0; k < kShape.size(); ++k) {
    if (kShape[k] == '-' ? s[i + k] != '-' : !isHex(s[i + k])) return 0;
  }
  return kShape.size();
}

// Length of "0x" and one or more hexadecimal digits at `i`, or 0.
std::size_t hexAt(std::string_view s, std::size_t i) {
  if (s.substr(i, 2) != "0x") return 0;
  std::size_t j = i + 2;
  while (j < s.size() && isHex(s[j])) ++j;
  return j > i + 2 ? j - i : 0;
}

// Length of "context" and one or more digits at `i`, or 0.
std::size_t counterAt(std::string_view s, std::size_t i) {
  if (s.substr(i, 7) != "context") return 0;
  std::size_t j = i + 7;
  while (j < s.size() && isDigit(s[j])) ++j;
  return j > i + 7 ? j - i : 0;
}

// Replaces every match of `matchAt`, left to right and without overlap, by
// `replacement` (the same as a regular-expression replacement of it).
template <typename MatchAt>
std::string replaceMatches(std::string_view s, MatchAt matchAt, std::string_view replacement, char first) {
  std::string out;
  std::size_t copied = 0;
  for (std::size_t i = s.find(first); i != std::string_view::npos;) {
    const std::size_t length = matchAt(s, i);
    if (length == 0) {
      i = s.find(first, i + 1);
      continue;
    }
    out.append(s.substr(copied, i - copied)).append(replacement);
    copied = i + length;
    i = s.find(first, copied);
  }
  if (copied == 0) return std::string(s);
  out.append(s.substr(copied));
  return out;
}

std::string withoutUuids(std::string_view s) {
  std::string out;
  std::size_t copied = 0;
  for (std::size_t i = 0; i + 36 <= s.size();) {
    if (s[i + 8] != '-' || !isHex(s[i])) {
      ++i;
      continue;
    }
    const std::size_t length = uuidAt(s, i);
    if (length == 0) {
      ++i;
      continue;
    }
    out.append(s.substr(copied, i - copied));
    copied = i + length;
    i = copied;
  }
  if (copied == 0) return std::string(s);
  out.append(s.substr(copied));
  return out;
}

}  // namespace

std::string cleanHolderName(std::string_view name) {
  // Unicode spaces too: assertion names are free text from any app.
  static const Pattern space(R"([\s\p{Z}\v\x{85}]+)");

  // Byte scans with the meaning of the regular expressions
  // [0-9A-Fa-f]{8}-…{12} → "", 0x[0-9A-Fa-f]+ → "", context\d+ → "context":
  // holder names are cleaned for every assertion line of a night.
  std::string text = withoutUuids(name);
  text = replaceMatches(text, hexAt, "", '0');
  text = replaceMatches(text, counterAt, "context", 'c');
  const bool plainSpaces = std::all_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80 && (c == ' ' || !text::isAsciiSpace(c));
  }) && text.find("  ") == std::string::npos;
  if (!plainSpaces) text = space.replaceAll(text, " ");
  return std::string(text::trimChars(text, " \t<>.()"));
}

}  // namespace SystemProcesses

}  // namespace snoozlet
