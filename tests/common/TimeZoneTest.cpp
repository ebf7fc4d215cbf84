#include "common/TimeZone.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(TimeZoneTest, CalendarDaysFollowTheZonesClockChanges) {
  const TimeZone newYork = *TimeZone::named("America/New_York");
  EXPECT_FALSE(TimeZone::named("Nowhere/Atlantis"));
  GregorianCalendar calendar(newYork);
  // 10 March 2024: clocks jump from 02:00 to 03:00, so the day lasts 23 hours.
  const Instant midnight = *calendar.instant({2024, 3, 10, 0, 0, 0});
  EXPECT_EQ(midnight, 1710046800);
  EXPECT_EQ(newYork.offsetAt(midnight), -5 * 3600);
  EXPECT_EQ(newYork.offsetAt(midnight + 4 * 3600), -4 * 3600);
  EXPECT_EQ(calendar.addingDays(midnight + 3600, 1), midnight + 23 * 3600);
  EXPECT_EQ(calendar.startOfDay(midnight + 22 * 3600), midnight);
  EXPECT_EQ(calendar.hour(midnight + 3 * 3600), 4);
  // Out-of-range components roll over; absent ones take their smallest value.
  EXPECT_EQ(calendar.instant({2024, 3, 0, 0, 0, 0}), calendar.instant({2024, 2, 29, 0, 0, 0}));
  EXPECT_EQ(calendar.instant({2024, 13, 1, 0, 0, 0}), calendar.instant({2025, 1, 1, 0, 0, 0}));
  EXPECT_EQ(calendar.instant({{}, {}, {}, 5, {}, {}}), calendar.instant({1, 1, 1, 5, 0, 0}));
  EXPECT_EQ(calendar.instant({2024, {}, {}, {}, {}, {}}), calendar.instant({2024, 1, 1, 0, 0, 0}));
}

}  // namespace
}  // namespace snoozlet
