#include "narration/NightFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace snoozlet {
namespace {

const TimeZone newYork = TimeZone::named("America/New_York").value();
const TimeZone istanbul = TimeZone::named("Europe/Istanbul").value();
const NightFormat english(Language::english, newYork);
const NightFormat turkish(Language::turkish, istanbul);

Instant at(const TimeZone& tz, int year, int month, int day, int hour, int minute = 0) {
  return GregorianCalendar(tz).instant({year, month, day, hour, minute, 0}).value();
}

struct Case {
  double seconds;
  const char* en;
  const char* tr;
};

TEST(NightFormatTest, DurationsRoundThenPickUnits) {
  // clang-format off
  const Case compact[] = {{45, "45 s", "45 sn"}, {59.4, "59 s", "59 sn"}, {59.6, "1 min", "1 dk"},
      {3599.4, "59 min", "59 dk"}, {3600, "1 h", "1 sa"}, {3659, "1 h", "1 sa"}, {3660, "1 h 1 min", "1 sa 1 dk"},
      {25920, "7 h 12 min", "7 sa 12 dk"}, {-5, "0 s", "0 sn"}, {std::nan(""), "0 s", "0 sn"}};
  const Case spoken[] = {{29, "1 minute", "1 dakika"}, {90, "2 minutes", "2 dakika"},
      {59.4 * 60, "59 minutes", "59 dakika"}, {3600, "1 hour", "1 saat"}, {95 * 60, "1.5 hours", "1,5 saat"},
      {104 * 60, "1.5 hours", "1,5 saat"}, {105 * 60, "2 hours", "2 saat"}};
  // clang-format on
  for (const auto& c : compact) {
    EXPECT_EQ(english.duration(c.seconds), c.en) << c.seconds;
    EXPECT_EQ(turkish.duration(c.seconds), c.tr) << c.seconds;
  }
  for (const auto& c : spoken) {
    EXPECT_EQ(english.spokenDuration(c.seconds), c.en) << c.seconds;
    EXPECT_EQ(turkish.spokenDuration(c.seconds), c.tr) << c.seconds;
  }
  EXPECT_EQ(english.duration(std::numeric_limits<double>::infinity()).find('-'), std::string::npos);
}

TEST(NightFormatTest, NumbersUseTheLanguagesConventions) {
  EXPECT_EQ(english.decimal(3.14159, 2), "3.14");
  EXPECT_EQ(turkish.decimal(3.14159, 2), "3,14");
  EXPECT_EQ(turkish.ratio(2.46), "2,5");
  EXPECT_EQ(english.ratio(12.5), "13");
  EXPECT_EQ(english.ratio(9.96), "10.0");
  EXPECT_EQ(turkish.times(2.46), "2,5×");
  EXPECT_EQ(english.times(12.4), "12×");
  EXPECT_EQ(english.percent(42), "42%");
  EXPECT_EQ(turkish.percent(42), "%42");
}

TEST(NightFormatTest, DaysAndClockInBothLocales) {
  EXPECT_EQ(english.shortDay(at(newYork, 2023, 12, 5, 9, 30)), "Tue 5 Dec");
  EXPECT_EQ(english.clock(at(newYork, 2023, 12, 5, 7, 5)), "07:05");
  EXPECT_EQ(turkish.shortDay(at(istanbul, 2023, 12, 5, 9, 30)), "5 Aralık Sal");
  EXPECT_EQ(english.longDay(std::nan("")), "");
  EXPECT_EQ(english.clock(std::numeric_limits<double>::infinity()), "");
}

TEST(NightFormatTest, NightTitleBoundaries) {
  // From 18:00 to 04:59 it is the night of the evening's day.
  const std::tuple<int, int, int, const char*, const char*> cases[] = {
      {5, 17, 59, "Tuesday, 5 December", "5 Aralık Salı"},
      {5, 18, 0, "Tuesday night, 5 December", "5 Aralık Salı gecesi"},
      {6, 4, 59, "Tuesday night, 5 December", "5 Aralık Salı gecesi"},
      {6, 5, 0, "Wednesday, 6 December", "6 Aralık Çarşamba"},
  };
  for (const auto& [day, hour, minute, en, tr] : cases) {
    EXPECT_EQ(english.nightTitle(at(newYork, 2023, 12, day, hour, minute)), en);
    EXPECT_EQ(turkish.nightTitle(at(istanbul, 2023, 12, day, hour, minute)), tr);
  }
}

TEST(NightFormatTest, ZoneDecidesHoursAcrossClockChanges) {
  const Instant noonUtc = at(TimeZone::utc(), 2023, 12, 5, 12);
  EXPECT_EQ(english.clock(noonUtc), "07:00");
  EXPECT_EQ(turkish.clock(noonUtc), "15:00");
  // New York springs forward at 02:00 on 10 March 2024: a night starting at
  // 03:30 reaches back six real hours, into Saturday evening.
  const Instant afterJump = at(newYork, 2024, 3, 10, 3, 30);
  EXPECT_EQ(english.clock(english.nightDay(afterJump)), "20:30");
  EXPECT_EQ(english.nightTitle(afterJump), "Saturday night, 9 March");
  // It falls back on 3 November 2024: 01:30 happens twice, an hour apart.
  const Instant firstHalfPastOne = at(TimeZone::utc(), 2024, 11, 3, 5, 30);
  EXPECT_EQ(english.clock(firstHalfPastOne), "01:30");
  EXPECT_EQ(english.clock(firstHalfPastOne + 3600), "01:30");
  EXPECT_EQ(english.nightTitle(firstHalfPastOne + 3600), "Saturday night, 2 November");
}

TEST(NightFormatTest, CopiesShareFormattersAcrossThreads) {
  const NightFormat copy = english;
  EXPECT_EQ(copy, english);
  EXPECT_FALSE(copy == NightFormat(Language::turkish, newYork));
  const Instant tuesday = at(newYork, 2023, 12, 5, 20);
  std::vector<int> wrong(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        const std::string title = (t % 2 ? copy : english).nightTitle(tuesday + (i % 2) * 86400);
        wrong[t] += title != (i % 2 ? "Wednesday night, 6 December" : "Tuesday night, 5 December");
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace snoozlet
