// The ribbon's geometry checked in numbers: the time axis and its clamping,
// tick steps, wake rectangles, the battery line's span, charger stretches and
// their hatching, lanes, labels, and sizes down to nothing.

#include "Nights.h"
#include "presentation/RibbonLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace snoozlet::presentation {
namespace {

using namespace snoozlet::testing;

RibbonOptions full(double width) { return {.width = width, .bandHeight = 64}; }
RibbonOptions compact(double width) { return {.width = width, .bandHeight = 40, .compact = true}; }

bool finite(const Rect& r) {
  return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height);
}

TEST(RibbonLayoutTest, WakesAreTallerWiderAndMoreOpaqueUpToAMinute) {
  SleepSession s = session(8);
  s.darkWakes = {wake(60, std::nullopt), wake(120, 30), wake(240, 60), wake(300, 600), wake(-10, 5), wake(600, 5)};
  const RibbonLayout r = layoutRibbon(report(s), kEnglish, full(960));
  const double inner = 64 - 2 * 7;
  ASSERT_EQ(r.wakes.size(), 6u);
  // Unknown length: drawn as five seconds.
  const double unknown = 5.0 / 60;
  EXPECT_DOUBLE_EQ(r.wakes[0].rect.x, 120);
  EXPECT_DOUBLE_EQ(r.wakes[0].rect.width, 1) << "five seconds of eight hours is under a point";
  EXPECT_DOUBLE_EQ(r.wakes[0].rect.height, inner * (0.42 + 0.58 * unknown));
  EXPECT_DOUBLE_EQ(r.wakes[0].rect.y, (64 - r.wakes[0].rect.height) / 2);
  EXPECT_DOUBLE_EQ(r.wakes[0].opacity, 0.55 + 0.4 * unknown);
  EXPECT_DOUBLE_EQ(r.wakes[1].rect.height, inner * (0.42 + 0.58 * 0.5));
  EXPECT_DOUBLE_EQ(r.wakes[2].rect.height, inner);
  EXPECT_DOUBLE_EQ(r.wakes[3].rect.height, inner) << "longer than a minute is no taller";
  EXPECT_DOUBLE_EQ(r.wakes[3].rect.width, 960 * 600 / (8 * 3600.0)) << "but wider";
  EXPECT_DOUBLE_EQ(r.wakes[4].rect.x, 0) << "before the start: clamped";
  EXPECT_DOUBLE_EQ(r.wakes[5].rect.x, 960) << "after the end: clamped";
}

TEST(RibbonLayoutTest, TickStepsAndHourLabelsInTheNightsZone) {
  struct Row {
    double hours, width;
    bool compact;
    int step;
  };
  for (const Row& row : std::vector<Row>{{8, 352, false, 1},  // 44 points an hour
                                         {8, 351, false, 2},
                                         {8, 272, true, 2},  // 34 points an hour
                                         {8, 271, true, 3},
                                         {0.05, 50, false, 1}}) {  // drawn as 0.1 hour: 500 points an hour
    const RibbonOptions o = row.compact ? compact(row.width) : full(row.width);
    const RibbonLayout r = layoutRibbon(report(session(row.hours)), kEnglish, o);
    EXPECT_EQ(r.tickStep, row.step) << row.hours << " h at " << row.width;
    EXPECT_DOUBLE_EQ(r.pointsPerHour, row.width / std::max(row.hours, 0.1));
  }

  // 23:00 UTC is 02:00 in Istanbul; a night from 23:30 to 07:30 there, step 2.
  SleepSession s = session(8);
  s.start += 1800 - 3 * 3600;
  s.end = s.start + 8 * 3600;
  const RibbonLayout r =
      layoutRibbon(report(s), NightFormat(Language::english, *TimeZone::named("Europe/Istanbul")), full(320));
  std::vector<std::string> labels;
  for (const auto& tick : r.ticks) labels.push_back(tick.label);
  ASSERT_EQ(labels, (std::vector<std::string>{"00", "02", "04", "06"}));
  EXPECT_DOUBLE_EQ(r.ticks.front().x, 320 * 0.5 / 8);
}

