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
  SleepSession s;
  s.start = kNightStart;
  s.end = kNightStart + hours * 3600;
  s.sleepReason = "Clamshell Sleep";
  s.ending = SessionEnd::fullWake(WakeReason("EC.LidOpen (User)"));
  return s;
}

inline DarkWakeEvent wake(double minutesIn, std::optional<double> seconds, const std::string& reason = "RTC (Alarm)") {
  DarkWakeEvent w;
  w.date = kNightStart + minutesIn * 60;
  w.duration = seconds;
  w.reason = WakeReason(reason);
  return w;
}

inline BatteryPoint reading(double minutesIn, int percent, bool onAC = false) {
  return BatteryPoint{kNightStart + minutesIn * 60, percent, onAC};
}

inline NightReport report(const SleepSession& s) { return NightAnalyzer::report(s, SleepKind::night); }

// An archived eight-hour night with 12 dark wakes and 10 minutes awake.
inline ArchivedNight archived(std::optional<int> drop, double hours, std::optional<double> perHour) {
  ArchivedNight n;
  n.start = kNightStart;
  n.end = n.start + 8 * 3600;
  n.darkWakes = 12;
  n.awakeSeconds = 600;
  n.drop = drop;
  n.batteryHours = hours;
  n.perHour = perHour;
  return n;
}

}  // namespace snoozlet::testing
