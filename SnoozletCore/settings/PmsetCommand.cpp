#include "settings/PmsetCommand.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdio>

#include "common/Text.h"
#include "settings/FixCatalog.h"

namespace snoozlet::PmsetCommand {

namespace {

constexpr std::size_t kMaxValueCharacters = 3;

// A short, printable rendering of an untrusted text for an error message:
// control characters escaped, long texts cut.
std::string shown(std::string_view raw) {
  constexpr std::size_t kLimit = 40;
  const std::string decoded = text::decodeUtf8(raw.substr(0, kLimit));
  std::string out = "\"";
  for (char c : decoded) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  out += raw.size() > kLimit ? "…\"" : "\"";
  return out;
}

Error refusal(std::string reason) { return Error{"Refused to build the pmset command: " + std::move(reason)}; }

Result<std::string> checkedLine(PowerScope scope, std::string_view key, std::string_view value,
                                std::string_view pmsetPath) {
  if (!isSafePath(pmsetPath)) {
    return Result<std::string>::failure(
        refusal("the pmset path " + shown(pmsetPath) + " is not a plain absolute path."));
  }
  if (allowedKeys().count(std::string(key)) == 0) {
    return Result<std::string>::failure(
        refusal("the key " + shown(key) + " is not one of the settings Snoozlet changes."));
  }
  if (!isSafe(key, value)) {
    return Result<std::string>::failure(
        refusal("the value " + shown(value) + " for " + std::string(key) + " is not a number of one to three digits."));
  }
  std::string out(pmsetPath);
  out.append(" ").append(toString(scope)).append(" ").append(key).append(" ").append(value);
  return out;
}

template <typename Pick>
Result<std::vector<std::string>> buildLines(const FixPlan& plan, std::string_view pmsetPath, bool reversed,
                                            Pick valueOf) {
  std::vector<std::string> out;
  out.reserve(plan.changes.size());
  const auto add = [&](const PlannedChange& change) -> Status {
    auto built = checkedLine(change.scope, change.key, valueOf(change), pmsetPath);
    if (!built) return Status::failure(built.error());
    out.push_back(std::move(built).value());
    return {};
  };
  if (reversed) {
    for (auto it = plan.changes.rbegin(); it != plan.changes.rend(); ++it) {
      if (auto status = add(*it); !status) return Result<std::vector<std::string>>::failure(status.error());
    }
  } else {
    for (const PlannedChange& change : plan.changes) {
      if (auto status = add(change); !status) return Result<std::vector<std::string>>::failure(status.error());
    }
  }
  return out;
}

Result<std::string> joined(Result<std::vector<std::string>> built) {
  if (!built) return Result<std::string>::failure(built.error());
  return text::join(built.value(), " && ");
}

}  // namespace

std::string_view path() { return kDefaultPath; }

const std::set<std::string>& allowedKeys() {
  static const std::set<std::string> keys = [] {
    std::set<std::string> out;
    for (const Fix& fix : FixCatalog::all()) out.insert(fix.key);
    return out;
  }();
  return keys;
}

bool isSafe(std::string_view key, std::string_view value) {
  if (allowedKeys().count(std::string(key)) == 0 || value.empty()) return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(value.data());
  const auto length = static_cast<int32_t>(value.size());
  std::size_t characters = 0;
  for (int32_t offset = 0; offset < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, offset, length, c);
    if (c < 0) return false;  // not UTF-8
    if (u_getIntPropertyValue(c, UCHAR_NUMERIC_TYPE) == U_NT_NONE) return false;
    if (++characters > kMaxValueCharacters) return false;
  }
  return true;
}

bool isSafePath(std::string_view pmsetPath) {
  if (pmsetPath.empty() || pmsetPath.front() != '/') return false;
  for (char c : pmsetPath) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
                       c == '.' || c == '_' || c == '-';
    if (!plain) return false;
  }
  return true;
}

Result<std::string> line(PowerScope scope, std::string_view key, std::string_view value, std::string_view pmsetPath) {
  return checkedLine(scope, key, value, pmsetPath);
}

Result<std::vector<std::string>> lines(const FixPlan& plan, std::string_view pmsetPath) {
  return buildLines(plan, pmsetPath, false, [](const PlannedChange& c) -> const std::string& { return c.target; });
}

Result<std::vector<std::string>> undoLines(const FixPlan& plan, std::string_view pmsetPath) {
  return buildLines(plan, pmsetPath, true, [](const PlannedChange& c) -> const std::string& { return c.previous; });
}

Result<std::string> shellText(const FixPlan& plan, std::string_view pmsetPath) {
  return joined(lines(plan, pmsetPath));
}

Result<std::string> undoShellText(const FixPlan& plan, std::string_view pmsetPath) {
  return joined(undoLines(plan, pmsetPath));
}

Result<std::string> appleScript(const FixPlan& plan, std::string_view pmsetPath) {
  auto text = shellText(plan, pmsetPath);
  if (!text) return text;
  // A second guard: the text goes inside an AppleScript string literal.
  if (text->find_first_of("\"\\") != std::string::npos) {
    return Result<std::string>::failure(refusal("the command text holds a quote or a backslash."));
  }
  return "do shell script \"" + text.value() + "\" with administrator privileges";
}

}  // namespace snoozlet::PmsetCommand
