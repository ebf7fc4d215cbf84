#pragma once

// How every number, duration, clock time and date the user reads is written.
// A NightFormat carries a language and the time zone the nights are shown in;
// hours and days come from the Gregorian calendar of that zone, date texts
// from ICU's localized templates for "en_GB" or "tr_TR". Turkish writes a
// decimal comma and puts the percent sign first.

#include "common/Instant.h"
#include "common/TimeZone.h"
#include "sessions/Language.h"

#include <memory>
#include <string>

namespace snoozlet {

// A value: cheap to copy, copies share their ICU formatters (built once, in
// the constructor). Safe to use from several threads at once: the ICU objects
// are used under a lock of their own.
class NightFormat {
 public:
  NightFormat(Language language, TimeZone timeZone);

  Language language() const { return language_; }
  // The zone of every hour, day and clock computation.
  const TimeZone& timeZone() const { return timeZone_; }

  // Compact duration of seconds: "45 s", "12 min", "7 h", "7 h 12 min" ("sn", "dk", "sa" in Turkish).
  std::string duration(double seconds) const;
  // Duration in words, to the minute below an hour, else to the half hour: "1 minute", "1.5 hours".
  std::string spokenDuration(double seconds) const;
  // "HH:mm" on the 24-hour clock.
  std::string clock(Instant instant) const;
  // The value with `digits` decimals (decimal comma in Turkish).
  std::string decimal(double value, int digits) const;
  // A ratio: the rounded whole number from 10 up, one decimal below: "12", "2.5".
  std::string ratio(double value) const;
  // ratio() followed by "×".
  std::string times(double value) const;
  // "42%" in English, "%42" in Turkish.
  std::string percent(int value) const;
  // A share of a whole (0 to 1, held to that range) as a whole percent: 0.416 → "42%".
  std::string share(double fraction) const;
  // Weekday, day and month name in the locale's order: "Tuesday, 5 December", "5 Aralık Salı".
  std::string longDay(Instant instant) const;
  // Abbreviated weekday, day and month without any comma: "Tue 5 Dec", "5 Aralık Sal".
  std::string shortDay(Instant instant) const;
  // Hour of the day, 0–23.
  int hour(Instant instant) const;
  // True from 18:00 to 04:59.
  bool isNight(Instant instant) const;
  // The day a night belongs to: six hours earlier when the hour is 4 or earlier, else the instant itself.
  Instant nightDay(Instant instant) const;
  // Title of a night starting at the instant ("Tuesday night, 5 December"); the long day outside the night.
  std::string nightTitle(Instant nightStart) const;

  bool operator==(const NightFormat& other) const {
    return language_ == other.language_ && timeZone_ == other.timeZone_;
  }

 private:
  struct Impl;
  Language language_;
  TimeZone timeZone_;
  std::shared_ptr<const Impl> impl_;
};

}  // namespace snoozlet