TEST(RibbonLayoutTest, HourLabelsKeepAGapFromTheStartAndEndLabelsAndEachOther) {
  // Every label 20 points wide, kept 8 apart, on a band of 360 points: an hour every 45 points.
  RibbonOptions o = full(360);
  o.labelWidth = [](std::string_view) { return 20.0; };
  o.labelGap = 8;
  const RibbonLayout r = layoutRibbon(report(session(8)), kEnglish, o);
  std::vector<bool> shown;
  for (const auto& tick : r.ticks) shown.push_back(tick.labelled);
  // 23 at 0 would overlap the start label; 00 at 45 starts at 35, past the start label (20) and its gap;
  // 06 at 315 ends at 325, before the end label (340) less its gap; 07 at 360 would run into it.
  ASSERT_EQ(r.ticks.size(), 9u);
  EXPECT_EQ(shown, (std::vector<bool>{false, true, true, true, true, true, true, true, false}));
  EXPECT_TRUE(r.endLabelled);

  // Labels wider than the band leaves room for: the end label goes before it would run into the start label.
  o.width = 40;
  o.labelWidth = [](std::string_view label) { return label.size() > 2 ? 30.0 : 10.0; };
  const RibbonLayout narrow = layoutRibbon(report(session(8)), kEnglish, o);
  EXPECT_FALSE(narrow.endLabelled);
  for (const auto& tick : narrow.ticks) EXPECT_FALSE(tick.labelled) << tick.label;
  // Without a measure, every hour is labelled, as before any front end measures.
  for (const auto& tick : layoutRibbon(report(session(8)), kEnglish, full(40)).ticks) EXPECT_TRUE(tick.labelled);
}

TEST(RibbonLayoutTest, BatteryLineSpansAtLeastTwelvePointsAroundItsMiddle) {
  SleepSession s = session(8);
  s.battery = {reading(0, 80), reading(240, 79), reading(480, 78)};
  const RibbonLayout r = layoutRibbon(report(s), kEnglish, full(800));
  const double inner = 50;
  ASSERT_EQ(r.battery.size(), 3u);
  // 80 to 78 over a span of 12 centred on 79.
  EXPECT_DOUBLE_EQ(r.battery[0].y, 7 + inner * (1 - 7.0 / 12));
  EXPECT_DOUBLE_EQ(r.battery[1].y, 7 + inner / 2);
  EXPECT_DOUBLE_EQ(r.battery[2].y, 7 + inner * (1 - 5.0 / 12));
  EXPECT_EQ(r.firstBattery, (BatteryLabel{"80%", r.battery[0], BatteryLabel::Side::leading}));
  EXPECT_EQ(r.lastBattery, (BatteryLabel{"78%", r.battery[2], BatteryLabel::Side::trailing}));

  const RibbonLayout small = layoutRibbon(report(s), kTurkish, compact(300));
  EXPECT_DOUBLE_EQ(small.battery[0].y, 4 + 32 * (1 - 6.0 / 10)) << "a span of 10 in the compact form";
  EXPECT_EQ(small.firstBattery->text, "%80");

  // A wide swing uses its own span: the ends touch the padding.
  s.battery = {reading(0, 100), reading(480, 40)};
  const RibbonLayout wide = layoutRibbon(report(s), kEnglish, full(800));
  EXPECT_DOUBLE_EQ(wide.battery[0].y, 7);
  EXPECT_DOUBLE_EQ(wide.battery[1].y, 57);
}

TEST(RibbonLayoutTest, ChargerStretchesMergeRunToTheEndAndNeedAMinute) {
  SleepSession s = session(8);
  const double minute = 1.0;
  s.battery = {reading(0, 50, true),   reading(59 * minute / 60, 51),  // 59 seconds: dropped
               reading(60, 60, true),  reading(61, 61, true),
               reading(62, 62),                            // two pairs merged, 2 minutes
               reading(120, 62, true), reading(121, 63)};  // 60 seconds: kept
  EXPECT_EQ(chargerStretches(s),
            (std::vector<std::pair<Instant, Instant>>{{kNightStart + 3600, kNightStart + 62 * 60},
                                                      {kNightStart + 120 * 60, kNightStart + 121 * 60}}));
  s.battery.push_back(reading(400, 70, true));  // the last reading on AC runs to the end
  EXPECT_EQ(chargerStretches(s).back(), (std::pair<Instant, Instant>{kNightStart + 400 * 60, s.end}));

  const RibbonLayout r = layoutRibbon(report(s), kEnglish, full(480));
  ASSERT_EQ(r.stretches.size(), 3u);
  EXPECT_EQ(r.stretches[1].rect, (Rect{120, 0, 1, 64})) << "a minute of eight hours is one point at least";
  const ChargerStretch& last = r.stretches[2];
  ASSERT_FALSE(last.hatching.empty());
  for (std::size_t i = 0; i < last.hatching.size(); ++i) {
    const Segment& line = last.hatching[i];
    EXPECT_TRUE(last.rect.contains(line.from) && last.rect.contains(line.to)) << i;
    EXPECT_NEAR(line.to.x - line.from.x, line.from.y - line.to.y, 1e-9) << "45 degrees";
    // Lines lie on x + y = a multiple of the spacing, so stretches side by side line up.
    const double k = (line.from.x + line.from.y - 64) / kHatchSpacing;
    EXPECT_NEAR(k, std::round(k), 1e-9) << i;
  }
  EXPECT_EQ(r.rowLabels.back().text, "on charger");

  SleepSession plugged = session(8);
  plugged.battery = {reading(0, 100, true), reading(480, 100, true)};
  const RibbonLayout all = layoutRibbon(report(plugged), kEnglish, full(480));
  ASSERT_EQ(all.stretches.size(), 1u);
  EXPECT_EQ(all.stretches[0].rect, (Rect{0, 0, 480, 64}));
}

