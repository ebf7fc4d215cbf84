#pragma once

// The night ribbon in a terminal, drawn from the same layout as the window's
// ribbon, in two lines as wide as the terminal allows:
//
//   64% ░░▆░░░▃░░░░░░▒▒▒▒░░░█░░░ 55%
//       lid closed  01    03    lid opened
//
// The first line is the band, one column per slice of the night: a block
// character for a dark wake (taller the longer it lasted), "▒" for a stretch
// on the charger, "░" for sleep; the battery's first and last percentages
// stand at its ends. The second line names how the night began and ended,
// with the hour ticks between them where they fit.

#include "analysis/NightReport.h"
#include "narration/NightFormat.h"

#include <cstddef>
#include <string>

namespace snoozlet::ribbon_text {

// Both lines, each ending in a line feed and at most `columns` columns wide;
// nothing when fewer than 20 columns are available.
std::string render(const NightReport& night, const NightFormat& format, std::size_t columns);

// The terminal's width: $COLUMNS, else the width of standard output when it
// is a terminal, else 80.
std::size_t terminalColumns();

}  // namespace snoozlet::ribbon_text
