#pragma once

// From sessions to nights with a verdict:
//   sessions → (kind, report) per kept session → baseline from archived and
//   new samples → ratio and mood per report → SleepAnalysis.

#include "analysis/Baseline.h"
#include "analysis/NightReport.h"
#include "common/TimeZone.h"
#include "sessions/LogReader.h"

#include <optional>
#include <string_view>
#include <vector>

namespace snoozlet {

// Every report of a read, oldest first, with the baseline and the period of
// log the analysis saw.
struct SleepAnalysis {
  std::vector<NightReport> reports;
  std::optional<Baseline> baseline;
  std::optional<Instant> coveredFrom;
  std::optional<Instant> coveredTo;

  std::vector<NightReport> nights() const;
  std::vector<NightReport> naps() const;
  // The latest report of kind night.
  const NightReport* lastNight() const;

  bool operator==(const SleepAnalysis&) const = default;
};

namespace NightAnalyzer {

// The shortest session the reader and log entry points analyse.
inline constexpr double minimumNight = 7200;

// A night when the session's middle falls before 09:00 or after 18:59, or
// when it covers an hour or more of some day's 01:00–05:00 window.
SleepKind kind(const SleepSession& session, const TimeZone& timeZone);

// The report of one session: mood `soundAsleep`, no reasons, no ratio.
NightReport report(const SleepSession& session, SleepKind kind);

// Analyses the complete, long-enough sessions with the stored samples of
// earlier nights as history.
SleepAnalysis analyze(const std::vector<SleepSession>& sessions, const TimeZone& timeZone,
                      const std::vector<BaselineSample>& history, double minimum);
// The same, moving the kept sessions into their reports.
SleepAnalysis analyze(std::vector<SleepSession>&& sessions, const TimeZone& timeZone,
                      const std::vector<BaselineSample>& history, double minimum);
// The reader's sessions, covering what the reader's log covers.
SleepAnalysis analyze(const LogReader& reader, const TimeZone& timeZone, const std::vector<BaselineSample>& history);
// A reader that is no longer needed: its sessions move into the reports, so
// a long log is held once, not twice.
SleepAnalysis analyze(LogReader&& reader, const TimeZone& timeZone, const std::vector<BaselineSample>& history);
// A whole log text, read by a fresh reader.
SleepAnalysis analyze(std::string_view log, const TimeZone& timeZone, const std::vector<BaselineSample>& history);

}  // namespace NightAnalyzer

}  // namespace snoozlet
