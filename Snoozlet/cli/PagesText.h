#pragma once

// The history and battery pages in the terminal, and as JSON.
//
// History: every archived night, newest first, in the page's columns (Night,
// Asleep, Wakes, Awake, Battery, Mostly), then the drain per night as a strip
// of bars, oldest to newest, with this Mac's normal.
// Battery: one row per known figure (capacity, cycles, charge, temperature,
// voltage, the normal drain), each a value, a caption and a detail line.

#include "analysis/Baseline.h"
#include "archive/ArchivedNight.h"
#include "archive/BatteryHealth.h"
#include "narration/NightFormat.h"
#include "presentation/PageRows.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace snoozlet::pages_text {

// One bar per night from oldest to newest ("·" for a night without a drain),
// in lines of at most `width` bars; the bars' top is the largest drain or the
// normal, whichever is higher; then the normal's label ("normal 1.1/h").
std::string drainStrip(const std::vector<ArchivedNight>& newestFirst, const std::optional<Baseline>& baseline,
                       const NightFormat& format, std::size_t width = 60);
// The page; `history` newest first.
std::string history(NightSource source, const std::vector<ArchivedNight>& history,
                    const std::optional<Baseline>& baseline, const NightFormat& format);
void historyJson(std::ostream& out, const std::vector<ArchivedNight>& history, const std::optional<Baseline>& baseline,
                 const std::optional<ArchiveProblem>& archive = std::nullopt, Language language = Language::english);

std::string battery(NightSource source, const std::optional<BatteryHealth>& battery,
                    const std::optional<Baseline>& baseline, const NightFormat& format);
void batteryJson(std::ostream& out, const std::optional<BatteryHealth>& battery,
                 const std::optional<Baseline>& baseline, const NightFormat& format);

}  // namespace snoozlet::pages_text
