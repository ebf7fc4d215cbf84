#pragma once

// What the welcome window shows as examples, decided once: a real night's
// ribbon (the demonstration night of 24 October 2026, 23:31 in the given
// zone, 8 hours, the battery from 64 to 55, Wi-Fi, background and
// maintenance wakes, analysed as any log is) with its battery caption, and
// the review block of a fix (turning Power Nap off on battery).

#include "analysis/NightReport.h"
#include "common/TimeZone.h"
#include "narration/NightFormat.h"
#include "presentation/SettingsRows.h"

#include <optional>
#include <string>

namespace snoozlet::presentation {

// The sample night; nothing should the analysis find no night in it.
std::optional<NightReport> welcomeNight(const TimeZone& zone);
// "−9 battery points · 1.1 an hour".
std::string welcomeNightCaption(const NightReport& night, const NightFormat& format);
// The sample fix as the review shows it.
ReviewBlock welcomeFix(Language language);

}  // namespace snoozlet::presentation
