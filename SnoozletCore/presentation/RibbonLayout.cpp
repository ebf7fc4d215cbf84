#include "presentation/RibbonLayout.h"

#include "presentation/NightFigures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace snoozlet::presentation {

namespace {

constexpr double kShortestHours = 0.1;
constexpr double kShortestStretch = 60;
// A wake whose length the log does not give is drawn as this long.
constexpr double kUnknownWakeSeconds = 5;
constexpr double kFullWakeSeconds = 60;

// Where times fall along the band.
class TimeAxis {
 public:
  TimeAxis(const SleepSession& s, double width) : start_(s.start), length_(s.end - s.start), width_(width) {}

  double share(Instant t) const {
    const double offset = t - start_;
    return std::clamp(length_ > 1 ? offset / length_ : offset, 0.0, 1.0);
  }
  double x(Instant t) const { return width_ * share(t); }
  // The width of `seconds` of the session, at least one point.
  double span(double seconds) const { return std::max(width_ * seconds / std::max(length_, 1.0), 1.0); }

 private:
  Instant start_;
  double length_;
  double width_;
};

int tickStep(double pointsPerHour, bool compact) {
  if (compact) return pointsPerHour >= 34 ? 2 : 3;
  return pointsPerHour >= 44 ? 1 : 2;
}

std::vector<RibbonTick> ticks(const SleepSession& s, const NightFormat& f, const TimeAxis& axis, int step,
                              double width) {
  std::vector<RibbonTick> out;
  if (!(s.end > s.start)) return out;
  const GregorianCalendar calendar(f.timeZone());
  const CivilTime civil = calendar.civil(s.start);
  const double intoHour = civil.minute * 60 + civil.second + (s.start - std::floor(s.start));
  Instant t = intoHour > 0 ? s.start - intoHour + 3600 : s.start;
  // A corrupt session may span centuries: ticks closer than a point apart
  // say nothing, so at most one per point is made.
  const auto most = static_cast<std::size_t>(std::max(width, 0.0)) + 1;
  for (; t <= s.end && out.size() < most; t += 3600) {
    const int hour = calendar.hour(t);
    if (hour % step != 0) continue;
    char label[4];
    std::snprintf(label, sizeof label, "%02d", hour);
    out.push_back({axis.x(t), label});
  }
  return out;
}

// Lines at 45° every kHatchSpacing points along the band's bottom edge,
// clipped to the rectangle, so that neighbouring stretches line up.
std::vector<Segment> hatching(const Rect& r) {
  std::vector<Segment> lines;
  const double h = r.height;
  for (double k = std::floor((r.x - h) / kHatchSpacing) * kHatchSpacing; k < r.right(); k += kHatchSpacing) {
    const double x0 = std::max(k, r.x);
    const double x1 = std::min(k + h, r.right());
    if (x1 <= x0) continue;
    lines.push_back({{x0, r.bottom() - (x0 - k)}, {x1, r.bottom() - (x1 - k)}});
  }
  return lines;
}

double wakeSeconds(const DarkWakeEvent& wake) { return wake.duration.value_or(kUnknownWakeSeconds); }

// Keeps the start label at the band's left end and the end label at its
// right end, and an hour label, centred on its tick, only where it keeps a
// gap from every label already placed.
void placeLabels(RibbonLayout& r, const RibbonOptions& o) {
  const double startRight = o.labelWidth(r.startLabel);
  const double endLeft = r.band.width - o.labelWidth(r.endLabel);
  r.endLabelled = endLeft >= startRight + o.labelGap;
  const double limit = r.endLabelled ? endLeft - o.labelGap : r.band.width;
  double free = startRight + o.labelGap;
  for (RibbonTick& tick : r.ticks) {
    const double w = o.labelWidth(tick.label);
    const double x = tick.x - w / 2;
    tick.labelled = x >= free && x + w <= limit;
    if (tick.labelled) free = x + w + o.labelGap;
  }
}

}  // namespace

std::vector<std::pair<Instant, Instant>> chargerStretches(const SleepSession& s) {
  std::vector<std::pair<Instant, Instant>> merged;
  const auto add = [&](Instant from, Instant to) {
    if (!merged.empty() && from <= merged.back().second) {
      merged.back().second = std::max(merged.back().second, to);
    } else {
      merged.emplace_back(from, to);
    }
  };
  const auto& points = s.battery;
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (points[i - 1].onAC) add(points[i - 1].date, points[i].date);
  }
  if (!points.empty() && points.back().onAC && points.back().date < s.end) add(points.back().date, s.end);
  std::erase_if(merged, [](const auto& stretch) { return stretch.second - stretch.first < kShortestStretch; });
  return merged;
}

