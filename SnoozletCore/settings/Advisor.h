#pragma once

// The advisor: for one analysed night, what the user could do about it. A
// fixed rule table over the night report, the current power settings and the
// fix catalogue: quit the app that held sleep off, change a setting behind the
// night's network or background wakes, notice a command-line tool that kept
// the Mac up, or look at a logged sleep failure.

#include <optional>
#include <vector>

#include "analysis/NightReport.h"
#include "common/NightSource.h"
#include "narration/NightFormat.h"
#include "settings/PowerCapabilities.h"
#include "settings/PowerSettings.h"
#include "settings/Suggestion.h"
#include "settings/SystemSettings.h"

namespace snoozlet::Advisor {

// The night's suggestions, in this order: the culprit app, the setting fixes
// (network: wake for network, proximity wake, TCP keepalive; then Power Nap
// for background wakes; only on a night worse than sound asleep), user tools
// held ten minutes or more, and a logged sleep failure. A fix is offered only
// when it could still change something on this Mac, so no fix is suggested
// while the settings or the capabilities are unknown. Texts and durations are
// written in the format's language; a Linux laptop's failure (the journal
// source) is told in its own words.
//
// On a Linux laptop whose settings are known, the setting fixes come from
// the kernel's counts of the night instead (again only on a night worse than
// sound asleep): keeping each device that woke it twice or more from waking
// it (never one the laptop needs to be woken by), then deep sleep when the
// laptop spent less than half of the night's s2idle sleep in hardware sleep
// and the kernel offers deep sleep.
std::vector<Suggestion> suggestions(const NightReport& report, const std::optional<PowerSettings>& settings,
                                    const std::optional<PowerCapabilities>& capabilities, const NightFormat& format,
                                    NightSource source = NightSource::pmset, const SystemSettings* system = nullptr);

}  // namespace snoozlet::Advisor
