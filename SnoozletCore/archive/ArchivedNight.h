#pragma once

// One night as the night archive reads it back: the summary of a closed sleep
// session that outlives the operating system's week-long power log.

#include "analysis/Baseline.h"
#include "analysis/Mood.h"
#include "analysis/NightReport.h"
#include "common/Instant.h"
#include "sessions/WakeCategory.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>

namespace snoozlet {

struct ArchivedNight {
  // Start of the sleep session; identifies the night.
  Instant start = 0;
  Instant end = 0;
  SleepKind kind = SleepKind::night;
  Mood mood = Mood::soundAsleep;
  int darkWakes = 0;
  // Seconds spent awake in dark wakes.
  double awakeSeconds = 0;
  // Battery percent at the night's first and last readings.
  std::optional<int> batteryFirst;
  std::optional<int> batteryLast;
  // Battery points lost on battery power.
  std::optional<int> drop;
  // Hours covered by readings on battery power.
  double batteryHours = 0;
  // Battery points lost per hour.
  std::optional<double> perHour;
  // Category of the night's largest reason group.
  std::optional<WakeCategory> topCategory;
  // Process of the night's culprit holder.
  std::optional<std::string> culprit;
  // Dark wakes per category.
  std::map<WakeCategory, int> reasons;

  // end − start, in seconds.
  double duration() const { return end - start; }
  // Share of the night spent awake; 0 when the duration is not above 0.
  double awakeFraction() const;
  // Only nights (not naps) with a measured drain over at least 2.0 hours on battery.
  std::optional<BaselineSample> baselineSample() const;

  // The night as the archive stores a report.
  static ArchivedNight from(const NightReport& report);

  bool operator==(const ArchivedNight&) const = default;
};

}  // namespace snoozlet

template <>
struct std::hash<snoozlet::ArchivedNight> {
  std::size_t operator()(const snoozlet::ArchivedNight& night) const noexcept;
};
