#pragma once

// The machine-readable morning report: every field of every night report and
// of its session, with the speech and the plain summary, as one JSON document
// written night by night. Instants are seconds since 1970; absent values are
// null.

#include "analysis/NightAnalyzer.h"
#include "archive/BatteryHealth.h"
#include "archive/NightArchive.h"
#include "cli/JsonWriter.h"
#include "narration/Narrator.h"

#include <optional>
#include <ostream>

namespace snoozlet::report_json {

// The whole document; `battery` is the machine's battery health (null when
// the log came from a file), `archive` why the nights were not kept (null when
// they were).
void write(std::ostream& out, const SleepAnalysis& analysis, const Narrator& narrator,
           const std::optional<BatteryHealth>& battery, const std::optional<ArchiveProblem>& archive = std::nullopt);

void report(JsonWriter& json, const NightReport& report, const Narrator& narrator);
void batteryHealth(JsonWriter& json, const BatteryHealth& battery);
// The baseline's three figures, or null.
void baseline(JsonWriter& json, const std::optional<Baseline>& baseline);
// The archive's problem ("file", "reason", "keptAside" and the sentence as
// "message"), or null.
void archiveProblem(JsonWriter& json, const std::optional<ArchiveProblem>& problem, Language language);

}  // namespace snoozlet::report_json
