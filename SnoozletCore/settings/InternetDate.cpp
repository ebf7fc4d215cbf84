#include "settings/InternetDate.h"

#include "common/CivilDate.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace snoozlet::InternetDate {

namespace {

struct Civil {
  std::int64_t year;
  unsigned month, day, hour, minute, second;
};

Civil civilFromInstant(Instant instant) {
  const double whole = std::isfinite(instant) ? std::floor(instant) : 0.0;
  const auto seconds = static_cast<std::int64_t>(whole);
  std::int64_t days = seconds / 86400;
  std::int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  const civil::Date date = civil::civilFromDays(days);
  return {date.year,
          static_cast<unsigned>(date.month),
          static_cast<unsigned>(date.day),
          static_cast<unsigned>(rest / 3600),
          static_cast<unsigned>(rest % 3600 / 60),
          static_cast<unsigned>(rest % 60)};
}

bool isLeap(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned daysInMonth(std::int64_t year, unsigned month) {
  static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeap(year) ? 29 : kDays[month - 1];
}

// Reads exactly `count` ASCII digits at `at`.
std::optional<unsigned> digits(std::string_view text, std::size_t at, std::size_t count) {
  if (at + count > text.size()) return std::nullopt;
  unsigned value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(text[i] - '0');
  }
  return value;
}

bool charAt(std::string_view text, std::size_t at, char expected) { return at < text.size() && text[at] == expected; }

}  // namespace

std::string format(Instant instant) {
  const Civil c = civilFromInstant(instant);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02u:%02u:%02uZ", static_cast<long long>(c.year), c.month,
                c.day, c.hour, c.minute, c.second);
  return buffer;
}

std::string compact(Instant instant) {
  const Civil c = civilFromInstant(instant);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04lld%02u%02uT%02u%02u%02uZ", static_cast<long long>(c.year), c.month, c.day,
                c.hour, c.minute, c.second);
  return buffer;
}

std::optional<Instant> parse(std::string_view text) {
  // yyyy-MM-ddTHH:mm:ss is 19 characters; the zone follows.
  const auto year = digits(text, 0, 4), month = digits(text, 5, 2), day = digits(text, 8, 2);
  const auto hour = digits(text, 11, 2), minute = digits(text, 14, 2), second = digits(text, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  if (!charAt(text, 4, '-') || !charAt(text, 7, '-') || !charAt(text, 13, ':') || !charAt(text, 16, ':')) {
    return std::nullopt;
  }
  if (!charAt(text, 10, 'T') && !charAt(text, 10, 't')) return std::nullopt;
  if (*month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month) || *hour > 23 || *minute > 59 ||
      *second > 59) {
    return std::nullopt;
  }
  const std::string_view zone = text.substr(19);
  std::int64_t offset = 0;
  if (zone == "Z" || zone == "z") {
    offset = 0;
  } else if (zone.size() == 6 && (zone[0] == '+' || zone[0] == '-') && zone[3] == ':') {
    const auto zoneHour = digits(zone, 1, 2), zoneMinute = digits(zone, 4, 2);
    if (!zoneHour || !zoneMinute || *zoneHour > 23 || *zoneMinute > 59) return std::nullopt;
    offset = (zone[0] == '-' ? -1 : 1) * static_cast<std::int64_t>(*zoneHour * 3600 + *zoneMinute * 60);
  } else {
    return std::nullopt;  // fractional seconds, no zone, or anything else
  }
  const std::int64_t days = civil::daysFromCivil(*year, static_cast<int>(*month), static_cast<int>(*day));
  const std::int64_t local = days * 86400 + *hour * 3600 + *minute * 60 + *second;
  // The zone can move a date at either end of the four-digit years out of
  // them; format could not write such an instant back in a form this reads.
  static const std::int64_t first = civil::daysFromCivil(0, 1, 1) * 86400;
  static const std::int64_t last = civil::daysFromCivil(9999, 12, 31) * 86400 + 86399;
  const std::int64_t instant = local - offset;
  if (instant < first || instant > last) return std::nullopt;
  return static_cast<Instant>(instant);
}

Instant now() {
  const auto since = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<Instant>(std::chrono::duration_cast<std::chrono::seconds>(since).count());
}

}  // namespace snoozlet::InternetDate
