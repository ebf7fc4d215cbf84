#pragma once

// Small nights for the presentation tests: a session from 23:00 UTC on
// Saturday 5 December 2026, built up by the test and analysed as a report.

#include "analysis/NightAnalyzer.h"
#include "archive/ArchivedNight.h"
#include "narration/NightFormat.h"

namespace snoozlet::testing {

inline const NightFormat kEnglish(Language::english, TimeZone::utc());
inline const NightFormat kTurkish(Language::turkish, TimeZone::utc());

inline constexpr Instant kNightStart = 1796511600;  // Sat 5 Dec 2026 23:00 UTC

inline SleepSession session(double hours) {
  return {.start = kNightStart, .end = kNightStart + hours * 3600,
          .ending = SessionEnd::fullWake(WakeReason("EC.LidOpen (User)")), .sleepReason = "Clamshell Sleep"};
}

inline DarkWakeEvent wake(double minutesIn, std::optional<double> seconds, const std::string& reason = "RTC (Alarm)") {
  return {.date = kNightStart + minutesIn * 60, .duration = seconds, .reason = WakeReason(reason)};
}

inline BatteryPoint reading(double minutesIn, int percent, bool onAC = false) {
  return BatteryPoint{kNightStart + minutesIn * 60, percent, onAC};
}

inline NightReport report(const SleepSession& s) { return NightAnalyzer::report(s, SleepKind::night); }

// An archived eight-hour night with 12 dark wakes and 10 minutes awake.
inline ArchivedNight archived(std::optional<int> drop, double hours, std::optional<double> perHour) {
  return {.start = kNightStart, .end = kNightStart + 8 * 3600, .darkWakes = 12, .awakeSeconds = 600, .drop = drop,
          .batteryHours = hours, .perHour = perHour};
}

}  // namespace snoozlet::testing
