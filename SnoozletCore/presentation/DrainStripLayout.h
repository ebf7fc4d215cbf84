#pragma once

// The geometry of the drain strip: one bar per archived night, oldest on the
// left and the newest at the right edge, its height the night's drain per
// hour on a scale whose top is the tallest bar or the normal, whichever is
// higher; a reference line at the normal, labelled "normal 1.1/h". Bars are
// no wider than the widest allowed, so a week reads as a week and not as
// seven blocks; each bar carries its own words ("Sat 5 Dec · 1.1/h"), and the
// strip its dates and a sentence that says what it shows.

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
  // "Sat 5 Dec · 1.1/h", or "Sat 5 Dec · —" without a figure.
  std::string label;
  bool operator==(const DrainBar&) const = default;
};

struct DrainStripLayout {
  std::vector<DrainBar> bars;
  // The drain at the top of the scale; 0 when no night has one and there is no normal.
  double top = 0;
  // The normal's height and label; absent without a baseline.
  std::optional<double> referenceY;
  std::string referenceLabel;
  // The oldest and the newest night's dates, under the strip's two ends.
  std::string firstDate, lastDate;
  // What the strip shows, in one sentence (for a screen reader): the nights'
  // span, the highest drain and its night, and the normal.
  std::string summary;
  bool operator==(const DrainStripLayout&) const = default;
};

struct DrainStripOptions {
  double width = 600;
  double height = 80;
  // Room between two bars; less when the bars are narrow.
  double gap = 2;
  // The widest a bar's slot may be; 0 for no limit.
  double widestSlot = 0;
};

DrainStripLayout layoutDrainStrip(const std::vector<ArchivedNight>& newestFirst,
                                  const std::optional<Baseline>& baseline, const NightFormat& format,
                                  const DrainStripOptions& options);

}  // namespace snoozlet::presentation
