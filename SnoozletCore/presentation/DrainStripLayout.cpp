#include "presentation/DrainStripLayout.h"

#include <algorithm>

namespace snoozlet::presentation {

DrainStripLayout layoutDrainStrip(const std::vector<ArchivedNight>& newestFirst,
                                  const std::optional<Baseline>& baseline, const NightFormat& f,
                                  const DrainStripOptions& o) {
  DrainStripLayout strip;
  const double width = std::max(o.width, 0.0);
  const double height = std::max(o.height, 0.0);
  strip.top = baseline ? baseline->percentPerHour : 0;
  for (const ArchivedNight& n : newestFirst) strip.top = std::max(strip.top, n.perHour.value_or(0));
  const auto scaled = [&](double perHour) {
    return strip.top > 0 ? height * std::clamp(perHour / strip.top, 0.0, 1.0) : 0;
  };

  if (!newestFirst.empty()) {
    const double slot = width / static_cast<double>(newestFirst.size());
    // Narrow bars keep at least three quarters of their slot.
    const double gap = std::min(std::max(o.gap, 0.0), slot / 4);
    double x = 0;
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it, x += slot) {
      const double h = it->perHour ? scaled(*it->perHour) : 0;
      DrainBar bar{it->start, {x + gap / 2, height - h, slot - gap, h}, it->perHour, RatioBand::ordinary};
      if (it->perHour && baseline && baseline->percentPerHour > 0) {
        bar.band = ratioBand(*it->perHour / baseline->percentPerHour);
      }
      strip.bars.push_back(bar);
    }
  }
  if (baseline) {
    strip.referenceY = height - scaled(baseline->percentPerHour);
    strip.referenceLabel = "normal " + *perHourText(baseline->percentPerHour, f);
  }
  return strip;
}

}  // namespace snoozlet::presentation
