// The figures every front end shows of a night: the battery figure in its
// three states, the ratio's text and colour band at their boundaries, the
// figures row and the popover's figures in both languages, and the words at
// both ends of the ribbon.

#include "Nights.h"
#include "presentation/NightFigures.h"

#include <gtest/gtest.h>

namespace snoozlet::presentation {
namespace {

using namespace snoozlet::testing;

TEST(NightFiguresTest, RatioTextAndBandAtTheirBoundaries) {
  struct Row {
    double ratio;
    std::string english, turkish;
    RatioBand band;
  };
  using enum RatioBand;
  for (const Row& row : std::vector<Row>{
           {0.69, "below normal", "normalin altında", ordinary}, {0.7, "normal", "normal", ordinary},
           {1.29, "normal", "normal", ordinary}, {1.3, "1.3× normal", "normalin 1,3 katı", caution},
           {2.49, "2.5× normal", "normalin 2,5 katı", caution}, {2.5, "2.5× normal", "normalin 2,5 katı", warning}}) {
    EXPECT_EQ(ratioText(row.ratio, kEnglish), row.english) << row.ratio;
    EXPECT_EQ(ratioText(row.ratio, kTurkish), row.turkish) << row.ratio;
    EXPECT_EQ(ratioBand(row.ratio), row.band) << row.ratio;
  }
}

TEST(NightFiguresTest, FiguresRowOfAMeasuredNight) {
  SleepSession s = session(8);
  s.battery = {reading(0, 64), reading(240, 60), reading(480, 55)};
  s.darkWakes = {wake(30, 20), wake(90, 40)};
  NightReport r = report(s);
  r.ratio = 2.9;
  const FiguresRow en = figuresRow(r, kEnglish);
  EXPECT_EQ(en.asleep, (Figure{"8 h", "asleep"}));
  EXPECT_EQ(en.darkWakes, (Figure{"2", "dark wakes"}));
  EXPECT_EQ(en.awakeLine, "awake in the dark (1 min)");
  EXPECT_EQ(en.battery, (BatteryTile{{"−9", "battery points"}, "1.1 an hour", "2.9× normal", RatioBand::warning}));
  const FiguresRow tr = figuresRow(r, kTurkish);
  EXPECT_EQ(tr.battery, (BatteryTile{{"−9", "pil puanı"}, "saatte 1,1", "normalin 2,9 katı", RatioBand::warning}));
  EXPECT_EQ(tr.awakeLine, "karanlıkta uyanık (1 dk)");

  EXPECT_EQ(compactBattery(r, kEnglish), "−9 · 1.1/h");
  EXPECT_EQ(popoverFigures(r, kEnglish), (PopoverFigures{{"2", "wakes"}, {"1 min", "awake"}, {"−9", "battery"}}));

  // No awake time, no awake line; no ratio, no comparison.
  s.darkWakes.clear();
  r = report(s);
  EXPECT_FALSE(figuresRow(r, kEnglish).awakeLine);
  EXPECT_FALSE(figuresRow(r, kEnglish).battery.ratio);
}

TEST(NightFiguresTest, BatteryFigureWhenNothingCanBeMeasured) {
  struct Row {
    const char* what;
    std::vector<BatteryPoint> readings;
    double hours;
    Figure tile;
    std::string compact;
  };
  const Figure onAC{"—", "on the charger"}, tooShort{"—", "too short to measure"};
  const std::vector<Row> rows = {
      {"on the charger all along", {reading(0, 80, true), reading(470, 100, true)}, 8, onAC, "on AC"},
      {"no reading at all (no battery)", {}, 8, onAC, "on AC"},
      {"a drop of 0 over more than half an hour", {reading(0, 80), reading(40, 80)}, 1, {"0", "battery points"}, "0"},
      {"20 minutes on battery, never on the charger", {reading(0, 80), reading(20, 79)}, 0.4, tooShort, "too short"},
      {"a single reading on battery", {reading(1, 80)}, 0.1, tooShort, "too short"},
      {"a short stretch on battery after the charger", {reading(0, 90, true), reading(30, 90), reading(50, 89)}, 1,
       onAC, "on AC"},
  };
  for (const Row& row : rows) {
    SleepSession s = session(row.hours);
    s.battery = row.readings;
    const NightReport r = report(s);
    EXPECT_EQ(figuresRow(r, kEnglish).battery.figure, row.tile) << row.what;
    EXPECT_FALSE(figuresRow(r, kEnglish).battery.perHour) << row.what;
    EXPECT_EQ(compactBattery(r, kEnglish), row.compact) << row.what;
  }
  SleepSession s = session(0.3);
  s.battery = {reading(0, 80), reading(18, 79)};
  EXPECT_EQ(figuresRow(report(s), kTurkish).battery.figure, (Figure{"—", "ölçmeye yetmedi"}));
  EXPECT_EQ(popoverFigures(report(s), kTurkish).battery, (Figure{"çok kısa", "pil"}));
}

TEST(NightFiguresTest, ALinuxNightWithoutReadingsSaysSoWhereAMacSaysCharger) {
  const NightReport r = report(session(8));
  const ArchivedNight a = archived(std::nullopt, 0, std::nullopt);
  EXPECT_EQ(figuresRow(r, kEnglish, NightSource::journal).battery.figure, (Figure{"—", "no battery readings"}));
  EXPECT_EQ(figuresRow(r, kTurkish, NightSource::journal).battery.figure, (Figure{"—", "pil ölçümü yok"}));
  EXPECT_EQ(compactBattery(r, kEnglish, NightSource::journal), "no readings");
  EXPECT_EQ(compactBattery(a, kTurkish, NightSource::journal), "ölçüm yok");
  EXPECT_EQ(popoverFigures(r, kEnglish, NightSource::journal).battery, (Figure{"—", "no readings"}));
  EXPECT_EQ(compactBattery(r, kEnglish, NightSource::pmset), "on AC") << "a Mac without readings has no battery";
  EXPECT_EQ(compactBattery(a, kEnglish, NightSource::simulated), "on AC");
  // One reading is a recorded battery, even on the journal.
  SleepSession s = session(8);
  s.battery = {reading(0, 80, true)};
  EXPECT_EQ(compactBattery(report(s), kEnglish, NightSource::journal), "on AC");
}

TEST(NightFiguresTest, ArchivedNightBatteryFigure) {
  EXPECT_EQ(compactBattery(archived(3, 7.5, 0.4), kEnglish), "−3 · 0.4/h");
  EXPECT_EQ(compactBattery(archived(3, 7.5, 0.4), kTurkish), "−3 · 0,4/sa");
  EXPECT_EQ(compactBattery(archived(2, 0.9, std::nullopt), kEnglish), "−2");
  EXPECT_EQ(compactBattery(archived(std::nullopt, 0, std::nullopt), kTurkish), "şarjda");
  EXPECT_EQ(compactBattery(archived(1, 0.4, 2.5), kEnglish), "too short") << "under half an hour on battery";
}

TEST(NightFiguresTest, StartAndEndLabels) {
  for (const auto& [reason, english, turkish] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"Clamshell Sleep", "lid closed", "kapak kapandı"}, {"Idle Sleep", "dozed off", "uyuyakaldı"},
           {"Software Sleep", "put to sleep", "uyutuldu"}, {"Sleep Menu", "put to sleep", "uyutuldu"},
           {"?", "fell asleep", "uykuya daldı"}, {"clamshell sleep", "fell asleep", "uykuya daldı"}}) {
    EXPECT_EQ(startLabel(reason, Language::english), english) << reason;
    EXPECT_EQ(startLabel(reason, Language::turkish), turkish) << reason;
  }
  for (const auto& [reason, english] : std::vector<std::pair<std::optional<std::string>, std::string>>{
           {std::nullopt, "still asleep"}, {"EC.LidOpen (User)", "lid opened"}, {"PWRB (User)", "woken by you"},
           {"AC Attach", "charger plugged in"}, {"Notification", "charger plugged in"}, {"ARPT", "woke up"}}) {
    const auto wokeBy = reason ? std::optional<WakeReason>(WakeReason(*reason)) : std::nullopt;
    EXPECT_EQ(endLabel(wokeBy, Language::english), english) << reason.value_or("none");
  }
  // A session still open at the end of the log has no wake reason.
  SleepSession s = session(3);
  s.ending = SessionEnd::ongoing();
  EXPECT_EQ(endLabel(report(s).wokeBy, Language::turkish), "hâlâ uyuyor");
}

