#include "settings/PowerSettings.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include "common/Pattern.h"
#include "common/Text.h"

namespace snoozlet {

namespace pmsettext {

namespace {

// One setting line: a key (lazy, so it may hold blanks), the last blank-free
// word as the value, and an optional remark in parentheses. White space is
// taken in the Unicode sense because captured outputs come from web pages,
// with no-break spaces and stray vertical tabs.
const Pattern& settingLinePattern() {
  static const Pattern pattern(
      R"(^[\s\p{Z}\v]*(.+?)[\s\p{Z}\v]+([^\s\p{Z}\v]+)(?:[\s\p{Z}\v]+\((.*)\))?[\s\p{Z}\v]*$)");
  return pattern;
}

}  // namespace

std::optional<SettingLine> matchSettingLine(std::string_view line) {
  MatchViews groups;
  if (!settingLinePattern().match(line, groups)) return std::nullopt;
  return SettingLine{*groups[1], *groups[2], groups[3]};
}

std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> out;
  for (std::string_view line : text::split(text, '\n')) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) out.push_back(line);
  }
  return out;
}

bool beginsWithBlank(std::string_view line) {
  if (line.empty()) return false;
  if (text::isBlank(line.front())) return true;
  if (static_cast<unsigned char>(line.front()) < 0x80) return false;
  int32_t offset = 0;
  UChar32 c = 0;
  U8_NEXT(reinterpret_cast<const uint8_t*>(line.data()), offset, static_cast<int32_t>(line.size()), c);
  return c >= 0 && u_charType(c) == U_SPACE_SEPARATOR;
}

}  // namespace pmsettext

namespace {

constexpr std::string_view kPreventedBy = "sleep prevented by ";

// The names after "sleep prevented by " in the remark of the sleep line, or
// nothing when the remark does not carry that phrase. Unicode spaces count as
// plain blanks here, so a copy with no-break spaces still reads the phrase.
std::optional<std::vector<std::string>> preventers(std::string_view raw) {
  static const Pattern unicodeSpace(R"([\p{Z}\v])");
  const std::string remark = unicodeSpace.replaceAll(raw, " ");
  const auto at = remark.find(kPreventedBy);
  if (at == std::string_view::npos) return std::nullopt;
  std::vector<std::string> names;
  for (std::string_view piece : text::split(std::string_view(remark).substr(at + kPreventedBy.size()), ',')) {
    piece = text::trimWhitespace(piece);
    if (!piece.empty()) names.emplace_back(piece);
  }
  return names;
}

void parseCurrent(std::string_view text, PowerSettings& settings) {
  for (std::string_view line : pmsettext::lines(text)) {
    if (!pmsettext::beginsWithBlank(line)) continue;
    const auto setting = pmsettext::matchSettingLine(line);
    if (!setting) continue;
    settings.current[std::string(setting->key)] = std::string(setting->value);
    if (setting->key == "sleep" && setting->remark) {
      if (auto names = preventers(*setting->remark)) settings.sleepPreventedBy = std::move(*names);
    }
  }
}

void parseCustom(std::string_view text, PowerSettings& settings) {
  std::map<std::string, std::string>* section = nullptr;
  for (std::string_view line : pmsettext::lines(text)) {
    const bool indented = pmsettext::beginsWithBlank(line);
    // Trailing blanks after the colon are tolerated: copies from web pages
    // often carry them.
    const std::string_view trimmed = text::trimWhitespace(line);
    if (!indented && !trimmed.empty() && trimmed.back() == ':') {
      if (trimmed.starts_with("Battery")) {
        section = &settings.battery;
      } else if (trimmed.starts_with("AC")) {
        section = &settings.ac;
      } else {
        section = nullptr;  // another power source, such as a UPS
      }
      continue;
    }
    if (!indented || section == nullptr) continue;
    if (const auto setting = pmsettext::matchSettingLine(line)) {
      (*section)[std::string(setting->key)] = std::string(setting->value);
    }
  }
}

}  // namespace

PowerSettings PowerSettings::parse(std::string_view current, std::optional<std::string_view> custom) {
  PowerSettings settings;
  parseCurrent(text::decodeUtf8(current), settings);
  if (custom) parseCustom(text::decodeUtf8(*custom), settings);
  return settings;
}

}  // namespace snoozlet
