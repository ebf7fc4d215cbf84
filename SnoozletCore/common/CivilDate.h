#pragma once

// Proleptic Gregorian dates as counts of days since 1970-01-01, after Howard
// Hinnant's algorithms. For the places that read or write dates by hand
// because ICU would cost more than the rest of the line: the log scanner's
// stamps, the demonstration log, the journal's dates and the log generator.

#include <charconv>
#include <cstdint>
#include <string>

namespace snoozlet::civil {

// Division rounding towards negative infinity (b > 0).
constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

struct Date {
  std::int64_t year;  // astronomical: 0 is 1 BC
  int month;          // 1…12
  int day;            // 1…31
  bool operator==(const Date&) const = default;
};

// Days from 1970-01-01 to the date; months and days outside their ranges are
// not checked (callers validate them first).
constexpr std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = floorDiv(year, 400);
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

// The date `days` days after 1970-01-01.
constexpr Date civilFromDays(std::int64_t days) {
  const std::int64_t z = days + 719468;
  const std::int64_t era = floorDiv(z, 146097);
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Appends `value` zero-padded to `width` digits (more when it needs them),
// after a minus sign when negative.
inline void appendPadded(std::string& out, std::int64_t value, int width) {
  if (value < 0) {
    out.push_back('-');
    value = -value;
  }
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  for (auto digits = result.ptr - buffer; digits < width; ++digits) out.push_back('0');
  out.append(buffer, result.ptr);
}

// Appends "yyyy-MM-dd HH:mm:ss" for a count of local seconds since 1970, as
// the power log writes it; "yyyy" is the year of the era (1 BC, 2 BC … for
// the years 0, −1 …).
inline void appendDateTime(std::string& out, std::int64_t localSeconds) {
  const std::int64_t days = floorDiv(localSeconds, 86400);
  const std::int64_t ofDay = localSeconds - days * 86400;
  const Date date = civilFromDays(days);
  appendPadded(out, date.year > 0 ? date.year : 1 - date.year, 4);
  out.push_back('-');
  appendPadded(out, date.month, 2);
  out.push_back('-');
  appendPadded(out, date.day, 2);
  out.push_back(' ');
  appendPadded(out, ofDay / 3600, 2);
  out.push_back(':');
  appendPadded(out, ofDay / 60 % 60, 2);
  out.push_back(':');
  appendPadded(out, ofDay % 60, 2);
}

}  // namespace snoozlet::civil
