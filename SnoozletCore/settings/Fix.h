#pragma once

// The fixes Snoozlet can apply: each one a known, reversible pmset change.

#include <optional>
#include <string>
#include <string_view>

#include "sessions/Language.h"

namespace snoozlet {

// Which fix. Raw values are the case names; they are what the journal stores.
enum class FixID {
  tcpKeepAliveOff,
  powerNapOff,
  wakeForNetworkOff,
  proximityWakeOff,
  remoteSessionAwakeOff,
  lowPowerModeOn,
};

inline constexpr FixID kAllFixIDs[] = {FixID::tcpKeepAliveOff,  FixID::powerNapOff,           FixID::wakeForNetworkOff,
                                       FixID::proximityWakeOff, FixID::remoteSessionAwakeOff, FixID::lowPowerModeOn};

std::string_view toString(FixID id);
std::optional<FixID> fixIDFromString(std::string_view raw);

// The pmset profile a change acts on; the raw value is pmset's own flag.
enum class PowerScope { battery, charger, all };

inline constexpr PowerScope kAllPowerScopes[] = {PowerScope::battery, PowerScope::charger, PowerScope::all};

// "-b", "-c" or "-a".
std::string_view toString(PowerScope scope);
std::optional<PowerScope> powerScopeFromString(std::string_view raw);

// One catalogue fix: set `key` to `target` in the `scope` profile.
struct Fix {
  // How much the user gives up; raw values "low" and "notable".
  enum class Risk { low, notable };

  FixID id = FixID::tcpKeepAliveOff;
  std::string key;
  std::string target;
  PowerScope scope = PowerScope::battery;
  Risk risk = Risk::low;

  bool operator==(const Fix&) const = default;

  // The catalogue texts of this fix (see FixCatalog).
  std::string title(Language language) const;
  std::string whatChanges(Language language) const;
  std::string giveUp(Language language) const;
};

std::string_view toString(Fix::Risk risk);
std::optional<Fix::Risk> fixRiskFromString(std::string_view raw);

}  // namespace snoozlet
