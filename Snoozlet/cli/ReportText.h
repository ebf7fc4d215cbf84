#pragma once

// The morning report as terminal text: each night shown with its title, mood,
// the mascot's speech (or the plain summary) and a line of figures, then a
// table of all nights.

#include "analysis/NightAnalyzer.h"
#include "archive/BatteryHealth.h"
#include "narration/Narrator.h"

#include <string>

namespace snoozlet::report_text {

struct Options {
  bool plain = false;  // the plain summary instead of the speech
  bool all = false;    // every night and nap, not only the last night
};

std::string render(const SleepAnalysis& analysis, const Narrator& narrator, const Options& options);

// One night: title, mood, morning text, figures.
std::string night(const NightReport& report, const Narrator& narrator, bool plain);
// "Asleep 7 h 41 min · 58 dark wakes · awake 9 min · battery 78% → 75% (0.4 pts/h)".
std::string figures(const NightReport& report, const NightFormat& format);
// "Battery health: 86% of its original capacity · 312 cycles · 78% · charging".
std::string batteryHealth(const BatteryHealth& battery, Language language);
// A table of every report, oldest first.
std::string table(const SleepAnalysis& analysis, const NightFormat& format);

}  // namespace snoozlet::report_text
