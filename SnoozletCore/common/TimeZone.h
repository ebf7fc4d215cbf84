#pragma once

// Time zones and Gregorian calendar arithmetic, backed by ICU (real tz data,
// days with a clock change handled by the calendar, not by adding 86400).

#include "common/Instant.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class TimeZone;
U_NAMESPACE_END

namespace snoozlet {

// An IANA time zone as a value. Cheap to copy (the ICU zone is shared and
// never mutated).
class TimeZone {
 public:
  // The zone with this IANA identifier ("Europe/Istanbul"), or nothing when
  // ICU does not know it.
  static std::optional<TimeZone> named(std::string_view identifier);
  // The system's current zone (TZ, /etc/localtime).
  static TimeZone current();
  static TimeZone utc();

  const std::string& identifier() const { return identifier_; }
  // Seconds east of UTC in force at the instant (daylight saving included).
  int offsetAt(Instant instant) const;
  const icu::TimeZone& icuZone() const { return *zone_; }

  bool operator==(const TimeZone& other) const { return identifier_ == other.identifier_; }

 private:
  TimeZone(std::shared_ptr<const icu::TimeZone> zone, std::string identifier);
  std::shared_ptr<const icu::TimeZone> zone_;
  std::string identifier_;
};

// Calendar fields of an instant in a zone.
struct CivilTime {
  int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  int weekday = 5;  // 1 = Sunday … 7 = Saturday
  bool operator==(const CivilTime&) const = default;
};

// Date components as a caller gives them; absent fields take their smallest value.
struct DateComponents {
  std::optional<int> year, month, day, hour, minute, second;
  bool operator==(const DateComponents&) const = default;
};

// A Gregorian calendar in one zone. Creating one costs an ICU calendar;
// reuse it within a computation.
class GregorianCalendar {
 public:
  explicit GregorianCalendar(const TimeZone& zone);
  ~GregorianCalendar();
  GregorianCalendar(const GregorianCalendar&) = delete;
  GregorianCalendar& operator=(const GregorianCalendar&) = delete;

  CivilTime civil(Instant instant) const;
  int hour(Instant instant) const;
  // The first instant of the calendar day that holds `instant` (not always
  // 00:00: where midnight is skipped the day starts at 01:00).
  Instant startOfDay(Instant instant) const;
  // The start of the day `days` calendar days after the day of `instant`, or
  // nothing when the calendar cannot compute it.
  std::optional<Instant> addingDays(Instant instant, int days) const;
  // The instant of the given components (out-of-range values roll over, as
  // day 0 becoming the last day of the previous month), or nothing when the
  // calendar rejects them.
  std::optional<Instant> instant(const DateComponents& components) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace snoozlet
