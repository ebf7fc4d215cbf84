#include "DemoWeek.h"

#include "sessions/LogReader.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

using DemoWeek::Day;
using DemoWeek::Record;

TEST(DemoWeekTest, ParsesOnlyRealDays) {
  const struct {
    const char* text;
    std::optional<Day> day;
  } cases[] = {
      {"2026-12-06", Day{2026, 12, 6}}, {"2024-02-29", Day{2024, 2, 29}}, {"2000-02-29", Day{2000, 2, 29}},
      {"1970-01-01", Day{1970, 1, 1}},  {"2100-02-29", {}},  {"2026-02-29", {}},  {"2026-04-31", {}},
      {"2026-13-01", {}},  {"2026-00-10", {}},  {"2026-12-00", {}},  {"1969-12-31", {}},  {"2026-1-01", {}},
      {"2026/12/06", {}},  {"2026-12-06 ", {}}, {"+026-12-06", {}},  {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(DemoWeek::parseDay(c.text), c.day) << c.text;
  EXPECT_EQ(DemoWeek::toString(Day{2026, 3, 7}), "2026-03-07");
}

TEST(DemoWeekTest, RecordReadsBackAndDamagedRecordsAreRefused) {
  for (Mood mood : kAllMoods) {
    const Record record{{2026, 12, 6}, mood};
    EXPECT_EQ(DemoWeek::parseRecord(DemoWeek::recordText(record)), record);
  }
  EXPECT_EQ(DemoWeek::parseRecord("mood sleepless\r\n\nday 2026-01-31\n"), (Record{{2026, 1, 31}, Mood::sleepless}));
  for (const char* damaged : {"", "day 2026-12-06\n", "mood restless\n", "day 2026-12-06\nmood Restless\n",
                              "day 2026-02-30\nmood restless\n", "day 2026-12-06\nmood restless\nextra 1\n",
                              "day 2026-12-06\nmood restless\nday 2026-12-07\n", "day\nmood restless\n"})
    EXPECT_EQ(DemoWeek::parseRecord(damaged), std::nullopt) << damaged;
}

TEST(DemoWeekTest, TheWeekReadsBackAsSevenClosedNightsEndingOnItsDay) {
  // Today is the day in the local zone.
  const Instant instant = 1796083200 + 3600;  // 2026-12-01 01:00 UTC
  EXPECT_EQ(DemoWeek::dayOf(instant, TimeZone::utc()), (Day{2026, 12, 1}));
  EXPECT_EQ(DemoWeek::dayOf(instant, *TimeZone::named("America/New_York")), (Day{2026, 11, 30}));

  const TimeZone zone = *TimeZone::named("Europe/Istanbul");
  const Record record{{2026, 12, 1}, Mood::sleepless};
  const std::string text = DemoWeek::logText(record, zone);
  LogReader reader;
  reader.ingest(text);
  const auto sessions = reader.sessions();
  ASSERT_EQ(sessions.size(), 7u);
  for (const auto& s : sessions) EXPECT_EQ(s.ending.kind(), SessionEnd::Kind::fullWake);
  // The first night began seven evenings before, the last one ended on the day.
  EXPECT_EQ(DemoWeek::dayOf(sessions.front().start, zone), (Day{2026, 11, 24}));
  EXPECT_EQ(DemoWeek::dayOf(sessions.back().end, zone), (Day{2026, 12, 1}));
  EXPECT_NE(DemoWeek::logText({{2026, 12, 1}, Mood::soundAsleep}, zone), text);
}

}  // namespace
}  // namespace snoozlet
