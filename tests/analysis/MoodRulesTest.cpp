#include "analysis/MoodRules.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

using enum Mood;
constexpr double kNight = 8 * 3600;

// An eight-hour night: drain per hour, fraction awake, seconds an app held sleep off.
NightReport night(std::optional<double> perHour, double awake = 0, double held = 0) {
  NightReport r;
  r.session.end = kNight;
  r.battery.perHour = perHour;
  r.awakeSeconds = awake * kNight;
  if (held > 0) r.holders = {{"Renderer", "PreventSystemSleep", "r", 1, held, HolderOrigin::app}};
  return r;
}

TEST(MoodRulesTest, EachJudgeAtItsBoundaries) {
  struct Row {
    std::optional<double> perHour;
    double awake, held;
    std::optional<Baseline> baseline;
    Mood mood;
  };
  const Baseline two{2.0, 0, 2}, normal{0.5, 0.02, 5}, low{0.05, 0.02, 5}, quarter{0.25, 0.02, 5},
      high{2.0, 0.02, 5}, higher{4.0, 0.02, 5}, wakeful{1, 0.08, 3};
  const Row rows[] = {
      // Drain alone (two nights are no baseline): restless from 1.2, sleepless from 2.5 points an hour.
      {{}, 0, 0, {}, soundAsleep}, {1.19, 0, 0, {}, soundAsleep}, {1.2, 0, 0, {}, restless},
      {2.49, 0, 0, {}, restless}, {2.5, 0, 0, {}, sleepless}, {1.2, 0, 0, two, restless},
      // Against the normal: restless at twice it and 0.5 more, sleepless at four times and 1.0 more;
      // the normal counts as at least 0.15.
      {1.0, 0, 0, normal, restless}, {0.99, 0, 0, normal, soundAsleep}, {2.0, 0, 0, normal, sleepless},
      {1.99, 0, 0, normal, restless}, {0.7, 0, 0, low, restless}, {0.54, 0, 0, low, soundAsleep},
      {1.0, 0, 0, quarter, restless},
      // Absolute floors: at least restless from 3, sleepless from 5.
      {3.0, 0, 0, high, restless}, {2.99, 0, 0, high, soundAsleep}, {5.0, 0, 0, higher, sleepless},
      {4.99, 0, 0, higher, restless},
      // Awake alone: 0.12 and 0.25; against the normal 2.5× and 5× it, at least 0.1 and 0.25.
      {{}, 0.119, 0, {}, soundAsleep}, {{}, 0.12, 0, {}, restless}, {{}, 0.249, 0, {}, restless},
      {{}, 0.25, 0, {}, sleepless}, {{}, 0.1, 0, normal, restless}, {{}, 0.099, 0, normal, soundAsleep},
      {{}, 0.249, 0, normal, restless}, {{}, 0.25, 0, normal, sleepless}, {{}, 0.19, 0, wakeful, soundAsleep},
      {{}, 0.2, 0, wakeful, restless}, {{}, 0.39, 0, wakeful, restless}, {{}, 0.4, 0, wakeful, sleepless},
      // An app holding sleep off: 15 minutes and two hours.
      {{}, 0, 899, {}, soundAsleep}, {{}, 0, 900, {}, restless}, {{}, 0, 7199, {}, restless},
      {{}, 0, 7200, {}, sleepless},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    EXPECT_EQ(MoodRules::evaluate(night(row.perHour, row.awake, row.held), row.baseline).first, row.mood)
        << "row " << i;
  }
  // An empty session has no awake fraction.
  NightReport empty = night({}, 1);
  empty.session.end = empty.session.start;
  EXPECT_EQ(MoodRules::evaluate(empty, std::nullopt), (std::pair<Mood, std::vector<MoodReason>>{}));
}

TEST(MoodRulesTest, WorstJudgeWinsAndEachGivesItsReasonInOrder) {
  NightReport r = night(2.0, 0.3, 899);
  r.ratio = 1.1;
  auto [mood, reasons] = MoodRules::evaluate(r, std::nullopt);
  EXPECT_EQ(mood, sleepless);
  EXPECT_EQ(reasons, (std::vector<MoodReason>{MoodReason::drain(2.0, 1.1), MoodReason::awake(0.3)}));

  NightReport quiet = night(0.1, 0, 1000);
  quiet.session.failures = {{100, "Sleep Failure"}};
  std::tie(mood, reasons) = MoodRules::evaluate(quiet, std::nullopt);
  EXPECT_EQ(mood, sleepless);  // one failure is enough
  EXPECT_EQ(reasons, (std::vector<MoodReason>{MoodReason::culprit("Renderer", 1000), MoodReason::failure(1)}));
}

}  // namespace
}  // namespace snoozlet
