#include "settings/SettingFinding.h"

namespace snoozlet {

std::string_view toString(SettingStatus status) {
  switch (status) {
    case SettingStatus::fine: return "fine";
    case SettingStatus::info: return "info";
    case SettingStatus::consider: return "consider";
    case SettingStatus::attention: return "attention";
  }
  return "fine";
}

std::optional<SettingStatus> settingStatusFromString(std::string_view raw) {
  for (SettingStatus status : kAllSettingStatuses) {
    if (toString(status) == raw) return status;
  }
  return std::nullopt;
}

}  // namespace snoozlet