TEST(RibbonLayoutTest, LanesRowsAndEndLabels) {
  SleepSession s = session(8);
  s.darkWakes = {wake(60, 10, "ARPT"), wake(90, 10, "ARPT"), wake(120, 10, "RTC (Alarm)"),
                 wake(150, 10, "RTC/Maintenance"), wake(180, 10, "ARPT"), wake(470, 1800, "ARPT")};
  const NightReport night = report(s);
  RibbonOptions o = full(480);
  o.laneLimit = 2;
  const RibbonLayout r = layoutRibbon(night, kEnglish, o);
  ASSERT_EQ(r.lanes.size(), 2u);
  EXPECT_EQ(r.lanes[0].category, WakeCategory::network);
  EXPECT_EQ(r.lanes[0].title, "Wi-Fi & Bluetooth");
  ASSERT_EQ(r.lanes[0].marks.size(), 4u);
  EXPECT_DOUBLE_EQ(r.lanes[0].marks[1].x, 90);
  EXPECT_DOUBLE_EQ(r.lanes[0].marks[3].right(), 480) << "a long wake's mark ends where the lane does";
  EXPECT_DOUBLE_EQ(r.lanes[0].row.y, 64 + o.tickArea);
  EXPECT_DOUBLE_EQ(r.height, 64 + o.tickArea + 2 * o.laneHeight);
  EXPECT_EQ(r.rowLabels, (std::vector<RowLabel>{{"awake", 7 + 50 * 0.25}, {"battery", 7 + 50 * 0.75}}));
  EXPECT_EQ(r.startLabel, "lid closed");
  EXPECT_EQ(r.endLabel, "lid opened");
  o.laneLimit = 0;
  EXPECT_TRUE(layoutRibbon(night, kEnglish, o).lanes.empty());
}

TEST(RibbonLayoutTest, DegenerateNightsAndSizesStayFinite) {
  // A six-minute nap, a one-second session, an empty one, one ending before it began.
  for (const double seconds : {360.0, 1.0, 0.0, -50.0}) {
    SleepSession s = session(seconds / 3600);
    s.darkWakes = {wake(0.005, 0.5), wake(0.01, std::nullopt)};
    s.battery = {reading(0, 80), reading(0.01, 80, true)};
    for (const double width : {0.0, 1.0, 3.0, 1120.0}) {
      const RibbonLayout r = layoutRibbon(report(s), kEnglish, full(width));
      EXPECT_TRUE(std::isfinite(r.pointsPerHour)) << seconds << " s at " << width;
      for (const auto& w : r.wakes) EXPECT_TRUE(finite(w.rect) && w.rect.x <= width) << seconds << " at " << width;
      for (const auto& p : r.battery) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << seconds;
      for (const auto& st : r.stretches) EXPECT_TRUE(finite(st.rect)) << seconds;
    }
  }
  // A session of one second or less places times by their offset in seconds.
  SleepSession blink = session(0.5 / 3600);
  blink.darkWakes = {wake(0.25 / 60, 1)};
  EXPECT_DOUBLE_EQ(layoutRibbon(report(blink), kEnglish, full(100)).wakes[0].rect.x, 25);
  // A corrupt session of two centuries draws no more ticks than it has points.
  SleepSession ages = session(200 * 365 * 24.0);
  EXPECT_LE(layoutRibbon(report(ages), kEnglish, full(300)).ticks.size(), 301u);
}

}  // namespace
}  // namespace snoozlet::presentation
