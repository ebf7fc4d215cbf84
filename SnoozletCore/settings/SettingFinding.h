#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace snoozlet {

// How much a setting matters for night-time drain, lowest first, so that
// statuses compare and a list's worst status can be taken.
enum class SettingStatus { fine, info, consider, attention };

inline constexpr SettingStatus kAllSettingStatuses[] = {SettingStatus::fine, SettingStatus::info,
                                                        SettingStatus::consider, SettingStatus::attention};

// Raw values are the case names.
std::string_view toString(SettingStatus status);
std::optional<SettingStatus> settingStatusFromString(std::string_view raw);

// One explained setting, written in the report's language.
struct SettingFinding {
  // The pmset key, or "preventers" for the live sleep-preventers row.
  std::string key;
  std::string title;
  // What the user reads as the setting's value ("On (battery)", "3", ...).
  std::string value;
  SettingStatus status = SettingStatus::fine;
  // What the setting does.
  std::string summary;
  // What turning it off costs; absent for several keys.
  std::optional<std::string> tradeOff;

  bool operator==(const SettingFinding&) const = default;
};

}  // namespace snoozlet
