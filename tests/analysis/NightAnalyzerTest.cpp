#include "analysis/NightAnalyzer.h"

#include "demo/DemoLog.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

const TimeZone kIstanbul = *TimeZone::named("Europe/Istanbul");  // +03:00 all year
constexpr Instant kDay = 1710018000;                              // 2024-03-10 00:00 in Istanbul
Instant at(double hours) { return kDay + hours * 3600; }

SleepSession session(double fromHour, double toHour) {
  SleepSession s;
  s.start = at(fromHour);
  s.end = at(toHour);
  s.ending = SessionEnd::fullWake(WakeReason("EC.LidOpen"));
  return s;
}

DarkWakeEvent wake(const char* reason, std::optional<double> seconds, std::optional<WakeRequest> request = {}) {
  return {at(1), seconds, WakeReason(reason), {}, std::move(request)};
}

TEST(NightAnalyzerTest, NightOrDaytimeNap) {
  struct Case {
    double from, to;
    SleepKind kind;
  };
  const Case cases[] = {
      {-1, 7, SleepKind::night},           // midpoint 03:00
      {8, 16, SleepKind::daytimeNap},      // midpoint 12:00, no early-morning overlap
      {3.5, 19.5, SleepKind::night},       // midpoint 11:30, 90 minutes of 01:00–05:00
      {4.5, 18, SleepKind::daytimeNap},    // 30 minutes only
      {12, 15, SleepKind::daytimeNap},     // an afternoon nap
      {8.99, 9.0, SleepKind::night},       // midpoint before 09:00
      {18.9, 19.0, SleepKind::daytimeNap}, // midpoint 18:57 is still the day
      {19, 19.1, SleepKind::night},        // midpoint in hour 19
      {-20, 40, SleepKind::night},         // two days, middle at 10:00
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NightAnalyzer::kind(session(c.from, c.to), kIstanbul), c.kind) << c.from << "–" << c.to;
  }
}

TEST(NightAnalyzerTest, EarlyMorningWindowFollowsClockChanges) {
  // New York, 10 March 2024: clocks jump from 02:00 to 03:00, so that day's
  // window runs 01:00–06:00 on the wall clock (four real hours from 01:00).
  const TimeZone newYork = *TimeZone::named("America/New_York");
  const Instant midnight = 1710046800;  // 2024-03-10 00:00 EST
  SleepSession s;
  // 05:30 EDT to 21:00 EDT: midpoint 13:15; the window ends at 06:00 EDT,
  // so the overlap is 30 minutes: a nap. Without the clock change it would
  // be no overlap at all; with a naive 01:00–05:00 wall window also none.
  s.start = midnight + 4.5 * 3600;
  s.end = midnight + 20 * 3600;
  EXPECT_EQ(NightAnalyzer::kind(s, newYork), SleepKind::daytimeNap);
  // 04:00 EDT (=03:00 real hours after midnight) to 18:00 EDT: 2 h of window.
  s.start = midnight + 3 * 3600;
  s.end = midnight + 17 * 3600;
  EXPECT_EQ(NightAnalyzer::kind(s, newYork), SleepKind::night);
}

TEST(NightAnalyzerTest, BatteryTrendCountsOnlyTimeOnBattery) {
  auto at_ = [](double hours, int percent, bool ac = false) { return BatteryPoint{at(hours), percent, ac}; };
  struct Row {
    std::vector<BatteryPoint> points;
    std::optional<int> drop;
    double hours;
    std::optional<double> perHour;
    bool charger;
  };
  const Row rows[] = {
      // From a point on the charger nothing is counted, not even the rise.
      {{at_(0, 80), at_(1, 78), at_(2, 78, true), at_(3, 90), at_(3.5, 89)}, 3, 2.5, 1.2, true},
      {{at_(0, 50), at_(1, 55)}, 0, 1, 0.0, false},                // a rise is no negative drop
      {{at_(0, 50), at_(0.75, 48)}, 2, 0.75, std::nullopt, false},  // under an hour: no rate
      {{at_(0, 50, true), at_(1, 60, true)}, std::nullopt, 0, std::nullopt, true},
      {{}, std::nullopt, 0, std::nullopt, false},
  };
  for (const Row& row : rows) {
    const BatteryTrend t(row.points);
    SCOPED_TRACE(row.points.size());
    EXPECT_EQ(t.first, row.points.empty() ? std::nullopt : std::optional(row.points.front()));
    EXPECT_EQ(t.last, row.points.empty() ? std::nullopt : std::optional(row.points.back()));
    EXPECT_EQ(t.drop, row.drop);
    EXPECT_DOUBLE_EQ(t.batteryHours, row.hours);
    EXPECT_EQ(t.perHour.has_value(), row.perHour.has_value());
    if (t.perHour && row.perHour) EXPECT_DOUBLE_EQ(*t.perHour, *row.perHour);
    EXPECT_EQ(t.sawCharger, row.charger);
  }
}

