#include "archive/ArchivedNight.h"

#include <functional>

namespace snoozlet {

double ArchivedNight::awakeFraction() const {
  const double d = duration();
  return d > 0 ? awakeSeconds / d : 0;
}

std::optional<BaselineSample> ArchivedNight::baselineSample() const {
  if (kind != SleepKind::night || !perHour || batteryHours < 2.0) return std::nullopt;
  return BaselineSample{start, *perHour, awakeFraction()};
}

ArchivedNight ArchivedNight::from(const NightReport& report) {
  ArchivedNight night;
  night.start = report.session.start;
  night.end = report.session.end;
  night.kind = report.kind;
  night.mood = report.mood;
  night.darkWakes = report.darkWakeCount;
  night.awakeSeconds = report.awakeSeconds;
  if (report.battery.first) night.batteryFirst = report.battery.first->percent;
  if (report.battery.last) night.batteryLast = report.battery.last->percent;
  night.drop = report.battery.drop;
  night.batteryHours = report.battery.batteryHours;
  night.perHour = report.battery.perHour;
  if (const ReasonGroup* top = report.topGroup()) night.topCategory = top->category;
  if (auto culprit = report.culprit()) night.culprit = std::move(culprit->process);
  for (const ReasonGroup& group : report.groups) night.reasons[group.category] = group.count;
  return night;
}

}  // namespace snoozlet

namespace {

template <typename T>
void combine(std::size_t& seed, const T& value) {
  seed ^= std::hash<T>()(value) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

template <typename T>
void combine(std::size_t& seed, const std::optional<T>& value) {
  combine(seed, value.has_value());
  if (value) combine(seed, *value);
}

}  // namespace

std::size_t std::hash<snoozlet::ArchivedNight>::operator()(const snoozlet::ArchivedNight& n) const noexcept {
  std::size_t seed = 0;
  combine(seed, n.start);
  combine(seed, n.end);
  combine(seed, n.kind);
  combine(seed, n.mood);
  combine(seed, n.darkWakes);
  combine(seed, n.awakeSeconds);
  combine(seed, n.batteryFirst);
  combine(seed, n.batteryLast);
  combine(seed, n.drop);
  combine(seed, n.batteryHours);
  combine(seed, n.perHour);
  combine(seed, n.topCategory);
  combine(seed, n.culprit);
  for (const auto& [category, count] : n.reasons) {
    combine(seed, category);
    combine(seed, count);
  }
  return seed;
}
