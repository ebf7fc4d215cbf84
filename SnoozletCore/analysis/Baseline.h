#pragma once

// This Mac's normal: the median drain per hour and the median fraction of
// the night awake over its most recent nights.

#include "common/Instant.h"

#include <optional>
#include <vector>

namespace snoozlet {

// One night's contribution to the baseline; identified by its start.
struct BaselineSample {
  Instant start = 0;
  double perHour = 0;
  double awakeFraction = 0;
  bool operator==(const BaselineSample&) const = default;
};

struct Baseline {
  // Samples used at most.
  static constexpr int window = 30;

  double percentPerHour = 0;
  double awakeFraction = 0;
  // Samples used, at most `window`.
  int nights = 0;

  // Three nights or more.
  bool isReliable() const { return nights > 2; }
  // A drain per hour relative to the normal (never dividing by less than 0.15).
  double ratio(double perHour) const;

  // The newest `window` samples by start (a later sample with the same start
  // replaces an earlier one); nothing without samples.
  static std::optional<Baseline> from(const std::vector<BaselineSample>& samples);

  bool operator==(const Baseline&) const = default;
};

}  // namespace snoozlet