TEST(NightAnalyzerTest, ReportGroupsWakesAndRequesters) {
  SleepSession s = session(-1, 7);
  const auto dasd = [](const char* info) { return WakeRequest{"dasd", "SleepService", info, {}, true}; };
  for (int i = 0; i < 3; ++i) s.darkWakes.push_back(wake("wifibt", 30));
  s.darkWakes.push_back(wake("x rtc/SleepService", 20, dasd("com.apple.dasd:501:com.apple.searchd.heartbeat")));
  s.darkWakes.push_back(wake("y rtc/SleepService", 20, dasd("com.apple.dasd:502:com.apple.searchd.heartbeat")));
  s.darkWakes.push_back(wake("y rtc/SleepService", 20, WakeRequest{"powerd", "UserWake", {}, {}, false}));
  s.darkWakes.push_back(wake("lid", std::nullopt));

  const NightReport r = NightAnalyzer::report(s, SleepKind::night);
  EXPECT_EQ(r.darkWakeCount, 7);
  EXPECT_EQ(r.awakeSeconds, 150);
  ASSERT_EQ(r.groups.size(), 3u);
  EXPECT_EQ(r.groups[0].category, WakeCategory::network);  // same count, more awake time
  EXPECT_EQ(r.groups[1].category, WakeCategory::backgroundTask);
  EXPECT_EQ(r.groups[1].rawExamples, (std::vector<std::string>{"y rtc/SleepService", "x rtc/SleepService"}));
  EXPECT_EQ(r.groups[2].awakeSeconds, 0);
  EXPECT_EQ(r.topGroup()->category, WakeCategory::network);
  EXPECT_EQ(r.group(WakeCategory::lid)->count, 1);
  EXPECT_EQ(r.group(WakeCategory::usb), nullptr);
  ASSERT_EQ(r.requesters.size(), 2u);
  EXPECT_EQ(r.requesters[0], (RequesterGroup{"dasd", "com.apple.searchd.heartbeat", 2}));
  EXPECT_EQ(r.requesters[1], (RequesterGroup{"powerd", "UserWake", 1}));
  EXPECT_EQ(r.wokeBy, WakeReason("EC.LidOpen"));
  EXPECT_EQ(r.mood, Mood::soundAsleep);
  EXPECT_FALSE(r.ratio);
  EXPECT_NEAR(r.awakeFraction(), 150.0 / (8 * 3600), 1e-12);
  EXPECT_NEAR(r.darkWakesPerHour(), 7.0 / 8, 1e-12);
}

TEST(NightAnalyzerTest, CulpritAndUserRequestedHolders) {
  SleepSession s = session(-1, 7);
  s.holders = {
      {"backupd", "PreventSystemSleep", "tm", 1, 9000, HolderOrigin::system},
      {"caffeinate", "PreventUserIdleSystemSleep", "c", 1, 600, HolderOrigin::userTool},
      {"Viewer", "PreventUserIdleDisplaySleep", "v", 1, 8000, HolderOrigin::app},
      {"Renderer", "PreventSystemSleep", "r", 1, 900, HolderOrigin::app},
      {"Exporter", "PreventSystemSleep", "e", 1, 900, HolderOrigin::app},
      {"Tiny", "PreventSystemSleep", "t", 1, 599, HolderOrigin::app},
      {"python3", "PreventSystemSleep", "p", 1, 599, HolderOrigin::userTool},
  };
  NightReport r = NightAnalyzer::report(s, SleepKind::night);
  ASSERT_TRUE(r.culprit());
  EXPECT_EQ(r.culprit()->process, "Renderer");  // the earlier of two equal holders
  ASSERT_EQ(r.userRequested().size(), 1u);
  EXPECT_EQ(r.userRequested()[0].process, "caffeinate");
  r.holders = {{"Tiny", "PreventSystemSleep", "t", 1, 599, HolderOrigin::app}};
  EXPECT_FALSE(r.culprit());
  r.holders[0].heldSeconds = 600;
  EXPECT_TRUE(r.culprit());
}

