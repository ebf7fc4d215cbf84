#include "analysis/NightAnalyzer.h"

#include "demo/DemoLog.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

const TimeZone kIstanbul = *TimeZone::named("Europe/Istanbul");  // +03:00 all year
constexpr Instant kDay = 1710018000;                              // 2024-03-10 00:00 in Istanbul
Instant at(double hours) { return kDay + hours * 3600; }

SleepSession session(double fromHour, double toHour, std::vector<BatteryPoint> battery = {}) {
  return {.start = at(fromHour), .end = at(toHour), .ending = SessionEnd::fullWake(WakeReason("EC.LidOpen")),
          .battery = std::move(battery)};
}

TEST(NightAnalyzerTest, NightOrDaytimeNap) {
  const std::tuple<double, double, SleepKind> cases[] = {
      {8, 16, SleepKind::daytimeNap},      // midpoint 12:00, no early-morning overlap
      {3.5, 19.5, SleepKind::night},       // midpoint 11:30, 90 minutes of 01:00–05:00
      {4.5, 18, SleepKind::daytimeNap},    // 30 minutes only
      {4, 18, SleepKind::night},           // exactly an hour of it
      {8.99, 9.0, SleepKind::night},       // midpoint before 09:00
      {8.5, 9.5, SleepKind::daytimeNap},   // midpoint 09:00 is the day
      {18.9, 19.0, SleepKind::daytimeNap}, // midpoint 18:57 is still the day
      {19, 19.1, SleepKind::night},        // midpoint in hour 19
      {-20, 40, SleepKind::night},         // two days, middle at 10:00
  };
  for (const auto& [from, to, kind] : cases) EXPECT_EQ(NightAnalyzer::kind(session(from, to), kIstanbul), kind) << from;
  // New York, 10 March 2024 (midnight EST is at(8)): clocks jump from 02:00 to 03:00, so that day's window runs
  // 01:00–06:00 on the wall clock.
  const TimeZone newYork = *TimeZone::named("America/New_York");
  EXPECT_EQ(NightAnalyzer::kind(session(12.5, 28), newYork), SleepKind::daytimeNap);  // 05:30–21:00 EDT: 30 minutes
  EXPECT_EQ(NightAnalyzer::kind(session(11, 25), newYork), SleepKind::night);         // 04:00–18:00 EDT: two hours
}

TEST(NightAnalyzerTest, BatteryTrendCountsOnlyTimeOnBattery) {
  auto p = [](double hours, int percent, bool ac = false) { return BatteryPoint{at(hours), percent, ac}; };
  // Points; drop, hours on battery, points an hour (-1: none), charger seen.
  const std::tuple<std::vector<BatteryPoint>, std::optional<int>, double, double, bool> rows[] = {
      // From a point on the charger nothing is counted, not even the rise.
      {{p(0, 80), p(1, 78), p(2, 78, true), p(3, 90), p(3.5, 89)}, 3, 2.5, 1.2, true},
      {{p(0, 50), p(1, 55)}, 0, 1, 0.0, false},       // a rise is no negative drop
      {{p(0, 50), p(0.75, 48)}, 2, 0.75, -1, false},  // under an hour: no rate
      {{p(0, 50, true), p(1, 60, true)}, std::nullopt, 0, -1, true},
      {{}, std::nullopt, 0, -1, false},
  };
  for (const auto& [points, drop, hours, perHour, charger] : rows) {
    const BatteryTrend t(points);
    EXPECT_EQ(t.first, points.empty() ? std::nullopt : std::optional(points.front()));
    EXPECT_EQ(t.last, points.empty() ? std::nullopt : std::optional(points.back()));
    EXPECT_EQ(t.drop, drop);
    EXPECT_DOUBLE_EQ(t.batteryHours, hours);
    EXPECT_NEAR(t.perHour.value_or(-1), perHour, 1e-12);
    EXPECT_EQ(t.sawCharger, charger);
  }
}