TEST(NightFiguresTest, AlarmAndLampRows) {
  EXPECT_EQ(requesterTitle({"dasd", "com.apple.unknown.thing", 2}, Language::english), "com.apple.unknown.thing ×2");
  EXPECT_EQ(requesterTitle({"dasd", "com.apple.searchd.heartbeat", 3}, Language::turkish), "Spotlight yoklaması ×3");
  const HolderGroup audio{"coreaudiod", "PreventUserIdleSystemSleep", "Playing audio", 1, 600, HolderOrigin::system};
  EXPECT_EQ(holderLine(audio, Language::english), "PreventUserIdleSystemSleep · Playing audio");
  const HolderGroup caffeinate{"caffeinate", "PreventSystemSleep", "caffeinate command-line tool", 1, 3600,
                               HolderOrigin::userTool};
  EXPECT_EQ(holderLine(caffeinate, Language::turkish), "Bunu ya sen ya da bir betik istedi · PreventSystemSleep");
  HolderGroup app = caffeinate;
  app.origin = HolderOrigin::app;
  EXPECT_TRUE(keepsMacAwake(app));
  app.type = "PreventUserIdleSystemSleep";
  EXPECT_FALSE(keepsMacAwake(app));
}

}  // namespace
}  // namespace snoozlet::presentation
