#include "analysis/MoodRules.h"
#include "analysis/NightAnalyzer.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

std::vector<BaselineSample> samples(std::initializer_list<double> perHour) {
  std::vector<BaselineSample> out;
  double start = 0;
  for (double p : perHour) out.push_back({start += 86400, p, 0.02});
  return out;
}

TEST(BaselineTest, MedianWindowAndReplacement) {
  EXPECT_FALSE(Baseline::from({}));
  EXPECT_EQ(Baseline::from(samples({1.0, 3.0, 2.0}))->percentPerHour, 2.0);
  EXPECT_EQ(Baseline::from(samples({1.0, 3.0, 2.0, 10.0}))->percentPerHour, 2.5);

  std::vector<BaselineSample> many;
  for (int i = 0; i < 35; ++i) many.push_back({i * 86400.0, i < 5 ? 100.0 : 1.0, 0});
  const auto b = Baseline::from(many);
  EXPECT_EQ(b->nights, 30);
  EXPECT_EQ(b->percentPerHour, 1.0);  // the five oldest (100 each) are outside the window

  // The later sample of the same night replaces the stored one.
  const auto replaced = Baseline::from({{1, 9.0, 0}, {2, 1.0, 0}, {1, 3.0, 0}});
  EXPECT_EQ(replaced->nights, 2);
  EXPECT_EQ(replaced->percentPerHour, 2.0);

  EXPECT_FALSE(Baseline::from(samples({1, 2}))->isReliable());
  EXPECT_TRUE(Baseline::from(samples({1, 2, 3}))->isReliable());
  EXPECT_DOUBLE_EQ((Baseline{0.05, 0, 3}.ratio(0.3)), 2.0);  // never divides by less than 0.15

  const nlohmann::json json = BaselineSample{1.5, 2.5, 0.25};
  EXPECT_EQ(json.dump(), R"({"awakeFraction":0.25,"perHour":2.5,"start":1.5})");
  EXPECT_EQ(json.get<BaselineSample>(), (BaselineSample{1.5, 2.5, 0.25}));
}

NightReport night(std::optional<double> perHour, double awakeSeconds = 0) {
  NightReport r;
  r.session.start = 0;
  r.session.end = 8 * 3600;
  r.battery.perHour = perHour;
  r.awakeSeconds = awakeSeconds;
  return r;
}

Mood moodOf(const NightReport& r, std::optional<Baseline> b = std::nullopt) { return MoodRules::evaluate(r, b).first; }

TEST(MoodRulesTest, DrainThresholds) {
  // Without a reliable baseline: absolute thresholds.
  EXPECT_EQ(moodOf(night(1.19)), Mood::soundAsleep);
  EXPECT_TRUE(MoodRules::evaluate(night(1.19), std::nullopt).second.empty());
  EXPECT_EQ(moodOf(night(1.2)), Mood::restless);
  EXPECT_EQ(moodOf(night(2.5)), Mood::sleepless);
  EXPECT_EQ(moodOf(night(2.5), Baseline{0.5, 0, 2}), Mood::sleepless);  // two nights: not reliable
  EXPECT_EQ(moodOf(night(std::nullopt)), Mood::soundAsleep);

  const Baseline reliable{0.5, 0.02, 5};
  EXPECT_EQ(moodOf(night(1.0), reliable), Mood::restless);   // r 2.0, d 0.5
  EXPECT_EQ(moodOf(night(0.99), reliable), Mood::soundAsleep);
  EXPECT_EQ(moodOf(night(2.0), reliable), Mood::sleepless);  // r 4.0, d 1.5
  EXPECT_EQ(moodOf(night(0.7), Baseline{0.05, 0.02, 5}), Mood::restless);  // r ≈ 4.7 but d 0.65
  EXPECT_EQ(moodOf(night(3.0), Baseline{2.0, 0.02, 5}), Mood::restless);   // absolute floor
  EXPECT_EQ(moodOf(night(2.99), Baseline{2.0, 0.02, 5}), Mood::soundAsleep);
  EXPECT_EQ(moodOf(night(5.0), Baseline{4.0, 0.02, 5}), Mood::sleepless);

  NightReport r = night(1.5);
  r.ratio = 3.0;
  EXPECT_EQ(MoodRules::evaluate(r, reliable).second, (std::vector<MoodReason>{MoodReason::drain(1.5, 3.0)}));
}

TEST(MoodRulesTest, AwakeThresholds) {
  const double hour8 = 8 * 3600;
  EXPECT_EQ(moodOf(night(std::nullopt, 0.119 * hour8)), Mood::soundAsleep);
  EXPECT_EQ(moodOf(night(std::nullopt, 0.12 * hour8)), Mood::restless);
  EXPECT_EQ(moodOf(night(std::nullopt, 0.25 * hour8)), Mood::sleepless);
  // A = 0.02: the floors 0.1 and 0.25 apply.
  EXPECT_EQ(moodOf(night(std::nullopt, 0.1 * hour8), Baseline{1, 0.02, 3}), Mood::restless);
  EXPECT_EQ(moodOf(night(std::nullopt, 0.099 * hour8), Baseline{1, 0.02, 3}), Mood::soundAsleep);
  // A = 0.08: 0.2 and 0.4.
  EXPECT_EQ(moodOf(night(std::nullopt, 0.19 * hour8), Baseline{1, 0.08, 3}), Mood::soundAsleep);
  EXPECT_EQ(moodOf(night(std::nullopt, 0.2 * hour8), Baseline{1, 0.08, 3}), Mood::restless);
  EXPECT_EQ(moodOf(night(std::nullopt, 0.4 * hour8), Baseline{1, 0.08, 3}), Mood::sleepless);
  NightReport empty = night(std::nullopt, 100);
  empty.session.end = empty.session.start;
  EXPECT_EQ(moodOf(empty), Mood::soundAsleep);
}

