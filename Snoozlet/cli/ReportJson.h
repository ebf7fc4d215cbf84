#pragma once

// The machine-readable morning report: every field of every night report and
// of its session, with the speech and the plain summary, as one JSON document.
// Instants are seconds since 1970; absent values are null.

#include "analysis/NightAnalyzer.h"
#include "archive/BatteryHealth.h"
#include "narration/Narrator.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace snoozlet::report_json {

nlohmann::json analysis(const SleepAnalysis& analysis, const Narrator& narrator);

// Writes the same document as analysis(), pretty-printed, one report at a
// time, so memory holds one report's JSON rather than the whole document's;
// `extra` members are added at the top level.
void write(std::ostream& out, const SleepAnalysis& analysis, const Narrator& narrator, const nlohmann::json& extra);
nlohmann::json report(const NightReport& report, const Narrator& narrator);
nlohmann::json batteryHealth(const BatteryHealth& battery);

}  // namespace snoozlet::report_json
