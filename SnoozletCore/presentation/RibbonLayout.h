#pragma once

// The geometry of the night ribbon, as plain records: a front end only walks
// them (a widget paints them, the terminal turns them into characters).
//
// The band is the night from closing the lid to opening it, drawn in a box
// `width` wide and `bandHeight` high with its top left corner at (0, 0).
// Every time t of the session lies at x = width × f(t), where f(t) is the
// share of the session before t, clamped to 0…1 (for a session of one second
// or less, the offset t − start itself, clamped). Inside the band: the
// charger stretches (full height, hatched), the dark wakes (taller, wider and
// more opaque the longer they lasted, up to a minute) and the battery line
// with a label at each end. Under the band: the hour ticks, then one lane per
// wake category marking when its wakes happened.

#include "analysis/NightReport.h"
#include "narration/NightFormat.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::presentation {

struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
  double right() const { return x + width; }
  double bottom() const { return y + height; }
  bool contains(Point p) const { return p.x >= x && p.x <= right() && p.y >= y && p.y <= bottom(); }
  bool operator==(const Rect&) const = default;
};

struct Segment {
  Point from;
  Point to;
  bool operator==(const Segment&) const = default;
};

struct RibbonOptions {
  double width = 600;
  double bandHeight = 72;
  // The popover's form: less padding, fewer ticks, a narrower battery span.
  bool compact = false;
  // The most wake-category lanes drawn under the band.
  int laneLimit = 4;
  // Room under the band for the ticks and their hour labels.
  double tickArea = 18;
  double laneHeight = 14;
  // How wide a label under the band is drawn, and the room kept between two
  // labels. With it, hour labels that would crowd the start and end labels
  // or each other are left out (their ticks stay); without it every hour is
  // labelled.
  std::function<double(std::string_view)> labelWidth;
  double labelGap = 8;
};

// A full hour: a 4-point tick at the band's bottom edge, labelled "23", "01".
struct RibbonTick {
  double x = 0;
  std::string label;
  // The label is drawn; false where it would crowd another.
  bool labelled = true;
  bool operator==(const RibbonTick&) const = default;
};

// A stretch on the charger, with its diagonal hatching clipped to it.
struct ChargerStretch {
  Instant from = 0;
  Instant to = 0;
  Rect rect;
  std::vector<Segment> hatching;
  bool operator==(const ChargerStretch&) const = default;
};

struct WakeMark {
  Rect rect;
  double opacity = 1;
  // How long the wake lasted, as a share of a minute (0 to 1): what sets its
  // height and opacity.
  double strength = 0;
  bool operator==(const WakeMark&) const = default;
};

// A battery percentage beside the first (leading) or last (trailing) reading.
struct BatteryLabel {
  enum class Side { leading, trailing };
  std::string text;
  Point anchor;
  Side side = Side::leading;
  bool operator==(const BatteryLabel&) const = default;
};

// One wake category's row under the band.
struct RibbonLane {
  WakeCategory category = WakeCategory::unknown;
  std::string title;
  Rect row;
  std::vector<Rect> marks;
  bool operator==(const RibbonLane&) const = default;
};

// A label on the left of the band ("awake", "battery", "on charger"),
// centred on `y`.
struct RowLabel {
  std::string text;
  double y = 0;
  bool operator==(const RowLabel&) const = default;
};

struct RibbonLayout {
  Rect band;
  double cornerRadius = 0;
  double padding = 0;
  // The band's height less the padding above and below.
  double innerHeight = 0;
  // Drawing width per hour of the session (at least 0.1 hour).
  double pointsPerHour = 0;
  // Every how many hours a tick is drawn.
  int tickStep = 1;
  double tickLength = 4;
  std::vector<RibbonTick> ticks;
  std::vector<ChargerStretch> stretches;
  std::vector<WakeMark> wakes;
  // The readings joined by straight segments.
  std::vector<Point> battery;
  double batteryLineWidth = 1.2;
  std::optional<BatteryLabel> firstBattery;
  std::optional<BatteryLabel> lastBattery;
  std::vector<RibbonLane> lanes;
  std::vector<RowLabel> rowLabels;
  // Under the band's start and end: how the night began and ended.
  std::string startLabel;
  std::string endLabel;
  // The end label is drawn; false when it would run into the start label.
  bool endLabelled = true;
  // From the band's top to the last lane's bottom.
  double height = 0;

  bool operator==(const RibbonLayout&) const = default;
};

// What the ribbon shows, in one sentence for a screen reader: "8 h asleep,
// 354 dark wakes, battery 64% to 55%" (the battery left out without readings).
std::string ribbonSummary(const NightReport& night, const NightFormat& format);

// Hatching lines are this far apart along the band.
inline constexpr double kHatchSpacing = 6;

RibbonLayout layoutRibbon(const NightReport& night, const NightFormat& format, const RibbonOptions& options);

// The charger stretches of a session's readings, as (from, to) in time:
// every pair of readings whose earlier one is on AC, merged where they meet;
// the last reading on AC runs to the session's end; under 60 seconds dropped.
std::vector<std::pair<Instant, Instant>> chargerStretches(const SleepSession& session);

}  // namespace snoozlet::presentation
