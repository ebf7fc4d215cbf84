// Sessions cut from the power-log excerpts captured on real machines.

#include "analysis/NightAnalyzer.h"
#include "sessions/LogReader.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

LogReader readerOf(const char* name) {
  LogReader reader;
  reader.ingest(testing::readFile(testing::fixturePath(std::string("real/") + name)));
  return reader;
}

TEST(RealLogSessionsTest, SleepAndWakeLinesOpenAndCloseSessions) {
  // Five idle sleeps, each ended by opening the lid; the excerpt is cut in
  // the middle of the fifth wake line, so the last session is still open.
  const auto idle = readerOf("pmsetlog-26.txt").sessions();
  ASSERT_EQ(idle.size(), 5u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(std::tie(idle[i].sleepReason, idle[i].tcpKeepAlive), std::make_tuple("Idle Sleep", "disabled"));
    EXPECT_EQ(idle[i].ending, SessionEnd::fullWake(WakeReason("power-button/Lid Open", WakeCategory::lid)));
    EXPECT_EQ(idle[i].battery.size(), 2u);
  }
  EXPECT_EQ(idle[0].end - idle[0].start, 8);
  EXPECT_EQ(idle[4].ending, SessionEnd::ongoing());
  // A Mac mini that enters dark wake by software and is woken by a key;
  // assertions before the sleep are not part of it.
  const auto mini = readerOf("pmsetlog-04.txt").sessions();
  ASSERT_EQ(mini.size(), 2u);
  EXPECT_EQ(mini[0].sleepReason, "Software Sleep pid=406");
  EXPECT_EQ(mini[0].ending.reason()->category, WakeCategory::user);
  EXPECT_TRUE(mini[0].holders.empty());
}

TEST(RealLogSessionsTest, WakesWithoutTheirSleepEntryMakeAPartialSessionNeverAnalysed) {
  const LogReader reader = readerOf("pmsetlog-07.txt");
  const auto sessions = reader.sessions();
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_TRUE(sessions[0].isPartial);
  EXPECT_EQ(sessions[0].sleepReason, "?");
  std::vector<double> durations;
  for (const auto& w : sessions[0].darkWakes) {
    EXPECT_EQ(w.reason.category, WakeCategory::maintenance);
    durations.push_back(w.duration.value_or(-1));
  }
  EXPECT_EQ(durations, (std::vector<double>{0, 45, 0, 46}));
  EXPECT_TRUE(NightAnalyzer::analyze(reader, TimeZone::utc(), {}).reports.empty());
}

TEST(RealLogSessionsTest, DarkWakeStormKeepsHoldersAndUnmatchedRequest) {
  const auto sessions = readerOf("pmsetlog-01.txt").sessions();
  ASSERT_EQ(sessions.size(), 1u);
  const auto& s = sessions[0];
  EXPECT_EQ(s.sleepReason, "Maintenance Sleep");
  ASSERT_EQ(s.darkWakes.size(), 1u);
  // The fired request is for a background task 16 minutes later: a Wi-Fi wake never takes it.
  EXPECT_EQ(s.darkWakes[0].reason.category, WakeCategory::network);
  EXPECT_FALSE(s.darkWakes[0].request);
  ASSERT_EQ(s.holders.size(), 2u);
  for (const auto& h : s.holders) EXPECT_EQ(std::tie(h.origin, h.count), std::make_tuple(HolderOrigin::system, 1));
  EXPECT_EQ(s.holders[0].process == "mDNSResponder" ? s.holders[0].name : s.holders[1].name,
            "mDNSResponder:maintenance");
}

}  // namespace
}  // namespace snoozlet
