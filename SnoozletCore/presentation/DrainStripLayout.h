#pragma once

// The geometry of the drain strip: one bar per archived night, oldest on the
// left, its height the night's drain per hour on a scale whose top is the
// tallest bar or the normal, whichever is higher; a reference line at the
// normal, labelled "normal 1.1/h".

#include "analysis/Baseline.h"
#include "archive/ArchivedNight.h"
#include "narration/NightFormat.h"
#include "presentation/NightFigures.h"
#include "presentation/RibbonLayout.h"

#include <optional>
#include <string>
#include <vector>

namespace snoozlet::presentation {

struct DrainBar {
  Instant start = 0;
  // Standing on the strip's bottom edge; height 0 for a night without a
  // per-hour figure (too short on battery, or on the charger).
  Rect rect;
  std::optional<double> perHour;
  // The night against the normal (ordinary without a normal).
  RatioBand band = RatioBand::ordinary;
  bool operator==(const DrainBar&) const = default;
};

struct DrainStripLayout {
  std::vector<DrainBar> bars;
  // The drain at the top of the scale; 0 when no night has one and there is no normal.
  double top = 0;
  // The normal's height and label; absent without a baseline.
  std::optional<double> referenceY;
  std::string referenceLabel;
  bool operator==(const DrainStripLayout&) const = default;
};

struct DrainStripOptions {
  double width = 600;
  double height = 80;
  // Room between two bars; less when the bars are narrow.
  double gap = 2;
};

DrainStripLayout layoutDrainStrip(const std::vector<ArchivedNight>& newestFirst,
                                  const std::optional<Baseline>& baseline, const NightFormat& format,
                                  const DrainStripOptions& options);

}  // namespace snoozlet::presentation
