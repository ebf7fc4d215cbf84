#include "settings/InternetDate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace snoozlet {
namespace {

constexpr Instant kDecember6 = 1796540700;  // 2026-12-06T07:05:00Z

TEST(InternetDateTest, WholeSecondsInUtcAndZonesReadBack) {
  const std::pair<Instant, const char*> cases[] = {
      {kDecember6, "2026-12-06T07:05:00Z"}, {kDecember6 + 0.9, "2026-12-06T07:05:00Z"},
      {0, "1970-01-01T00:00:00Z"},          {-1, "1969-12-31T23:59:59Z"},
      {1709164800, "2024-02-29T00:00:00Z"}};
  for (const auto& [instant, text] : cases) {
    EXPECT_EQ(InternetDate::format(instant), text);
    EXPECT_EQ(InternetDate::parse(text), std::floor(instant)) << text;
  }
  EXPECT_EQ(InternetDate::compact(kDecember6), "20261206T070500Z");
  for (const char* text : {"2026-12-06T10:05:00+03:00", "2026-12-05T21:35:00-09:30", "2026-12-06t07:05:00z"})
    EXPECT_EQ(InternetDate::parse(text), kDecember6) << text;
  for (const char* bad :
       {"2026-12-06T07:05:00.5Z", "2026-12-06T07:05:00", "2026-12-06 07:05:00Z", "2023-02-29T00:00:00Z",
        "2100-02-29T00:00:00Z", "2026-04-31T00:00:00Z", "2026-13-01T00:00:00Z", "2026-00-01T00:00:00Z",
        "2026-12-00T00:00:00Z", "2026-12-06T24:00:00Z", "2026-12-06T07:60:00Z", "2026-12-06T07:05:60Z",
        "2026-12-06T07:05:00+0300", "2026-12-06T07:05:00+24:00", "2026-12-06T07:05:00+03:60",
        "2026-12-06T07:05:00Z ", "", "2026/12-06T07:05:00Z", "2026-12/06T07:05:00Z", "2026-12-06T07-05:00Z",
        "2026-12-06T07:05-00Z", "202a-12-06T07:05:00Z", "2026-12-06T07:05:0"}) {
    EXPECT_FALSE(InternetDate::parse(bad)) << bad;
  }
}

TEST(InternetDateTest, EveryParsedDateFormatsBackToAParsableText) {
  // Found by fuzzing: a zone pushing the first or last four-digit year past its end gave an instant that format wrote
  // as "-001-…" or "10000-…", so a journal read once could not be read again after its next save.
  for (const char* edge :
       {"0000-01-01T00:00:00Z", "0000-01-01T23:59:59+23:59", "9999-12-31T23:59:59Z", "9999-12-31T00:00:00-23:59"}) {
    const auto instant = InternetDate::parse(edge);
    ASSERT_TRUE(instant) << edge;
    EXPECT_EQ(InternetDate::parse(InternetDate::format(*instant)), instant) << edge;
  }
  EXPECT_FALSE(InternetDate::parse("0000-01-01T00:00:00+00:01"));
  EXPECT_FALSE(InternetDate::parse("9999-12-31T23:59:59-00:01"));
}

}  // namespace
}  // namespace snoozlet