TEST(MoodRulesTest, CulpritAndFailuresComeLastInOrder) {
  NightReport r = night(2.0, 0.3 * 8 * 3600);
  r.holders = {{"Renderer", "PreventSystemSleep", "r", 1, 899, HolderOrigin::app}};
  r.ratio = 1.1;
  auto [mood, reasons] = MoodRules::evaluate(r, std::nullopt);
  EXPECT_EQ(mood, Mood::sleepless);
  EXPECT_EQ(reasons, (std::vector<MoodReason>{MoodReason::drain(2.0, 1.1), MoodReason::awake(0.3)}));

  NightReport quiet = night(0.1);
  quiet.holders = {{"Renderer", "PreventSystemSleep", "r", 1, 900, HolderOrigin::app}};
  EXPECT_EQ(moodOf(quiet), Mood::restless);
  quiet.holders[0].heldSeconds = 7200;
  EXPECT_EQ(moodOf(quiet), Mood::sleepless);
  quiet.holders.clear();
  quiet.session.failures = {{100, "Sleep Failure"}};
  std::tie(mood, reasons) = MoodRules::evaluate(quiet, std::nullopt);
  EXPECT_EQ(mood, Mood::sleepless);
  EXPECT_EQ(reasons, (std::vector<MoodReason>{MoodReason::failure(1)}));

  quiet.holders = {{"Renderer", "PreventSystemSleep", "r", 1, 1000, HolderOrigin::app}};
  reasons = MoodRules::evaluate(quiet, std::nullopt).second;
  ASSERT_EQ(reasons.size(), 2u);
  EXPECT_EQ(reasons[0], MoodReason::culprit("Renderer", 1000));
  EXPECT_EQ(reasons[1].caseName(), "failure");
}

SleepSession sessionAt(Instant start, double hours, double drainPerHour) {
  SleepSession s;
  s.start = start;
  s.end = start + hours * 3600;
  s.ending = SessionEnd::fullWake(WakeReason("lid"));
  s.battery = {{s.start, 90, false}, {s.end, 90 - static_cast<int>(drainPerHour * hours), false}};
  return s;
}

TEST(NightAnalyzerTest, AnalyzeKeepsLongCompleteSessionsAndJudgesThem) {
  const TimeZone utc = TimeZone::utc();
  const Instant day = 1710028800;  // 2024-03-10 00:00 UTC
  SleepSession tooShort = sessionAt(day - 86400 * 3, 7199.0 / 3600, 0);
  SleepSession partial = sessionAt(day - 86400 * 2 - 3600, 8, 1);
  partial.isPartial = true;
  SleepSession exact = sessionAt(day - 86400 * 2 + 3600, 2, 1);  // 01:00–03:00: exactly the minimum
  SleepSession first = sessionAt(day - 86400 - 3600, 8, 1);
  SleepSession nap = sessionAt(day + 12 * 3600, 3, 1);
  SleepSession last = sessionAt(day + 23 * 3600, 8, 4);
  SleepSession ongoing = sessionAt(day + 2 * 86400, 8, 1);
  ongoing.ending = SessionEnd::ongoing();

  const auto history = samples({1, 1, 1});
  const auto analysis = NightAnalyzer::analyze({tooShort, partial, exact, first, nap, last, ongoing}, utc, history,
                                               NightAnalyzer::minimumNight);
  ASSERT_EQ(analysis.reports.size(), 5u);
  EXPECT_EQ(analysis.reports[0].start(), exact.start);
  EXPECT_EQ(analysis.nights().size(), 4u);
  ASSERT_EQ(analysis.naps().size(), 1u);
  EXPECT_EQ(analysis.naps()[0].start(), nap.start);
  EXPECT_EQ(analysis.lastNight()->start(), ongoing.start);
  EXPECT_EQ(analysis.coveredFrom, tooShort.start);
  EXPECT_EQ(analysis.coveredTo, ongoing.end);
  // History 1,1,1 plus new nights: first (1/h), last (4/h), ongoing (1/h); the
  // exact session has 2 h on battery too (1/h). Median 1.0 over seven samples.
  ASSERT_TRUE(analysis.baseline);
  EXPECT_EQ(analysis.baseline->nights, 7);
  EXPECT_EQ(analysis.baseline->percentPerHour, 1.0);
  const NightReport& judged = analysis.reports[3];
  ASSERT_EQ(judged.start(), last.start);
  EXPECT_DOUBLE_EQ(*judged.ratio, 4.0);
  EXPECT_EQ(judged.mood, Mood::sleepless);  // r 4.0 and d 3.0 against a reliable baseline
}

}  // namespace
}  // namespace snoozlet
