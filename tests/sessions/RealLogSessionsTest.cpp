// Sessions cut from the power-log excerpts captured on real machines.

#include "analysis/NightAnalyzer.h"
#include "sessions/LogReader.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

std::vector<SleepSession> sessionsOf(const char* name) {
  LogReader reader;
  reader.ingest(testing::readFile(testing::fixturePath(std::string("real/") + name)));
  return reader.sessions();
}

TEST(RealLogSessionsTest, SleepAndWakeLinesOpenAndCloseSessions) {
  // Five idle sleeps, each ended by opening the lid; the excerpt is cut in
  // the middle of the fifth wake line, so the last session is still open.
  const auto idle = sessionsOf("pmsetlog-26.txt");
  ASSERT_EQ(idle.size(), 5u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(idle[i].sleepReason, "Idle Sleep");
    EXPECT_EQ(idle[i].tcpKeepAlive, "disabled");
    ASSERT_EQ(idle[i].ending.kind(), SessionEnd::Kind::fullWake);
    EXPECT_EQ(idle[i].ending.reason()->raw, "power-button/Lid Open");
    EXPECT_EQ(idle[i].ending.reason()->category, WakeCategory::lid);
    EXPECT_EQ(idle[i].battery.size(), 2u);
  }
  EXPECT_EQ(idle[0].end - idle[0].start, 8);
  EXPECT_EQ(idle[4].ending, SessionEnd::ongoing());

  // A Mac mini that enters dark wake by software and is woken by a key.
  const auto mini = sessionsOf("pmsetlog-04.txt");
  ASSERT_EQ(mini.size(), 2u);
  EXPECT_EQ(mini[0].sleepReason, "Software Sleep pid=406");
  EXPECT_EQ(mini[0].ending.reason()->category, WakeCategory::user);
  EXPECT_TRUE(mini[0].holders.empty()) << "assertions before the sleep are not part of it";
}

TEST(RealLogSessionsTest, HourlyMaintenanceWakesWithoutTheirSleepEntry) {
  const auto sessions = sessionsOf("pmsetlog-07.txt");
  ASSERT_EQ(sessions.size(), 1u);
  const auto& s = sessions[0];
  EXPECT_TRUE(s.isPartial);
  EXPECT_EQ(s.sleepReason, "?");
  ASSERT_EQ(s.darkWakes.size(), 4u);
  std::vector<double> durations;
  for (const auto& w : s.darkWakes) {
    EXPECT_EQ(w.reason.category, WakeCategory::maintenance);
    durations.push_back(w.duration.value_or(-1));
  }
  EXPECT_EQ(durations, (std::vector<double>{0, 45, 0, 46}));
  // A partial session is never analysed.
  LogReader reader;
  reader.ingest(testing::readFile(testing::fixturePath("real/pmsetlog-07.txt")));
  EXPECT_TRUE(NightAnalyzer::analyze(reader, TimeZone::utc(), {}).reports.empty());
}

TEST(RealLogSessionsTest, DarkWakeStormKeepsHoldersAndUnmatchedRequest) {
  const auto sessions = sessionsOf("pmsetlog-01.txt");
  ASSERT_EQ(sessions.size(), 1u);
  const auto& s = sessions[0];
  EXPECT_EQ(s.sleepReason, "Maintenance Sleep");
  ASSERT_EQ(s.darkWakes.size(), 1u);
  EXPECT_EQ(s.darkWakes[0].reason.category, WakeCategory::network);
  // The fired request is for a background task 16 minutes later: a Wi-Fi
  // wake never takes it.
  EXPECT_FALSE(s.darkWakes[0].request);
  ASSERT_EQ(s.holders.size(), 2u);
  for (const auto& h : s.holders) {
    EXPECT_EQ(h.origin, HolderOrigin::system) << h.process;
    EXPECT_EQ(h.count, 1);
  }
  EXPECT_EQ(s.holders[0].process == "mDNSResponder" ? s.holders[0].name : s.holders[1].name,
            "mDNSResponder:maintenance");
}

}  // namespace
}  // namespace snoozlet
