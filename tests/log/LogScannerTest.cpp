#include "log/LogScanner.h"
#include "log/PowerLogParser.h"
#include "common/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

namespace snoozlet {
namespace {

using testing::logLine;

// Records every event; wants every domain unless told otherwise.
struct Recorder {
  std::vector<LogEvent> events;
  int asked = 0;
  bool acceptAll = true;
  bool wants(const LogDomain&) {
    ++asked;
    return acceptAll;
  }
  void consume(const LogEvent& e) { events.push_back(e); }
};

std::string line(const char* stamp, const char* domain, const std::string& message, const char* offset = "+0000") {
  return logLine(stamp, domain, message, offset) + "\n";
}

constexpr Instant kWallAsUtc = 1710115198;  // 2024-03-10 23:59:58 read as UTC

TEST(LogScannerTest, ReadsStampOffsetDomainAndMessage) {
  const char* t = "2024-03-10 23:59:58";
  Recorder r;
  PowerLogParser::scan(line(t, "Sleep", "Entering Sleep state", "+0300") + line(t, "Wake", "x", "-0000") +
                           line(t, "Wake", "y", "-0530"),
                       std::nullopt, r);
  ASSERT_EQ(r.events.size(), 3u);
  const std::pair<Instant, int> expected[] = {
      {kWallAsUtc - 3 * 3600, 10800}, {kWallAsUtc, 0}, {kWallAsUtc + 5.5 * 3600, -(5 * 3600 + 30 * 60)}};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(std::make_pair(r.events[i].date, r.events[i].utcOffset), expected[i]);
  // Days before 1970 and out-of-range fields are computed through; any sign byte but '-' counts as '+'.
  EXPECT_EQ(LogScanner::timestamp("1969-12-31 23:59:59 +0000 ")->first, -1);
  EXPECT_EQ(LogScanner::timestamp("2024-13-01 00:00:00 +0000 "), LogScanner::timestamp("2025-01-01 00:00:00 +0000 "));
  EXPECT_EQ(LogScanner::timestamp("2024-01-01 25:00:00 +0000 "), LogScanner::timestamp("2024-01-02 01:00:00 +0000 "));
  EXPECT_EQ(LogScanner::timestamp("2024-01-01 00:00:00 x0100 ")->second, 3600);
  for (const char* bad : {"2024-01-01 00:00:0a +0000 ", "2024-01-01 00:00:00 +0000", "2024-01-01 00:00:00 +00 0 "})
    EXPECT_FALSE(LogScanner::timestamp(bad)) << bad;
}

TEST(LogScannerTest, RejectsMalformedLines) {
  std::string wrongSeparator = line("2024-03-10 23:59:58", "Sleep", "ok"), letters = wrongSeparator;
  wrongSeparator[10] = 'T';
  letters[0] = 'Y';
  const std::string text = "2024-03-10 23:59:58 +0000 \tx\n"  // 28 bytes, the shortest event
                           "2024-03-10 23:59:58 +0000 \t\n" + wrongSeparator + letters +
                           "2024-03-10 23:59:58 +0000 Sleep                ok\n\nUUID: 1234\n";
  Recorder r;
  LogScanner scanner;
  scanner.feed(text, true, r);
  ASSERT_EQ(r.events.size(), 1u);
  EXPECT_EQ(r.events[0].message, "x");
  EXPECT_EQ(r.events[0].domain, LogDomain::Kind::other);
  // The tab-less line was still dated: it counts for the bookkeeping.
  EXPECT_EQ(scanner.resultCursor(), (LogCursor{kWallAsUtc, 2}));
}

TEST(LogScannerTest, ColumnsMapToDomains) {
  using enum LogDomain::Kind;
  const std::pair<const char*, LogDomain::Kind> cases[] = {
      {"Sleep", sleep}, {"DarkWake", darkWake}, {"Wake", wake}, {"WakeDetails", wakeDetails},
      {"Wake Requests", wakeRequests}, {"Assertions", assertions}, {"Notification", notification},
      {"Sleep Failure", failure}, {"WakeFAILURE", failure}, {"fAiLuRe", failure}, {"Fail ure", other},
      {"Start", boot}, {"Start powerd", boot}, {"Started", other}, {"Startup", other},
      {"Shutdown Cause", shutdown}, {"ShutdownX", shutdown}, {"Shutdo", other}, {"Restart", shutdown},
      {"Restarted", other}, {"Kernel Client Acks", other}, {"com.apple.sleepservices.sessionStarted", other},
      {"WakeTime", other},
      // Beyond printable ASCII the column's case is folded as Unicode text.
      {"Uyku\u00A0FAILURE", failure}, {"\u00C7al\u0131\u015Fma", other}, {"Sleep\x01" "Failure", failure},
  };
  std::string text;
  for (const auto& [column, kind] : cases) text += line("2024-03-10 23:59:58", column, "m");
  Recorder r;
  PowerLogParser::scan(text, std::nullopt, r);
  const auto parsed = PowerLogParser::parse(text);
  ASSERT_EQ(r.events.size() + parsed.size(), 2 * std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& [column, kind] = cases[i];
    EXPECT_EQ(r.events[i].domain.kind(), kind) << column;
    // Only the parser keeps the text of other columns.
    EXPECT_EQ(parsed[i].domain, kind == other ? LogDomain::other(column) : LogDomain(kind)) << column;
    EXPECT_EQ(r.events[i].domain.text(), "") << column;
  }
}

TEST(LogScannerTest, ScannerDomainsAgreeWithTheColumnRules) {
  // Random columns built from pieces the rules look for, in random case.
  const char* pieces[] = {"Start", "Shutdown", "Restart", "failure", " ", "Wake", "x", "\u00C7", "\t", "Sleep"};
  std::mt19937 random(11);
  for (int n = 0; n < 20000; ++n) {
    std::string column;
    for (int k = static_cast<int>(random() % 4); k >= 0; --k) column += pieces[random() % std::size(pieces)];
    for (char& c : column) {
      if (random() % 3 == 0 && std::isalpha(static_cast<unsigned char>(c))) c = static_cast<char>(c ^ 0x20);
    }
    if (random() % 2 == 0 && column.size() < 20) column.resize(20, ' ');  // the usual padded layout
    ASSERT_EQ(LogScanner::scannerDomain(column).kind(), LogDomain::fromColumn(column).kind()) << column;
  }
}

TEST(LogScannerTest, MessagesMatchTheirNormalisedText) {
  // Random messages with white space, tabs, padding and invalid bytes at either end, against the plain rule: repaired
  // UTF-8, tabs as spaces, Unicode white space trimmed.
  const char* pieces[] = {" ", "\t", "        ", "\u00A0", "\u3000", "\xFF", "a", "\v", "Ü", "\xE2\x80"};
  std::mt19937 random(5);
  std::string text;
  std::vector<std::string> expected;
  for (int n = 0; n < 5000; ++n) {
    std::string message;
    for (int k = static_cast<int>(random() % 6); k >= 0; --k) message += pieces[random() % std::size(pieces)];
    text += line("2024-03-10 23:59:58", "Sleep", message);
    std::string normal = text::decodeUtf8(message);
    std::replace(normal.begin(), normal.end(), '\t', ' ');
    expected.emplace_back(text::trimWhitespace(normal));
  }
  Recorder r;
  PowerLogParser::scan(text, std::nullopt, r);
  ASSERT_EQ(r.events.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(r.events[i].message, expected[i]) << i;
  // Events are built only when wanted.
  Recorder picky;
  picky.acceptAll = false;
  PowerLogParser::scan(text, std::nullopt, picky);
  EXPECT_TRUE(picky.events.empty());
  EXPECT_EQ(picky.asked, 5000);
}

TEST(LogScannerTest, CursorSkipsWhatWasDeliveredAndTheLastLineNeedsFinal) {
  const char* t = "2024-03-10 23:59:58";
  const std::string text = line("2024-03-10 23:59:57", "Sleep", "old") + line(t, "Sleep", "1") + line(t, "Sleep", "2") +
                           line(t, "Sleep", "3") + line(t, "Sleep", "4");
  Recorder r;
  const auto result = PowerLogParser::scan(text, LogCursor{kWallAsUtc, 2}, r);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[0].message + r.events[1].message, "34");
  EXPECT_EQ(result.cursor, (LogCursor{kWallAsUtc, 4}));
  EXPECT_EQ(result.firstDate, kWallAsUtc - 1);
  // A second pass with the result cursor over the same text delivers nothing.
  Recorder again;
  EXPECT_EQ(PowerLogParser::scan(text, result.cursor, again).cursor, result.cursor);
  EXPECT_TRUE(again.events.empty());
  // Text without dated lines has no cursor.
  const auto undated = PowerLogParser::scan("Time stamp                Domain   Message\nUUID: x\n\n", std::nullopt, r);
  EXPECT_FALSE(undated.cursor || undated.firstDate);
  // A last line without a line feed is delivered only when the feed is final.
  const std::string unterminated = text + logLine(t, "Wake", "5");
  Recorder partial, whole;
  EXPECT_EQ(LogScanner().feed(unterminated, false, partial), text.size());
  EXPECT_EQ(LogScanner().feed(unterminated, true, whole), unterminated.size());
  EXPECT_EQ(whole.events.size(), partial.events.size() + 1);
  EXPECT_EQ(whole.events.back().message, "5");
}

TEST(LogScannerTest, HostileLinesAreSkippedInLinearTime) {
  std::string text(10 << 20, 'x');  // 10 MB without a line feed
  text += "\n" + line("2024-03-10 23:59:58", "Sleep", std::string("nul\0byte", 8));
  text += std::string("2024-03-10 23:59:58 +0000 ") + std::string(1 << 20, '\t') + "\n";
  Recorder r;
  PowerLogParser::scan(text, std::nullopt, r);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[0].message, std::string("nul\0byte", 8));
  EXPECT_EQ(r.events[1].message, "");
}

}  // namespace
}  // namespace snoozlet
