#include "analysis/MoodRules.h"

#include <algorithm>

namespace snoozlet::MoodRules {

namespace {

Mood drainLevel(double p, const Baseline* reliable) {
  Mood level = Mood::soundAsleep;
  if (reliable != nullptr) {
    const double r = p / std::max(reliable->percentPerHour, 0.15);
    const double d = p - reliable->percentPerHour;
    if (r >= 4.0 && d >= 1.0) {
      level = Mood::sleepless;
    } else if (r >= 2.0 && d >= 0.5) {
      level = Mood::restless;
    }
  } else if (p >= 2.5) {
    level = Mood::sleepless;
  } else if (p >= 1.2) {
    level = Mood::restless;
  }
  // Absolute floors, whatever the baseline says.
  if (p >= 5.0) return Mood::sleepless;
  if (p >= 3.0) return std::max(level, Mood::restless);
  return level;
}

Mood awakeLevel(double f, const Baseline* reliable) {
  const double a = reliable != nullptr ? reliable->awakeFraction : 0;
  const double sleeplessAt = reliable != nullptr ? std::max(5 * a, 0.25) : 0.25;
  const double restlessAt = reliable != nullptr ? std::max(2.5 * a, 0.1) : 0.12;
  if (f >= sleeplessAt) return Mood::sleepless;
  if (f >= restlessAt) return Mood::restless;
  return Mood::soundAsleep;
}

Mood culpritLevel(double seconds) {
  if (seconds >= 7200) return Mood::sleepless;
  if (seconds >= 900) return Mood::restless;
  return Mood::soundAsleep;
}

}  // namespace

std::pair<Mood, std::vector<MoodReason>> evaluate(const NightReport& report, const std::optional<Baseline>& baseline) {
  const Baseline* reliable = baseline && baseline->isReliable() ? &*baseline : nullptr;
  Mood mood = Mood::soundAsleep;
  std::vector<MoodReason> reasons;
  auto judge = [&](Mood level, auto makeReason) {
    if (level == Mood::soundAsleep) return;
    mood = std::max(mood, level);
    reasons.push_back(makeReason());
  };

  if (const auto p = report.battery.perHour) {
    judge(drainLevel(*p, reliable), [&] { return MoodReason::drain(*p, report.ratio); });
  }
  const double duration = report.duration();
  const double f = duration > 0 ? report.awakeSeconds / duration : 0;
  judge(awakeLevel(f, reliable), [&] { return MoodReason::awake(f); });
  if (const auto culprit = report.culprit()) {
    judge(culpritLevel(culprit->heldSeconds),
          [&] { return MoodReason::culprit(culprit->process, culprit->heldSeconds); });
  }
  const int failures = static_cast<int>(report.session.failures.size());
  if (failures >= 1) judge(Mood::sleepless, [&] { return MoodReason::failure(failures); });
  return {mood, std::move(reasons)};
}

}  // namespace snoozlet::MoodRules
