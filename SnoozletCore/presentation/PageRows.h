#pragma once

// The rows of the main window's pages and sidebar, decided once for the
// windows and the terminal: the history table's cells, the battery page's
// rows, the sidebar's details, and the texts those pages open with.

#include "analysis/Baseline.h"
#include "analysis/NightAnalyzer.h"
#include "archive/ArchivedNight.h"
#include "archive/BatteryHealth.h"
#include "archive/NightArchive.h"
#include "common/NightSource.h"
#include "narration/NightFormat.h"
#include "settings/SettingFinding.h"

#include <optional>
#include <string>
#include <vector>

namespace snoozlet::presentation {

// One night in the columns of every table of nights, the history page's
// and the terminal's (Night, Asleep, Wakes, Awake, Battery, Mostly, Mood).
struct HistoryRow {
  std::string night, asleep, wakes, awake, battery, mostly, mood;
  bool operator==(const HistoryRow&) const = default;
};

HistoryRow historyRow(const ArchivedNight& night, const NightFormat& format, NightSource source = NightSource::pmset);
// A night of the analysis, as it will be archived.
HistoryRow historyRow(const NightReport& night, const NightFormat& format, NightSource source = NightSource::pmset);
// The column titles.
HistoryRow historyHeader(Language language);

// The history page's opening lines.
struct HistoryHeading {
  std::string title;
  std::string line;
  // "This Mac · since Monday, 30 November", or "This Mac" with no nights.
  std::string since;
  // "The first nights will appear here tomorrow morning." with no nights.
  std::optional<std::string> empty;
  // "Battery drain per night".
  std::string stripTitle;
};

HistoryHeading historyHeading(const std::vector<ArchivedNight>& newestFirst, const NightFormat& format,
                              NightSource source = NightSource::pmset);

// One row of the battery page: a value, its caption and a detail line.
struct BatteryRow {
  // "capacity", "cycles", "charge", "temperature", "voltage", "normal".
  std::string name;
  std::string value, caption;
  std::optional<std::string> detail;
  bool operator==(const BatteryRow&) const = default;
};

// The rows in the page's order, each left out when its value is missing;
// none without a battery.
std::vector<BatteryRow> batteryRows(const std::optional<BatteryHealth>& battery,
                                    const std::optional<Baseline>& baseline, const NightFormat& format);

struct BatteryHeading {
  std::string title;
  std::string subtitle;
  // The sentence shown instead of rows on a Mac without a battery.
  std::optional<std::string> noBattery;
};

BatteryHeading batteryHeading(bool hasBattery, Language language, NightSource source = NightSource::pmset);

// "This Mac", or "This laptop" for a Linux laptop's journal.
std::string thisMachine(NightSource source, Language language);
// "This Mac’s normal: 0.4/h over 6 nights." (the laptop's, for the journal).
std::string machineNormal(NightSource source, const std::string& rate, int nights, Language language);
// Under a night: where its facts come from and whose clock its times are.
std::string nightFootnote(NightSource source, Language language);

// The sidebar's details: "All fine" / "3 worth a look" ("Not read" for a
// Linux laptop whose settings could not be read), "86% capacity"
// (only with both capacities known and a design capacity of at least 1),
// "12 sleeps".
std::string settingsDetail(const std::vector<SettingFinding>& findings, Language language,
                           NightSource source = NightSource::pmset);
std::optional<std::string> batteryDetail(const std::optional<BatteryHealth>& battery, const NightFormat& format);
std::string historyDetail(std::size_t archivedNights, Language language);
// "Log from Mon 30 Nov to Sun 6 Dec"; "Reading the sleep log…" before anything
// was read, "The sleep log is empty" after reading nothing.
// `failed`: the first read failed, so nothing is being read any more.
std::string logSpan(const std::optional<SleepAnalysis>& analysis, const NightFormat& format, bool failed = false);

// The one sentence that tells why the nights are not being kept (with the
// file's path and the error's text), or where a damaged archive went and
// that a new one keeps them from now on.
std::string archiveProblemSentence(const ArchiveProblem& problem, Language language);

// What the night page and the popover say when there is no night to show:
// reading (before the first analysis), why the log could not be read (a
// failed first refresh), or that the log holds no long sleep yet.
struct EmptyNight {
  std::string title;
  // The reason or the advice under the title; absent while reading.
  std::optional<std::string> line;
  // The log could not be read: the line is the reason.
  bool failed = false;
  // The popover's one line: the title, with the reason after it when the
  // log could not be read.
  std::string sentence() const { return failed && line ? title + ": " + *line : title; }
  bool operator==(const EmptyNight&) const = default;
};

// `failure` is the last refresh's error, when it failed.
EmptyNight emptyNight(const std::optional<SleepAnalysis>& analysis, const std::optional<std::string>& failure,
                      Language language);

}  // namespace snoozlet::presentation