TEST(NightAnalyzerTest, BaselineSampleNeedsANightOnBattery) {
  SleepSession s = session(-1, 7);
  s.battery = {{at(-1), 90, false}, {at(1), 88, false}};  // exactly 2.0 h
  NightReport r = NightAnalyzer::report(s, SleepKind::night);
  ASSERT_TRUE(r.baselineSample());
  EXPECT_EQ(r.baselineSample()->perHour, 1.0);
  EXPECT_EQ(r.baselineSample()->start, at(-1));
  r.battery.batteryHours = 1.9;
  EXPECT_FALSE(r.baselineSample());
  r = NightAnalyzer::report(s, SleepKind::daytimeNap);
  EXPECT_FALSE(r.baselineSample());
}

// A closed session on battery at 90% draining `perHour` points an hour.
SleepSession onBattery(Instant start, double hours, double perHour) {
  SleepSession s;
  s.start = start;
  s.end = start + hours * 3600;
  s.ending = SessionEnd::fullWake(WakeReason("lid"));
  s.battery = {{s.start, 90, false}, {s.end, 90 - static_cast<int>(perHour * hours), false}};
  return s;
}

TEST(NightAnalyzerTest, AnalyzeKeepsLongCompleteSessionsAndJudgesThem) {
  const Instant day = 1710028800;  // 2024-03-10 00:00 UTC
  SleepSession tooShort = onBattery(day - 86400 * 3, 7199.0 / 3600, 0);
  SleepSession partial = onBattery(day - 86400 * 2 - 3600, 8, 1);
  partial.isPartial = true;
  SleepSession exact = onBattery(day - 86400 * 2 + 3600, 2, 1);  // 01:00–03:00: exactly the minimum
  SleepSession first = onBattery(day - 86400 - 3600, 8, 1);
  SleepSession nap = onBattery(day + 12 * 3600, 3, 1);
  SleepSession last = onBattery(day + 23 * 3600, 8, 4);
  SleepSession ongoing = onBattery(day + 2 * 86400, 8, 1);
  ongoing.ending = SessionEnd::ongoing();

  const std::vector<BaselineSample> history{{1, 1, 0}, {2, 1, 0}, {3, 1, 0}};
  const auto analysis = NightAnalyzer::analyze({tooShort, partial, exact, first, nap, last, ongoing},
                                               TimeZone::utc(), history, NightAnalyzer::minimumNight);
  ASSERT_EQ(analysis.reports.size(), 5u);
  EXPECT_EQ(analysis.reports[0].start(), exact.start);
  EXPECT_EQ(analysis.nights().size(), 4u);
  ASSERT_EQ(analysis.naps().size(), 1u);
  EXPECT_EQ(analysis.naps()[0].start(), nap.start);
  EXPECT_EQ(analysis.lastNight()->start(), ongoing.start);
  EXPECT_EQ(analysis.coveredFrom, tooShort.start);
  EXPECT_EQ(analysis.coveredTo, ongoing.end);
  // History 1, 1, 1 plus the new nights on battery for two hours or more:
  // exact, first, last (4/h) and ongoing. Median 1.0 over seven samples.
  ASSERT_TRUE(analysis.baseline);
  EXPECT_EQ(analysis.baseline->nights, 7);
  EXPECT_EQ(analysis.baseline->percentPerHour, 1.0);
  const NightReport& judged = analysis.reports[3];
  ASSERT_EQ(judged.start(), last.start);
  EXPECT_DOUBLE_EQ(*judged.ratio, 4.0);
  EXPECT_EQ(judged.mood, Mood::sleepless);  // ratio 4.0 and 3.0 more against a reliable baseline
}

TEST(NightAnalyzerTest, MovingTheReaderGivesTheSameAnalysis) {
  LogReader reader;
  reader.ingest(DemoLog::text(DemoLog::week({2026, 12, 6, {}, {}, {}}, Mood::sleepless), kIstanbul));
  const auto inPlace = NightAnalyzer::analyze(reader, kIstanbul, {});
  const auto copied = NightAnalyzer::analyze(reader.sessions(), kIstanbul, {}, NightAnalyzer::minimumNight);
  ASSERT_EQ(inPlace.reports.size(), 7u);
  EXPECT_EQ(copied.reports, inPlace.reports);
  LogReader spare = reader;
  EXPECT_EQ(NightAnalyzer::analyze(std::move(spare), kIstanbul, {}), inPlace);
}

}  // namespace
}  // namespace snoozlet
