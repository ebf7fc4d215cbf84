#pragma once

// The demonstration power log of the simulated Mac: a week of nights whose
// last night has a chosen mood, ending on the day the log was first asked
// for. That day and the mood are kept in the state folder (file "demo"), so
// the log does not rewrite its history when it is read again on later days.

#include "analysis/Mood.h"
#include "common/Instant.h"
#include "common/TimeZone.h"

#include <optional>
#include <string>
#include <string_view>

namespace snoozlet::DemoWeek {

// A calendar day.
struct Day {
  int year = 1970;
  int month = 1;
  int day = 1;
  bool operator==(const Day&) const = default;
};

// Reads "YYYY-MM-DD" (exactly four, two and two ASCII digits) naming a real
// day of the years 1970 to 9999.
std::optional<Day> parseDay(std::string_view text);
// "YYYY-MM-DD".
std::string toString(const Day& day);
// The calendar day of an instant in a zone.
Day dayOf(Instant instant, const TimeZone& zone);

// What the state folder remembers about the week.
struct Record {
  Day endingOn;
  Mood lastNight = Mood::restless;
  bool operator==(const Record&) const = default;
};

// Reads the "demo" file: "day YYYY-MM-DD" and "mood <mood>" lines, in any
// order; blank lines and "#" comments are skipped. Nothing when a line has
// another shape or either entry is missing or invalid.
std::optional<Record> parseRecord(std::string_view text);
// The "demo" file for a record.
std::string recordText(const Record& record);

// The power-log text of the week: DemoLog's week ending on the record's day,
// written in the zone.
std::string logText(const Record& record, const TimeZone& zone);

}  // namespace snoozlet::DemoWeek
