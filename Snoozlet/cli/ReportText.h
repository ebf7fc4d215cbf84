#pragma once

// The morning report as terminal text: each night shown with its title, mood,
// the mascot's speech (or the plain summary) and a line of figures, then a
// table of all nights.

#include "analysis/NightAnalyzer.h"
#include "archive/BatteryHealth.h"
#include "common/NightSource.h"
#include "narration/Narrator.h"
#include "presentation/PageRows.h"

#include <cstddef>
#include <string>
#include <vector>

namespace snoozlet::report_text {

struct Options {
  bool plain = false;   // the plain summary instead of the speech
  bool all = false;     // every night and nap, not only the last night
  bool ribbon = false;  // each night's ribbon under its figures
  // The terminal's width, for the ribbon.
  std::size_t columns = 80;
  // Names the machine: "This Mac’s normal" or "This laptop’s normal".
  NightSource source = NightSource::pmset;
};

std::string render(const SleepAnalysis& analysis, const Narrator& narrator, const Options& options);

// One night: title, mood, morning text, figures, and the ribbon when asked.
std::string night(const NightReport& report, const Narrator& narrator, const Options& options);
// "7 h 41 min asleep · 58 dark wakes, awake in the dark (9 min) · −9 battery
// points · 1.1 an hour · 2.9× normal".
std::string figures(const NightReport& report, const NightFormat& format, NightSource source = NightSource::pmset);
// "Battery health: 86% of its original capacity · 312 charge cycles · 78% charged now · Charging.".
std::string batteryHealth(const BatteryHealth& battery, const NightFormat& format);
// A table of every report, oldest first, in the columns of every table of nights.
std::string table(const SleepAnalysis& analysis, const NightFormat& format, NightSource source = NightSource::pmset);
// Rows of nights under their header, each column as wide as its widest cell
// (the wakes right-aligned).
std::string nightTable(const std::vector<presentation::HistoryRow>& rows, const presentation::HistoryRow& header);

}  // namespace snoozlet::report_text
