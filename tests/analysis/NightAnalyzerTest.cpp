#include "analysis/NightAnalyzer.h"

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

DarkWakeEvent wake(const char* reason, double seconds, std::optional<WakeRequest> request = std::nullopt) {
  DarkWakeEvent w;
  w.date = at(1);
  w.duration = seconds;
  w.reason = WakeReason(reason);
  w.request = std::move(request);
  return w;
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

TEST(NightAnalyzerTest, BatteryTrend) {
  auto point = [](double hours, int percent, bool ac = false) { return BatteryPoint{at(hours), percent, ac}; };
  BatteryTrend t({point(0, 80), point(1, 78), point(2, 78, true), point(3, 90), point(3.5, 89)});
  EXPECT_EQ(t.first, point(0, 80));
  EXPECT_EQ(t.last, point(3.5, 89));
  EXPECT_EQ(t.drop, 3);
  EXPECT_DOUBLE_EQ(t.batteryHours, 2.5);
  EXPECT_DOUBLE_EQ(*t.perHour, 1.2);
  EXPECT_TRUE(t.sawCharger);

  t = BatteryTrend({point(0, 50), point(1, 55)});
  EXPECT_EQ(t.drop, 0);
  EXPECT_EQ(t.perHour, 0.0);

  t = BatteryTrend({point(0, 50), point(40.0 / 60, 48)});
  EXPECT_EQ(t.drop, 2);
  EXPECT_NEAR(t.batteryHours, 0.667, 0.001);
  EXPECT_FALSE(t.perHour);

  t = BatteryTrend({point(0, 50, true), point(1, 60, true)});
  EXPECT_FALSE(t.drop);
  EXPECT_EQ(t.batteryHours, 0);
  EXPECT_FALSE(t.perHour);
  EXPECT_TRUE(t.sawCharger);

  t = BatteryTrend(std::vector<BatteryPoint>{});
  EXPECT_FALSE(t.first);
  EXPECT_FALSE(t.drop);
  EXPECT_FALSE(t.sawCharger);
}

TEST(NightAnalyzerTest, ReportGroupsWakesAndRequesters) {
  SleepSession s = session(-1, 7);
  auto dasd = [](const char* info) {
    WakeRequest r;
    r.process = "dasd";
    r.kind = "SleepService";
    r.info = info;
    r.fired = true;
    return r;
  };
  WakeRequest bare;
  bare.process = "powerd";
  bare.kind = "UserWake";
  for (int i = 0; i < 3; ++i) s.darkWakes.push_back(wake("wifibt", 30));
  s.darkWakes.push_back(wake("x rtc/SleepService", 20, dasd("com.apple.dasd:501:com.apple.searchd.heartbeat")));
  s.darkWakes.push_back(wake("y rtc/SleepService", 20, dasd("com.apple.dasd:502:com.apple.searchd.heartbeat")));
  s.darkWakes.push_back(wake("y rtc/SleepService", 20, bare));
  DarkWakeEvent unknownLength = wake("lid", 0);
  unknownLength.duration.reset();
  s.darkWakes.push_back(unknownLength);

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

}  // namespace
}  // namespace snoozlet

#include "demo/DemoLog.h"

namespace snoozlet {
namespace {

TEST(NightAnalyzerTest, MovingTheReaderGivesTheSameAnalysis) {
  DateComponents day;
  day.year = 2026;
  day.month = 12;
  day.day = 6;
  LogReader reader;
  reader.ingest(DemoLog::text(DemoLog::week(day, Mood::sleepless), kIstanbul));
  const auto inPlace = NightAnalyzer::analyze(reader, kIstanbul, {});
  const auto copied = NightAnalyzer::analyze(reader.sessions(), kIstanbul, {}, NightAnalyzer::minimumNight);
  ASSERT_EQ(inPlace.reports.size(), 7u);
  EXPECT_EQ(copied.reports, inPlace.reports);
  LogReader spare = reader;
  EXPECT_EQ(NightAnalyzer::analyze(std::move(spare), kIstanbul, {}), inPlace);
  EXPECT_EQ(NightAnalyzer::analyze(reader.sessions(), kIstanbul, {}, NightAnalyzer::minimumNight).reports,
            inPlace.reports);
}

}  // namespace
}  // namespace snoozlet
