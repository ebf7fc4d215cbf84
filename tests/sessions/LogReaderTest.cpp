#include "sessions/LogReader.h"

#include "TestSupport.h"
#include "analysis/NightAnalyzer.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

using testing::logLine;

std::string line(const char* time, const char* domain, const std::string& message, const char* day = "2024-03-10") {
  return logLine(std::string(day) + " " + time, domain, message) + "\n";
}

const std::string kSleep = "Entering Sleep state due to 'Idle Sleep' Using Batt (Charge:80%)";
const std::string kWake = "Wake from Deep Idle [CDNVA] : due to EC.LidOpen Using BATT (Charge:70%)";
std::string dark(int secs) {
  return "DarkWake from Deep Idle [CDNP] : due to rtc/Maintenance Using BATT (Charge:75%) " + std::to_string(secs) +
         " secs";
}

LogReader::ChunkSource blocks(const std::string& text, std::size_t size, int failAfter = -1) {
  auto position = std::make_shared<std::size_t>(0);
  auto served = std::make_shared<int>(0);
  return [=, &text]() -> Result<std::optional<std::string_view>> {
    if (failAfter >= 0 && *served == failAfter) return Result<std::optional<std::string_view>>::failure({"pipe broke"});
    if (*position >= text.size()) return std::optional<std::string_view>();
    const auto piece = std::string_view(text).substr(*position, size);
    *position += piece.size();
    ++*served;
    return std::optional<std::string_view>(piece);
  };
}

TEST(LogReaderTest, GrownLogDeliversOnlyNewLines) {
  const std::string first = line("00:00:00", "Sleep", kSleep) + line("01:00:00", "DarkWake", dark(5)) +
                            line("01:00:00", "DarkWake", dark(6));
  // Grows by three lines in the same second as the previous last line.
  const std::string grown = first + line("01:00:00", "DarkWake", dark(7)) + line("01:00:00", "DarkWake", dark(8)) +
                            line("01:00:00", "DarkWake", dark(9)) + line("07:00:00", "Wake", kWake);
  LogReader reader;
  reader.ingest(first);
  ASSERT_EQ(reader.sessions().size(), 1u);
  EXPECT_EQ(reader.sessions()[0].ending, SessionEnd::ongoing());
  EXPECT_EQ(reader.cursor(), (LogCursor{1710032400, 2}));

  reader.ingest(first);  // unchanged: nothing new
  EXPECT_EQ(reader.sessions()[0].darkWakes.size(), 2u);
  // An empty log, or one without dated lines, keeps the cursor and the coverage.
  reader.ingest("");
  reader.ingest("Time stamp   Domain   Message\nUUID: x\n");
  EXPECT_EQ(reader.cursor(), (LogCursor{1710032400, 2}));
  EXPECT_EQ(reader.coveredFrom(), 1710028800);

  reader.ingest(grown);
  LogReader once;
  once.ingest(grown);
  EXPECT_EQ(reader.sessions(), once.sessions());
  const auto sessions = reader.sessions();
  std::vector<double> durations;
  for (const auto& w : sessions.at(0).darkWakes) durations.push_back(*w.duration);
  EXPECT_EQ(durations, (std::vector<double>{5, 6, 7, 8, 9}));
  EXPECT_EQ(reader.coveredTo(), 1710054000);
}

TEST(LogReaderTest, LinesSplitAcrossBlocksAreDeliveredOnce) {
  std::string text;
  for (int night = 0; night < 20; ++night) {
    text += line("00:00:00", "Sleep", kSleep);
    for (int i = 0; i < 10; ++i) text += line("01:00:00", "DarkWake", dark(i));
    text += line("07:00:00", "Wake", kWake);
  }
  text += logLine("2024-03-10 08:00:00", "Sleep", kSleep);  // no final line feed
  LogReader whole;
  whole.ingest(text);
  for (std::size_t size : {1u, 7u, 100u, 4096u}) {
    LogReader chunked;
    ASSERT_TRUE(chunked.ingest(blocks(text, size)).ok());
    EXPECT_EQ(chunked, whole) << "block size " << size;
  }
  EXPECT_TRUE(whole.builder().isAsleep());

  // 40 MB of one line, then a real line: the giant line is cut, the real one read.
  std::string giant(40u << 20, 'x');
  giant += "\n" + line("00:00:00", "Sleep", kSleep);
  LogReader reader;
  ASSERT_TRUE(reader.ingest(blocks(giant, 256 * 1024)).ok());
  EXPECT_TRUE(reader.builder().isAsleep());
}

TEST(LogReaderTest, FailingSourceLeavesReaderUntouched) {
  const std::string text = line("00:00:00", "Sleep", kSleep) + line("01:00:00", "DarkWake", dark(5)) +
                           line("07:00:00", "Wake", kWake);
  LogReader reader;
  reader.ingest(text.substr(0, text.size() / 2));
  const LogReader before = reader;
  EXPECT_EQ(reader.ingest(blocks(text, 16, 2)).error().description(), "pipe broke");
  EXPECT_EQ(reader, before);
}

TEST(LogReaderTest, LogThatLostItsOldestDayDropsEndedSessions) {
  const std::string day1 = line("23:00:00", "Sleep", kSleep, "2024-03-09") + line("07:00:00", "Wake", kWake);
  const std::string day2 = line("23:00:00", "Sleep", kSleep);
  LogReader reader;
  reader.ingest(day1 + day2);
  ASSERT_EQ(reader.sessions().size(), 2u);
  const std::string day3 =
      line("07:00:00", "Wake", kWake, "2024-03-11") + line("23:00:00", "Sleep", kSleep, "2024-03-11");
  // The system dropped day 1; the open session of day 2 continues.
  reader.ingest(day2 + day3);
  EXPECT_EQ(reader.coveredFrom(), 1710111600);
  const auto sessions = reader.sessions();
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(sessions[0].start, 1710111600);
  EXPECT_EQ(sessions[0].ending.kind(), SessionEnd::Kind::fullWake);
  EXPECT_EQ(sessions[1].ending, SessionEnd::ongoing());
}

// Sessions cut from the power-log excerpts captured on real machines.
LogReader readerOf(const char* name) {
  LogReader reader;
  reader.ingest(testing::readFile(testing::fixturePath(std::string("real/") + name)));
  return reader;
}

TEST(LogReaderTest, InRealLogsSleepAndWakeLinesOpenAndCloseSessions) {
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

TEST(LogReaderTest, InARealLogWakesWithoutTheirSleepEntryMakeAPartialSessionNeverAnalysed) {
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

TEST(LogReaderTest, ARealDarkWakeStormKeepsHoldersAndUnmatchedRequest) {
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
