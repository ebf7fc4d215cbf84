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

  const Language l = f.language();
  if (!newestFirst.empty()) {
    double slot = width / static_cast<double>(newestFirst.size());
    if (o.widestSlot > 0) slot = std::min(slot, o.widestSlot);
    // Narrow bars keep at least three quarters of their slot.
    const double gap = std::min(std::max(o.gap, 0.0), slot / 4);
    // The newest night ends at the right edge.
    double x = width - slot * static_cast<double>(newestFirst.size());
    const ArchivedNight* highest = nullptr;
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it, x += slot) {
      const double h = it->perHour ? scaled(*it->perHour) : 0;
      const std::string day = f.shortDay(f.nightDay(it->start));
      DrainBar bar{it->start, {x + gap / 2, height - h, slot - gap, h}, it->perHour, RatioBand::ordinary,
                   day + " · " + perHourText(it->perHour, f).value_or("—")};
      if (it->perHour && baseline && baseline->percentPerHour > 0) {
        bar.band = ratioBand(*it->perHour / baseline->percentPerHour);
      }
      if (it->perHour && (highest == nullptr || *it->perHour > *highest->perHour)) highest = &*it;
      strip.bars.push_back(bar);
    }
    strip.firstDate = f.shortDay(f.nightDay(newestFirst.back().start));
    strip.lastDate = f.shortDay(f.nightDay(newestFirst.front().start));
    strip.summary = Bilingual{"Battery drain per night, ", "Gece başına pil kaybı, "}(l) + strip.firstDate + " – " +
                    strip.lastDate;
    if (highest != nullptr) {
      strip.summary += l == Language::turkish ? ": en yüksek " + *perHourText(highest->perHour, f) + " (" +
                                                    f.shortDay(f.nightDay(highest->start)) + ")"
                                              : ": highest " + *perHourText(highest->perHour, f) + " on " +
                                                    f.shortDay(f.nightDay(highest->start));
    }
  }
  if (baseline) {
    strip.referenceY = height - scaled(baseline->percentPerHour);
    strip.referenceLabel = "normal " + *perHourText(baseline->percentPerHour, f);
    if (!strip.summary.empty()) strip.summary += ", " + strip.referenceLabel;
  }
  if (!strip.summary.empty()) strip.summary += ".";
  return strip;
}

}  // namespace snoozlet::presentation
