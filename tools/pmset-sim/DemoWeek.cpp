#include "DemoWeek.h"

#include "common/Text.h"
#include "demo/DemoLog.h"

#include <cstdio>

namespace snoozlet::DemoWeek {

namespace {

// The value of a run of ASCII digits, or -1 when any character is not one.
int digits(std::string_view text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

std::optional<Day> parseDay(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const int year = digits(text.substr(0, 4));
  const int month = digits(text.substr(5, 2));
  const int day = digits(text.substr(8, 2));
  if (year < 1970 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month)) return std::nullopt;
  return Day{year, month, day};
}

std::string toString(const Day& day) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", day.year, day.month, day.day);
  return buffer;
}

Day dayOf(Instant instant, const TimeZone& zone) {
  const CivilTime civil = GregorianCalendar(zone).civil(instant);
  return Day{civil.year, civil.month, civil.day};
}

std::optional<Record> parseRecord(std::string_view textIn) {
  std::optional<Day> day;
  std::optional<Mood> mood;
  for (std::string_view line : text::split(textIn, '\n')) {
    line = text::trimWhitespace(line);
    if (line.empty() || line.front() == '#') continue;
    const auto pieces = text::split(line, ' ', 1, true);
    if (pieces.size() != 2) return std::nullopt;
    const std::string_view value = text::trimBlanks(pieces[1]);
    if (pieces[0] == "day" && !day) {
      day = parseDay(value);
      if (!day) return std::nullopt;
    } else if (pieces[0] == "mood" && !mood) {
      mood = moodFromString(value);
      if (!mood) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (!day || !mood) return std::nullopt;
  return Record{*day, *mood};
}

std::string recordText(const Record& record) {
  return "# snoozlet-pmset demonstration week: the day it ends and the mood of its last night\n"
         "day " +
         toString(record.endingOn) + "\nmood " + std::string(snoozlet::toString(record.lastNight)) + "\n";
}

std::string logText(const Record& record, const TimeZone& zone) {
  const DateComponents endingOn{record.endingOn.year, record.endingOn.month, record.endingOn.day, {}, {}, {}};
  return DemoLog::text(DemoLog::week(endingOn, record.lastNight), zone);
}

}  // namespace snoozlet::DemoWeek
