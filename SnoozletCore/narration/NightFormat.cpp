#include "narration/NightFormat.h"

#include "common/Text.h"

#include <unicode/dtptngen.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <mutex>

namespace snoozlet {

namespace {

// The localized date templates: the locale decides the order of the fields
// and the punctuation between them.
enum Template { kLongDay, kShortDay, kWeekday, kDayMonth, kTemplateCount };

constexpr std::array<const char*, kTemplateCount> kSkeletons = {"EEEEdMMMM", "EEEdMMM", "EEEE", "dMMMM"};
// Used only when the locale data cannot turn a template into a pattern.
constexpr std::array<const char*, kTemplateCount> kFallbackPatterns = {"EEEE d MMMM", "EEE d MMM", "EEEE", "d MMMM"};

// Longest duration written, in seconds (about 31 million years): keeps the
// integer arithmetic exact for any finite input.
constexpr double kLongestDuration = 1e15;

std::unique_ptr<icu::SimpleDateFormat> makeFormatter(const icu::Locale& locale, const TimeZone& zone,
                                                     icu::DateTimePatternGenerator* generator, Template which) {
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString pattern;
  if (generator != nullptr) pattern = generator->getBestPattern(icu::UnicodeString(kSkeletons[which]), status);
  if (generator == nullptr || U_FAILURE(status) || pattern.isEmpty()) {
    pattern = icu::UnicodeString(kFallbackPatterns[which]);
  }
  status = U_ZERO_ERROR;
  auto format = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
  if (U_FAILURE(status)) return nullptr;
  auto* calendar = new icu::GregorianCalendar(zone.icuZone(), locale, status);
  if (U_FAILURE(status)) {
    delete calendar;
    format->setTimeZone(zone.icuZone());
  } else {
    format->adoptCalendar(calendar);
  }
  return format;
}

// Seconds rounded half away from zero to a whole number; anything negative or
// not a number counts as no time at all.
long long wholeSeconds(double seconds) {
  const double rounded = std::round(seconds);
  if (!(rounded > 0)) return 0;
  return static_cast<long long>(std::min(rounded, kLongestDuration));
}

}  // namespace

// The ICU objects of one format. ICU's calendar and formatters change inside
// while they compute, so every use holds the lock.
struct NightFormat::Impl {
  Impl(Language language, const TimeZone& zone) : calendar(zone) {
    const icu::Locale locale(language == Language::turkish ? "tr_TR" : "en_GB");
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(locale, status));
    if (U_FAILURE(status)) generator.reset();
    for (int which = 0; which < kTemplateCount; ++which) {
      formatters[which] = makeFormatter(locale, zone, generator.get(), static_cast<Template>(which));
    }
  }

  std::string format(Template which, Instant instant) const {
    if (!std::isfinite(instant) || !formatters[which]) return {};
    icu::UnicodeString text;
    {
      const std::lock_guard lock(mutex);
      formatters[which]->format(instant * 1000.0, text);
    }
    std::string out;
    text.toUTF8String(out);
    return out;
  }

  CivilTime civil(Instant instant) const {
    const std::lock_guard lock(mutex);
    return calendar.civil(instant);
  }

  mutable std::mutex mutex;
  GregorianCalendar calendar;
  std::array<std::unique_ptr<icu::SimpleDateFormat>, kTemplateCount> formatters;
};

NightFormat::NightFormat(Language language, TimeZone timeZone)
    : language_(language), timeZone_(std::move(timeZone)), impl_(std::make_shared<const Impl>(language, timeZone_)) {}

std::string NightFormat::duration(double seconds) const {
  const bool turkish = language_ == Language::turkish;
  const long long s = wholeSeconds(seconds);
  const long long h = s / 3600;
  const long long r = s - 3600 * h;
  const long long m = r / 60;
  if (s < 60) return std::to_string(s) + (turkish ? " sn" : " s");
  if (s < 3600) return std::to_string(m) + (turkish ? " dk" : " min");
  if (r < 60) return std::to_string(h) + (turkish ? " sa" : " h");
  return std::to_string(h) + (turkish ? " sa " : " h ") + std::to_string(m) + (turkish ? " dk" : " min");
}

std::string NightFormat::spokenDuration(double seconds) const {
  const bool turkish = language_ == Language::turkish;
  const long long m = wholeSeconds(seconds / 60.0);
  if (m <= 59) {
    const long long count = std::max(m, 1LL);
    if (turkish) return std::to_string(count) + " dakika";
    return count == 1 ? "1 minute" : std::to_string(count) + " minutes";
  }
  const double hours = static_cast<double>(wholeSeconds(static_cast<double>(m) / 30.0)) * 0.5;
  const std::string text = hours == std::floor(hours) ? text::fixed(hours, 0) : decimal(hours, 1);
  if (turkish) return text + " saat";
  return text == "1" ? "1 hour" : text + " hours";
}

std::string NightFormat::clock(Instant instant) const {
  if (!std::isfinite(instant)) return {};
  const CivilTime t = impl_->civil(instant);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d", t.hour, t.minute);
  return buffer;
}

std::string NightFormat::decimal(double value, int digits) const {
  // Beyond 17 decimals a double has nothing more to say.
  const std::string text = text::fixed(value, std::clamp(digits, 0, 17));
  return language_ == Language::turkish ? text::replaceAll(text, ".", ",") : text;
}

std::string NightFormat::ratio(double value) const {
  if (value >= 10 && std::isfinite(value)) return text::fixed(std::round(value), 0);
  return decimal(value, 1);
}

std::string NightFormat::times(double value) const { return ratio(value) + "×"; }

std::string NightFormat::share(double fraction) const {
  return percent(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 100)));
}

std::string NightFormat::percent(int value) const {
  // Appended piece by piece: GCC 12 misreads `"%" + std::to_string(…)` at -O3 (-Wrestrict).
  std::string text;
  if (language_ == Language::turkish) text += '%';
  text += std::to_string(value);
  if (language_ != Language::turkish) text += '%';
  return text;
}

std::string NightFormat::longDay(Instant instant) const { return impl_->format(kLongDay, instant); }

std::string NightFormat::shortDay(Instant instant) const {
  std::string text = impl_->format(kShortDay, instant);
  std::erase(text, ',');
  return text;
}

int NightFormat::hour(Instant instant) const {
  if (!std::isfinite(instant)) return 0;
  return impl_->civil(instant).hour;
}

bool NightFormat::isNight(Instant instant) const {
  const int h = hour(instant);
  return h >= 18 || h <= 4;
}

Instant NightFormat::nightDay(Instant instant) const { return hour(instant) <= 4 ? instant - 21600 : instant; }

std::string NightFormat::nightTitle(Instant nightStart) const {
  if (!std::isfinite(nightStart)) return {};
  if (!isNight(nightStart)) return longDay(nightStart);
  const Instant day = nightDay(nightStart);
  const std::string weekday = impl_->format(kWeekday, day);
  const std::string dayMonth = impl_->format(kDayMonth, day);
  if (language_ == Language::turkish) return dayMonth + " " + weekday + " gecesi";
  return weekday + " night, " + dayMonth;
}

}  // namespace snoozlet
