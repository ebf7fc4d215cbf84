#pragma once

// Power settings and findings: the text printed by `pmset -g` and
// `pmset -g custom` becomes PowerSettings, `pmset -g cap` becomes
// PowerCapabilities, and SettingsReport explains the settings that matter for
// night-time drain. Everything here is pure: text in, values out.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet {

// The machine's power settings, keys and values exactly as pmset prints them.
struct PowerSettings {
  // Settings in force now (`pmset -g`).
  std::map<std::string, std::string> current;
  // The battery profile (`pmset -g custom`); empty when unknown.
  std::map<std::string, std::string> battery;
  // The charger (AC) profile (`pmset -g custom`).
  std::map<std::string, std::string> ac;
  // Processes `pmset -g` reports as preventing sleep now, in printed order.
  std::vector<std::string> sleepPreventedBy;

  bool operator==(const PowerSettings&) const = default;

  // Parses the output of `pmset -g` (empty when that command failed) and of
  // `pmset -g custom` (absent when that command failed). Never fails: lines of
  // another shape are skipped.
  static PowerSettings parse(std::string_view current, std::optional<std::string_view> custom);
};

namespace pmsettext {

// One setting line split into key, value and the optional remark in
// parentheses; absent when the line does not have that shape.
struct SettingLine {
  std::string_view key;
  std::string_view value;
  std::optional<std::string_view> remark;
};
std::optional<SettingLine> matchSettingLine(std::string_view line);

// The lines of a pmset output: split at line feeds, a trailing carriage return
// removed, empty lines dropped. Views into `text`.
std::vector<std::string_view> lines(std::string_view text);

// True when the line begins with a blank: a space, a tab, or a Unicode space
// separator such as U+00A0 (text copied from web pages turns indentation into
// no-break spaces). Headings start in the first column.
bool beginsWithBlank(std::string_view line);

}  // namespace pmsettext

}  // namespace snoozlet
