#pragma once

#include <vector>

#include "sessions/Language.h"
#include "settings/PowerSettings.h"
#include "settings/SettingFinding.h"

namespace snoozlet::SettingsReport {

// Explains the settings that matter for night-time sleep, in a fixed order:
// live sleep preventers, powernap, tcpkeepalive, womp, proximitywake,
// ttyskeepawake, hibernatemode, lowpowermode and, when it is off, sleep.
// Values come from the battery profile when there is one, else from the
// settings in force; a key found in neither gives no row. The AC profile is
// not consulted.
std::vector<SettingFinding> findings(const PowerSettings& settings, Language language);

}  // namespace snoozlet::SettingsReport
