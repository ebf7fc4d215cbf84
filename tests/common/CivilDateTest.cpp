#include "common/CivilDate.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(CivilDateTest, AnchorsAndEveryDayOfTenThousandYearsRoundTrip) {
  EXPECT_EQ(civil::daysFromCivil(1970, 1, 1), 0);
  EXPECT_EQ(civil::daysFromCivil(2000, 3, 1), 11017);
  EXPECT_EQ(civil::daysFromCivil(1969, 12, 31), -1);
  EXPECT_EQ(civil::civilFromDays(civil::daysFromCivil(2024, 2, 29) + 1), (civil::Date{2024, 3, 1}));
  EXPECT_EQ(civil::civilFromDays(civil::daysFromCivil(2100, 2, 28) + 1), (civil::Date{2100, 3, 1}));
  EXPECT_EQ(civil::civilFromDays(civil::daysFromCivil(0, 1, 1) - 1), (civil::Date{-1, 12, 31}));

  // Walking day by day from year -1 to 9999, each next day is the day after.
  civil::Date previous = civil::civilFromDays(civil::daysFromCivil(-1, 1, 1));
  for (std::int64_t days = civil::daysFromCivil(-1, 1, 2); days <= civil::daysFromCivil(9999, 12, 31); ++days) {
    const civil::Date date = civil::civilFromDays(days);
    ASSERT_EQ(civil::daysFromCivil(date.year, date.month, date.day), days);
    const bool sameMonth = date.year == previous.year && date.month == previous.month && date.day == previous.day + 1;
    const bool nextMonth = date.day == 1 && ((date.year == previous.year && date.month == previous.month + 1) ||
                                             (date.year == previous.year + 1 && date.month == 1 && previous.month == 12));
    ASSERT_TRUE(sameMonth || nextMonth) << date.year << "-" << date.month << "-" << date.day;
    previous = date;
  }
}

}  // namespace
}  // namespace snoozlet
