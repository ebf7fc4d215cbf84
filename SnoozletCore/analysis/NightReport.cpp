#include "analysis/NightReport.h"

#include <algorithm>

namespace snoozlet {

std::string_view toString(SleepKind kind) { return kind == SleepKind::daytimeNap ? "daytimeNap" : "night"; }

std::optional<SleepKind> sleepKindFromString(std::string_view raw) {
  if (raw == "night") return SleepKind::night;
  if (raw == "daytimeNap") return SleepKind::daytimeNap;
  return std::nullopt;
}

namespace sleep_kind {
std::string_view title(SleepKind kind, Language language) {
  const bool tr = language == Language::turkish;
  if (kind == SleepKind::daytimeNap) return tr ? "Gündüz uykusu" : "Daytime nap";
  return tr ? "Gece" : "Night";
}
}  // namespace sleep_kind

BatteryTrend::BatteryTrend(const std::vector<BatteryPoint>& points) {
  if (points.empty()) return;
  first = points.front();
  last = points.back();
  int lost = 0;
  double secondsOnBattery = 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    const BatteryPoint& earlier = points[i - 1];
    const BatteryPoint& later = points[i];
    if (earlier.onAC) continue;
    lost += std::max(earlier.percent - later.percent, 0);
    secondsOnBattery += later.date - earlier.date;
  }
  batteryHours = secondsOnBattery / 3600;
  if (secondsOnBattery > 0) drop = lost;
  if (batteryHours >= 1.0) perHour = lost / batteryHours;
  sawCharger = std::any_of(points.begin(), points.end(), [](const BatteryPoint& p) { return p.onAC; });
}

double NightReport::awakeFraction() const {
  const double d = duration();
  return d > 0 ? awakeSeconds / d : 0;
}

double NightReport::darkWakesPerHour() const {
  const double d = duration();
  return d > 0 ? darkWakeCount / (d / 3600) : 0;
}

const ReasonGroup* NightReport::group(WakeCategory category) const {
  for (const auto& g : groups)
    if (g.category == category) return &g;
  return nullptr;
}

std::optional<BaselineSample> NightReport::baselineSample() const {
  if (kind != SleepKind::night || !battery.perHour || battery.batteryHours < 2.0) return std::nullopt;
  return BaselineSample{session.start, *battery.perHour, awakeFraction()};
}

std::vector<HolderGroup> NightReport::userRequested() const {
  std::vector<HolderGroup> out;
  for (const auto& h : holders)
    if (h.origin == HolderOrigin::userTool && h.heldSeconds >= 600) out.push_back(h);
  return out;
}

std::optional<HolderGroup> NightReport::culprit() const {
  const HolderGroup* best = nullptr;
  for (const auto& h : holders) {
    if (h.origin != HolderOrigin::app || h.type != "PreventSystemSleep" || h.heldSeconds < 600) continue;
    if (best == nullptr || h.heldSeconds > best->heldSeconds) best = &h;
  }
  if (best == nullptr) return std::nullopt;
  return *best;
}

}  // namespace snoozlet