TEST(NightAnalyzerTest, ReportGroupsWakesRequestersAndHolders) {
  SleepSession s = session(-1, 7);
  const auto wake = [](const char* reason, std::optional<double> seconds, std::optional<WakeRequest> request = {}) {
    return DarkWakeEvent{at(1), seconds, WakeReason(reason), {}, std::move(request)};
  };
  const auto dasd = [](const char* info) { return WakeRequest{"dasd", "SleepService", info, {}, true}; };
  for (int i = 0; i < 3; ++i) s.darkWakes.push_back(wake("wifibt", 30));
  s.darkWakes.push_back(wake("x rtc/SleepService", 20, dasd("com.apple.dasd:501:com.apple.searchd.heartbeat")));
  s.darkWakes.push_back(wake("y rtc/SleepService", 20, dasd("com.apple.dasd:502:com.apple.searchd.heartbeat")));
  s.darkWakes.push_back(wake("y rtc/SleepService", 20, WakeRequest{"powerd", "UserWake", {}, {}, false}));
  s.darkWakes.push_back(wake("lid", std::nullopt));
  s.holders = {
      {"backupd", "PreventSystemSleep", "tm", 1, 9000, HolderOrigin::system},
      {"caffeinate", "PreventUserIdleSystemSleep", "c", 1, 600, HolderOrigin::userTool},
      {"Viewer", "PreventUserIdleDisplaySleep", "v", 1, 8000, HolderOrigin::app},
      {"Renderer", "PreventSystemSleep", "r", 1, 900, HolderOrigin::app},
      {"Exporter", "PreventSystemSleep", "e", 1, 900, HolderOrigin::app},
      {"python3", "PreventSystemSleep", "p", 1, 599, HolderOrigin::userTool},
  };

  NightReport r = NightAnalyzer::report(s, SleepKind::night);
  EXPECT_EQ(r.darkWakeCount, 7);
  EXPECT_EQ(r.awakeSeconds, 150);
  ASSERT_EQ(r.groups.size(), 3u);
  EXPECT_EQ(r.groups[0].category, WakeCategory::network);  // same count, more awake time
  EXPECT_EQ(r.groups[1].rawExamples, (std::vector<std::string>{"y rtc/SleepService", "x rtc/SleepService"}));
  EXPECT_EQ(r.groups[2].awakeSeconds, 0);
  EXPECT_EQ(r.group(WakeCategory::lid)->count, 1);
  EXPECT_EQ(r.group(WakeCategory::usb), nullptr);
  EXPECT_EQ(r.requesters, (std::vector<RequesterGroup>{{"dasd", "com.apple.searchd.heartbeat", 2},
                                                       {"powerd", "UserWake", 1}}));
  EXPECT_EQ(r.wokeBy, WakeReason("EC.LidOpen"));
  EXPECT_NEAR(r.awakeFraction(), 150.0 / (8 * 3600), 1e-12);
  EXPECT_NEAR(r.darkWakesPerHour(), 7.0 / 8, 1e-12);
  // The culprit holds PreventSystemSleep for an app ten minutes or more; the earlier of two equal ones.
  EXPECT_EQ(r.culprit()->process, "Renderer");
  EXPECT_EQ(r.userRequested(), std::vector<HolderGroup>{s.holders[1]});
  r.holders = {{"Tiny", "PreventSystemSleep", "t", 1, 599, HolderOrigin::app}};
  EXPECT_FALSE(r.culprit());
  r.holders[0].heldSeconds = 600;
  EXPECT_TRUE(r.culprit());
}

TEST(NightAnalyzerTest, BaselineSampleNeedsANightWithTwoHoursOnBattery) {
  NightReport r = NightAnalyzer::report(session(-1, 7, {{at(-1), 90, false}, {at(1), 88, false}}), SleepKind::night);
  EXPECT_EQ(r.baselineSample(), (BaselineSample{at(-1), 1.0, 0}));
  r.battery.batteryHours = 1.9;
  EXPECT_FALSE(r.baselineSample());
  EXPECT_FALSE(NightAnalyzer::report(r.session, SleepKind::daytimeNap).baselineSample());
}

TEST(NightAnalyzerTest, AnalyzeKeepsLongCompleteSessionsAndJudgesThem) {
  // Sessions on battery at 90% draining `perHour` points an hour, days around 10 March 2024.
  const auto onBattery = [](double day, double fromHour, double hours, double perHour) {
    const double from = day * 24 + fromHour;
    return session(from, from + hours, {{at(from), 90, false}, {at(from + hours), 90 - int(perHour * hours), false}});
  };
  SleepSession tooShort = onBattery(-3, 0, 7199.0 / 3600, 0), partial = onBattery(-2, -1, 8, 1);
  partial.isPartial = true;
  SleepSession exact = onBattery(-2, 1, 2, 1);  // 01:00–03:00: exactly the minimum
  SleepSession first = onBattery(-1, -1, 8, 1), nap = onBattery(0, 12, 3, 1), last = onBattery(0, 23, 8, 4);
  SleepSession ongoing = onBattery(2, 0, 8, 1);
  ongoing.ending = SessionEnd::ongoing();

  const std::vector<BaselineSample> history{{1, 1, 0}, {2, 1, 0}, {3, 1, 0}};
  const auto analysis = NightAnalyzer::analyze({tooShort, partial, exact, first, nap, last, ongoing}, kIstanbul,
                                               history, NightAnalyzer::minimumNight);
  std::vector<Instant> starts;
  for (const NightReport& r : analysis.reports) starts.push_back(r.start());
  EXPECT_EQ(starts, (std::vector<Instant>{exact.start, first.start, nap.start, last.start, ongoing.start}));
  EXPECT_EQ(analysis.nights().size(), 4u);
  EXPECT_EQ(analysis.naps().at(0).start(), nap.start);
  EXPECT_EQ(analysis.lastNight()->start(), ongoing.start);
  EXPECT_EQ(analysis.coveredFrom, tooShort.start);
  EXPECT_EQ(analysis.coveredTo, ongoing.end);
  // History 1, 1, 1 plus the new nights with two hours on battery: exact,
  // first, last (4/h) and ongoing. Median 1.0 over seven samples.
  EXPECT_EQ(analysis.baseline, (Baseline{1.0, 0, 7}));
  const NightReport& judged = analysis.reports[3];
  EXPECT_DOUBLE_EQ(*judged.ratio, 4.0);
  EXPECT_EQ(judged.mood, Mood::sleepless);  // ratio 4.0 and 3.0 more against a reliable baseline
}

TEST(NightAnalyzerTest, MovingTheReaderGivesTheSameAnalysis) {
  LogReader reader;
  reader.ingest(DemoLog::text(DemoLog::week({2026, 12, 6, {}, {}, {}}, Mood::sleepless), kIstanbul));
  const auto inPlace = NightAnalyzer::analyze(reader, kIstanbul, {});
  ASSERT_EQ(inPlace.reports.size(), 7u);
  EXPECT_EQ(NightAnalyzer::analyze(reader.sessions(), kIstanbul, {}, NightAnalyzer::minimumNight).reports,
            inPlace.reports);
  LogReader spare = reader;
  EXPECT_EQ(NightAnalyzer::analyze(std::move(spare), kIstanbul, {}), inPlace);
}

}  // namespace
}  // namespace snoozlet
