#pragma once

#include "analysis/Baseline.h"
#include "analysis/Mood.h"
#include "analysis/NightReport.h"

#include <optional>
#include <utility>
#include <vector>

namespace snoozlet::MoodRules {

// Judges drain, time awake, a culprit app and sleep failures; the night's
// mood is the worst level found, with one reason per aspect above
// `soundAsleep`, in that order. The baseline counts only when reliable.
std::pair<Mood, std::vector<MoodReason>> evaluate(const NightReport& report, const std::optional<Baseline>& baseline);

}  // namespace snoozlet::MoodRules
