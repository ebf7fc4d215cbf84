#include "settings/Fix.h"

#include "settings/FixCatalog.h"

namespace snoozlet {

std::string_view toString(FixID id) {
  switch (id) {
    case FixID::tcpKeepAliveOff: return "tcpKeepAliveOff";
    case FixID::powerNapOff: return "powerNapOff";
    case FixID::wakeForNetworkOff: return "wakeForNetworkOff";
    case FixID::proximityWakeOff: return "proximityWakeOff";
    case FixID::remoteSessionAwakeOff: return "remoteSessionAwakeOff";
    case FixID::lowPowerModeOn: return "lowPowerModeOn";
  }
  return "tcpKeepAliveOff";
}

std::optional<FixID> fixIDFromString(std::string_view raw) {
  for (FixID id : kAllFixIDs) {
    if (toString(id) == raw) return id;
  }
  return std::nullopt;
}

std::string_view toString(PowerScope scope) {
  switch (scope) {
    case PowerScope::battery: return "-b";
    case PowerScope::charger: return "-c";
    case PowerScope::all: return "-a";
  }
  return "-b";
}

std::optional<PowerScope> powerScopeFromString(std::string_view raw) {
  for (PowerScope scope : kAllPowerScopes) {
    if (toString(scope) == raw) return scope;
  }
  return std::nullopt;
}

std::string_view toString(Fix::Risk risk) { return risk == Fix::Risk::notable ? "notable" : "low"; }

std::optional<Fix::Risk> fixRiskFromString(std::string_view raw) {
  if (raw == "low") return Fix::Risk::low;
  if (raw == "notable") return Fix::Risk::notable;
  return std::nullopt;
}

std::string Fix::title(Language language) const { return FixCatalog::title(id, language); }
std::string Fix::whatChanges(Language language) const { return FixCatalog::whatChanges(id, language); }
std::string Fix::giveUp(Language language) const { return FixCatalog::giveUp(id, language); }

}  // namespace snoozlet