RibbonLayout layoutRibbon(const NightReport& night, const NightFormat& f, const RibbonOptions& o) {
  const SleepSession& s = night.session;
  const Language l = f.language();
  const double width = std::max(o.width, 0.0);
  const double bandHeight = std::max(o.bandHeight, 0.0);
  const TimeAxis axis(s, width);

  RibbonLayout r;
  r.band = {0, 0, width, bandHeight};
  r.cornerRadius = o.compact ? 6 : 10;
  r.padding = o.compact ? 4 : 7;
  r.innerHeight = std::max(bandHeight - 2 * r.padding, 0.0);
  r.pointsPerHour = width / std::max(night.duration() / 3600, kShortestHours);
  r.tickStep = tickStep(r.pointsPerHour, o.compact);
  r.ticks = ticks(s, f, axis, r.tickStep, width);

  for (const auto& [from, to] : chargerStretches(s)) {
    const double x0 = axis.x(from);
    const Rect rect{x0, 0, std::max(axis.x(to) - x0, 1.0), bandHeight};
    r.stretches.push_back({from, to, rect, hatching(rect)});
  }

  for (const DarkWakeEvent& wake : s.darkWakes) {
    const double seconds = wakeSeconds(wake);
    const double strength = std::clamp(seconds / kFullWakeSeconds, 0.0, 1.0);
    const double h = r.innerHeight * (0.42 + 0.58 * strength);
    r.wakes.push_back(
        {{axis.x(wake.date), (bandHeight - h) / 2, axis.span(seconds), h}, 0.55 + 0.4 * strength, strength});
  }

  if (!s.battery.empty()) {
    const auto [low, high] = std::minmax_element(s.battery.begin(), s.battery.end(),
                                                 [](const auto& a, const auto& b) { return a.percent < b.percent; });
    const double lo = low->percent;
    const double hi = high->percent;
    const double span = std::max(hi - lo, o.compact ? 10.0 : 12.0);
    const double mid = (lo + hi) / 2;
    for (const BatteryPoint& p : s.battery) {
      r.battery.push_back({axis.x(p.date), r.padding + r.innerHeight * (1 - (p.percent - mid + span / 2) / span)});
    }
    r.firstBattery = BatteryLabel{f.percent(s.battery.front().percent), r.battery.front(), BatteryLabel::Side::leading};
    r.lastBattery = BatteryLabel{f.percent(s.battery.back().percent), r.battery.back(), BatteryLabel::Side::trailing};
  }

  double y = bandHeight + o.tickArea;
  const auto lanes = std::min<std::size_t>(night.groups.size(), static_cast<std::size_t>(std::max(o.laneLimit, 0)));
  for (std::size_t i = 0; i < lanes; ++i) {
    const ReasonGroup& group = night.groups[i];
    RibbonLane lane{
        group.category, std::string(wake_category::title(group.category, l)), {0, y, width, o.laneHeight}, {}};
    for (const DarkWakeEvent& wake : s.darkWakes) {
      if (wake.reason.category != group.category) continue;
      // A mark ends where its lane ends.
      const double x = axis.x(wake.date);
      lane.marks.push_back({x, y + 1, std::max(std::min(axis.span(wakeSeconds(wake)), width - x), 0.0),
                            std::max(o.laneHeight - 2, 0.0)});
    }
    r.lanes.push_back(std::move(lane));
    y += o.laneHeight;
  }
  r.height = y;

  std::vector<std::string> labels = {Bilingual{"awake", "uyanık"}(l), Bilingual{"battery", "pil"}(l)};
  if (night.battery.sawCharger) labels.push_back(Bilingual{"on charger", "şarjda"}(l));
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const double share = (static_cast<double>(i) + 0.5) / static_cast<double>(labels.size());
    r.rowLabels.push_back({labels[i], r.padding + r.innerHeight * share});
  }
  r.startLabel = startLabel(s.sleepReason, l);
  r.endLabel = endLabel(night.wokeBy, l);
  if (o.labelWidth) placeLabels(r, o);
  return r;
}

std::string ribbonSummary(const NightReport& night, const NightFormat& f) {
  const Language l = f.language();
  const std::string wakes = std::to_string(night.darkWakeCount);
  std::string out = l == Language::turkish ? f.duration(night.duration()) + " uyku, " + wakes + " karanlıkta uyanma"
                                           : f.duration(night.duration()) + " asleep, " + wakes + " dark wakes";
  const auto& battery = night.session.battery;
  if (!battery.empty()) {
    const std::string from = f.percent(battery.front().percent), to = f.percent(battery.back().percent);
    out += l == Language::turkish ? ", pil " + from + " → " + to : ", battery " + from + " to " + to;
  }
  return out;
}

}  // namespace snoozlet::presentation
