#include "common/TimeZone.h"

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <cmath>

namespace snoozlet {

namespace {

constexpr double kMillis = 1000.0;

std::string idOf(const icu::TimeZone& zone) {
  icu::UnicodeString id;
  zone.getID(id);
  std::string out;
  id.toUTF8String(out);
  return out;
}

}  // namespace

TimeZone::TimeZone(std::shared_ptr<const icu::TimeZone> zone, std::string identifier)
    : zone_(std::move(zone)), identifier_(std::move(identifier)) {}

std::optional<TimeZone> TimeZone::named(std::string_view identifier) {
  const auto id = icu::UnicodeString::fromUTF8(icu::StringPiece(identifier.data(), static_cast<int32_t>(identifier.size())));
  std::shared_ptr<const icu::TimeZone> zone(icu::TimeZone::createTimeZone(id));
  if (!zone) return std::nullopt;
  const std::string resolved = idOf(*zone);
  if (resolved == "Etc/Unknown") return std::nullopt;
  return TimeZone(std::move(zone), std::string(identifier));
}

TimeZone TimeZone::current() {
  std::shared_ptr<const icu::TimeZone> zone(icu::TimeZone::detectHostTimeZone());
  if (!zone) return utc();
  std::string id = idOf(*zone);
  if (id == "Etc/Unknown") return utc();
  return TimeZone(std::move(zone), std::move(id));
}

TimeZone TimeZone::utc() {
  std::shared_ptr<const icu::TimeZone> zone(icu::TimeZone::getGMT()->clone());
  return TimeZone(std::move(zone), "UTC");
}

int TimeZone::offsetAt(Instant instant) const {
  int32_t raw = 0, dst = 0;
  UErrorCode status = U_ZERO_ERROR;
  zone_->getOffset(instant * kMillis, false, raw, dst, status);
  if (U_FAILURE(status)) return 0;
  return (raw + dst) / 1000;
}

struct GregorianCalendar::Impl {
  std::unique_ptr<icu::GregorianCalendar> calendar;
};

GregorianCalendar::GregorianCalendar(const TimeZone& zone) : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->calendar = std::make_unique<icu::GregorianCalendar>(zone.icuZone(), status);
  // Proleptic Gregorian: no switch to the Julian calendar in 1582.
  impl_->calendar->setGregorianChange(-8.64e15, status);
  impl_->calendar->setLenient(true);
}

GregorianCalendar::~GregorianCalendar() = default;

CivilTime GregorianCalendar::civil(Instant instant) const {
  auto& cal = *impl_->calendar;
  UErrorCode status = U_ZERO_ERROR;
  cal.setTime(instant * kMillis, status);
  CivilTime t;
  t.year = cal.get(UCAL_EXTENDED_YEAR, status);
  t.month = cal.get(UCAL_MONTH, status) + 1;
  t.day = cal.get(UCAL_DATE, status);
  t.hour = cal.get(UCAL_HOUR_OF_DAY, status);
  t.minute = cal.get(UCAL_MINUTE, status);
  t.second = cal.get(UCAL_SECOND, status);
  t.weekday = cal.get(UCAL_DAY_OF_WEEK, status);
  return t;
}

int GregorianCalendar::hour(Instant instant) const {
  auto& cal = *impl_->calendar;
  UErrorCode status = U_ZERO_ERROR;
  cal.setTime(instant * kMillis, status);
  const int h = cal.get(UCAL_HOUR_OF_DAY, status);
  return U_SUCCESS(status) ? h : 0;
}

Instant GregorianCalendar::startOfDay(Instant instant) const {
  auto& cal = *impl_->calendar;
  UErrorCode status = U_ZERO_ERROR;
  cal.setTime(instant * kMillis, status);
  const int year = cal.get(UCAL_EXTENDED_YEAR, status);
  const int month = cal.get(UCAL_MONTH, status);
  const int day = cal.get(UCAL_DATE, status);
  cal.clear();
  cal.set(UCAL_EXTENDED_YEAR, year);
  cal.set(UCAL_MONTH, month);
  cal.set(UCAL_DATE, day);
  // Where midnight does not exist the lenient calendar moves forward to the
  // first valid wall time, which is the start of that day.
  const UDate start = cal.getTime(status);
  if (U_FAILURE(status)) return std::floor(instant / 86400.0) * 86400.0;
  return start / kMillis;
}

std::optional<Instant> GregorianCalendar::addingDays(Instant instant, int days) const {
  auto& cal = *impl_->calendar;
  UErrorCode status = U_ZERO_ERROR;
  cal.setTime(startOfDay(instant) * kMillis, status);
  cal.add(UCAL_DATE, days, status);
  const UDate moved = cal.getTime(status);
  if (U_FAILURE(status)) return std::nullopt;
  return startOfDay(moved / kMillis);
}

std::optional<Instant> GregorianCalendar::instant(const DateComponents& c) const {
  auto& cal = *impl_->calendar;
  UErrorCode status = U_ZERO_ERROR;
  cal.clear();
  cal.set(UCAL_EXTENDED_YEAR, c.year.value_or(1));
  cal.set(UCAL_MONTH, c.month.value_or(1) - 1);
  cal.set(UCAL_DATE, c.day.value_or(1));
  cal.set(UCAL_HOUR_OF_DAY, c.hour.value_or(0));
  cal.set(UCAL_MINUTE, c.minute.value_or(0));
  cal.set(UCAL_SECOND, c.second.value_or(0));
  const UDate when = cal.getTime(status);
  if (U_FAILURE(status)) return std::nullopt;
  return when / kMillis;
}

}  // namespace snoozlet
