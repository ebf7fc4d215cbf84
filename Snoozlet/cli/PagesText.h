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

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace snoozlet::pages_text {

struct HistoryRow {
  std::string night, asleep, wakes, awake, battery, mostly;
  bool operator==(const HistoryRow&) const = default;
};

// One archived night in the table's columns.
HistoryRow historyRow(const ArchivedNight& night, const NightFormat& format);
// "−3 · 0.4/h", "0", "on AC" (no drop, or under half an hour on battery).
std::string nightBattery(const ArchivedNight& night, const NightFormat& format);
// One bar per night from oldest to newest ("·" for a night without a drain),
// in lines of at most `width` bars; the bars' top is the largest drain or the
// normal, whichever is higher.
std::string drainStrip(const std::vector<ArchivedNight>& newestFirst, const std::optional<Baseline>& baseline,
                       std::size_t width = 60);
// The page; `history` newest first.
std::string history(const std::vector<ArchivedNight>& history, const std::optional<Baseline>& baseline,
                    const NightFormat& format);
void historyJson(std::ostream& out, const std::vector<ArchivedNight>& history, const std::optional<Baseline>& baseline);

struct BatteryRow {
  // "capacity", "cycles", "charge", "temperature", "voltage", "normal".
  std::string name;
  std::string value, caption;
  std::optional<std::string> detail;
  bool operator==(const BatteryRow&) const = default;
};

// The rows of the page; none without a battery.
std::vector<BatteryRow> batteryRows(const std::optional<BatteryHealth>& battery,
                                    const std::optional<Baseline>& baseline, const NightFormat& format);
std::string battery(const std::optional<BatteryHealth>& battery, const std::optional<Baseline>& baseline,
                    const NightFormat& format);
void batteryJson(std::ostream& out, const std::optional<BatteryHealth>& battery,
                 const std::optional<Baseline>& baseline, const NightFormat& format);

}  // namespace snoozlet::pages_text
