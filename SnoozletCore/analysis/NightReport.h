#pragma once

// A night report: one sleep session analysed. What kind of sleep it was, how
// the battery behaved on battery power, the dark wakes grouped by category,
// the scheduled-wake requesters, and (filled in by the mood rules) the mood,
// its reasons and the drain relative to this Mac's normal.

#include "analysis/Baseline.h"
#include "analysis/Mood.h"
#include "journal/KernelCounts.h"
#include "sessions/Language.h"
#include "sessions/SleepSession.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet {

enum class SleepKind { night, daytimeNap };

// Raw values "night" and "daytimeNap".
std::string_view toString(SleepKind kind);
std::optional<SleepKind> sleepKindFromString(std::string_view raw);

namespace sleep_kind {
// "Night" / "Gece", "Daytime nap" / "Gündüz uykusu".
std::string_view title(SleepKind kind, Language language);
}  // namespace sleep_kind

// How the battery behaved during a session, counting only time on battery.
struct BatteryTrend {
  std::optional<BatteryPoint> first;
  std::optional<BatteryPoint> last;
  // Points lost on battery; absent when no time on battery was measured.
  std::optional<int> drop;
  double batteryHours = 0;
  // Points per hour; absent below one hour on battery.
  std::optional<double> perHour;
  // Some reading was on AC power.
  bool sawCharger = false;

  BatteryTrend() = default;
  // From a session's readings in log order.
  explicit BatteryTrend(const std::vector<BatteryPoint>& points);

  bool operator==(const BatteryTrend&) const = default;
};

// The dark wakes of one category.
struct ReasonGroup {
  WakeCategory category = WakeCategory::unknown;
  int count = 0;
  double awakeSeconds = 0;
  // Dates of the wakes, in session order.
  std::vector<Instant> times;
  // Distinct raw reasons, most frequent first.
  std::vector<std::string> rawExamples;
  bool operator==(const ReasonGroup&) const = default;
};

// The dark wakes explained by one program's scheduled activity.
struct RequesterGroup {
  std::string process;
  std::string activity;
  int count = 0;
  // "process|activity".
  std::string id() const { return process + "|" + activity; }
  bool operator==(const RequesterGroup&) const = default;
};

struct NightReport {
  SleepSession session;
  SleepKind kind = SleepKind::night;
  BatteryTrend battery;
  int darkWakeCount = 0;
  double awakeSeconds = 0;
  // Most wakes first, then most awake time.
  std::vector<ReasonGroup> groups;
  // Most wakes first, then by activity.
  std::vector<RequesterGroup> requesters;
  std::vector<HolderGroup> holders;
  // The full wake that ended the session; absent for shutdown or ongoing.
  std::optional<WakeReason> wokeBy;
  Mood mood = Mood::soundAsleep;
  std::vector<MoodReason> moodReasons;
  // Drain per hour relative to the baseline.
  std::optional<double> ratio;
  // On a Linux laptop, the kernel's counts around each sleep of the session
  // that the tray application read (none where it was not running), oldest
  // first.
  std::vector<SleepCounts> kernelSleeps;

  Instant start() const { return session.start; }
  Instant end() const { return session.end; }
  double duration() const { return session.end - session.start; }
  // A report is identified by its start.
  Instant id() const { return session.start; }
  // Share of the session spent in dark wakes (0 for an empty session).
  double awakeFraction() const;
  double darkWakesPerHour() const;
  // The largest group.
  const ReasonGroup* topGroup() const { return groups.empty() ? nullptr : &groups.front(); }
  const ReasonGroup* group(WakeCategory category) const;
  // Only nights with at least two hours on battery and a measured drain.
  std::optional<BaselineSample> baselineSample() const;
  // Command-line tools the user started that held sleep off ten minutes or more.
  std::vector<HolderGroup> userRequested() const;
  // The app that held "PreventSystemSleep" longest (at least ten minutes);
  // macOS and the user's own tools are never the culprit.
  std::optional<HolderGroup> culprit() const;

  bool operator==(const NightReport&) const = default;
};

}  // namespace snoozlet
