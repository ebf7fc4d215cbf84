#include "settings/SystemFix.h"

namespace snoozlet {

namespace {

constexpr std::string_view kWakeupPrefix = "wakeupOff:";

}  // namespace

std::string_view toString(SystemFix::Kind kind) {
  return kind == SystemFix::Kind::wakeupOff ? "wakeupOff" : "deepSleep";
}

std::optional<SystemFix::Kind> systemFixKindFromString(std::string_view raw) {
  if (raw == "deepSleep") return SystemFix::Kind::deepSleep;
  if (raw == "wakeupOff") return SystemFix::Kind::wakeupOff;
  return std::nullopt;
}

std::string SystemFix::id() const {
  return kind == Kind::wakeupOff ? std::string(kWakeupPrefix) + device : std::string("deepSleep");
}

std::optional<SystemFix> SystemFix::fromId(std::string_view id) {
  if (id == "deepSleep") return SystemFix{Kind::deepSleep, {}};
  if (id.substr(0, kWakeupPrefix.size()) == kWakeupPrefix && id.size() > kWakeupPrefix.size()) {
    return SystemFix{Kind::wakeupOff, std::string(id.substr(kWakeupPrefix.size()))};
  }
  return std::nullopt;
}

}  // namespace snoozlet
