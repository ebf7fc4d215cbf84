#include "log/LogScanner.h"
#include "log/PowerLogParser.h"
#include "common/Text.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <random>

#include <string>
#include <vector>

namespace snoozlet {
namespace {

using testing::logLine;

// Records every event; wants every domain unless told otherwise.
struct Recorder {
  std::vector<LogEvent> events;
  std::vector<LogDomain> asked;
  bool acceptAll = true;
  bool wants(const LogDomain& d) {
    asked.push_back(d);
    return acceptAll;
  }
  void consume(const LogEvent& e) { events.push_back(e); }
};

// 2024-03-10 23:59:58 read as UTC.
constexpr Instant kWallAsUtc = 1710115198;

TEST(LogScannerTest, ReadsStampOffsetDomainAndMessage) {
  const std::string text = logLine("2024-03-10 23:59:58", "Sleep", "Entering Sleep state", "+0300") + "\n" +
                           logLine("2024-03-10 23:59:58", "Wake", "x", "-0000") + "\n" +
                           logLine("2024-03-10 23:59:58", "Wake", "y", "-0530") + "\n";
  Recorder r;
  PowerLogParser::scan(text, std::nullopt, r);
  ASSERT_EQ(r.events.size(), 3u);
  EXPECT_EQ(r.events[0].domain, LogDomain::Kind::sleep);
  EXPECT_EQ(r.events[0].utcOffset, 10800);
  EXPECT_EQ(r.events[0].date, kWallAsUtc - 3 * 3600);
  EXPECT_EQ(r.events[0].message, "Entering Sleep state");
  EXPECT_TRUE(r.events[0].details.empty());
  EXPECT_EQ(r.events[1].utcOffset, 0);
  EXPECT_EQ(r.events[1].date, kWallAsUtc);
  EXPECT_EQ(r.events[2].utcOffset, -(5 * 3600 + 30 * 60));
  EXPECT_EQ(r.events[2].date, kWallAsUtc + 5.5 * 3600);
}

TEST(LogScannerTest, TimestampArithmetic) {
  // Days before 1970 and out-of-range fields are computed through.
  EXPECT_EQ(LogScanner::timestamp("1969-12-31 23:59:59 +0000 ")->first, -1);
  EXPECT_EQ(LogScanner::timestamp("2000-02-29 00:00:00 +0000 ")->first, 951782400);
  EXPECT_EQ(LogScanner::timestamp("2024-13-01 00:00:00 +0000 ")->first,
            LogScanner::timestamp("2025-01-01 00:00:00 +0000 ")->first);
  EXPECT_EQ(LogScanner::timestamp("2024-01-01 25:00:00 +0000 ")->first,
            LogScanner::timestamp("2024-01-02 01:00:00 +0000 ")->first);
  // Any sign byte other than '-' counts as '+'.
  EXPECT_EQ(LogScanner::timestamp("2024-01-01 00:00:00 x0100 ")->second, 3600);
  EXPECT_FALSE(LogScanner::timestamp("2024-01-01 00:00:0a +0000 "));
  EXPECT_FALSE(LogScanner::timestamp("2024-01-01 00:00:00 +0000"));  // 25 bytes
  EXPECT_FALSE(LogScanner::timestamp("2024-01-01 00:00:00 +00 0 "));
}

TEST(LogScannerTest, RejectsMalformedLines) {
  const std::string good = logLine("2024-03-10 23:59:58", "Sleep", "ok");
  std::string wrongSeparator = good;
  wrongSeparator[10] = 'T';
  std::string letters = good;
  letters[0] = 'Y';
  const std::string noTab = "2024-03-10 23:59:58 +0000 Sleep                ok";
  const std::string text = std::string("2024-03-10 23:59:58 +0000 \tx") /* 28 bytes, ok */ + "\n" +
                           "2024-03-10 23:59:58 +0000 \t" /* 27 bytes */ + "\n" + wrongSeparator + "\n" + letters +
                           "\n" + noTab + "\n" + "\n" + "UUID: 1234\n";
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
  struct Case {
    const char* column;
    LogDomain::Kind kind;
  };
  using enum LogDomain::Kind;
  const Case cases[] = {
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
  for (const auto& c : cases) text += logLine("2024-03-10 23:59:58", c.column, "m") + "\n";
  Recorder r;
  PowerLogParser::scan(text, std::nullopt, r);
  ASSERT_EQ(r.events.size(), std::size(cases));
  const auto parsed = PowerLogParser::parse(text);
  ASSERT_EQ(parsed.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(r.events[i].domain.kind(), cases[i].kind) << cases[i].column;
    EXPECT_EQ(parsed[i].domain.kind(), cases[i].kind) << cases[i].column;
    if (cases[i].kind == LogDomain::Kind::other) {
      EXPECT_EQ(r.events[i].domain.text(), "") << "the scanner keeps no column text";
      EXPECT_EQ(parsed[i].domain.text(), cases[i].column);
    }
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
  for (const char* name : {"Sleep", "DarkWake", "Wake", "WakeDetails", "Wake Requests", "Assertions", "Notification"}) {
    std::string padded(name);
    padded.resize(20, ' ');
    EXPECT_EQ(LogScanner::scannerDomain(padded).kind(), LogDomain::fromColumn(name).kind()) << name;
  }
}

TEST(LogScannerTest, MessagesMatchTheirNormalisedText) {
  // Random messages with white space, tabs, padding and invalid bytes at
  // either end, against the plain rule: repaired UTF-8, tabs as spaces,
  // Unicode white space trimmed.
  const char* pieces[] = {" ", "\t", "        ", "\u00A0", "\u3000", "\xFF", "a", "\v", "Ü", "\xE2\x80"};
  std::mt19937 random(5);
  std::string text;
  std::vector<std::string> expected;
  for (int n = 0; n < 5000; ++n) {
    std::string message;
    for (int k = static_cast<int>(random() % 6); k >= 0; --k) message += pieces[random() % std::size(pieces)];
    text += logLine("2024-03-10 23:59:58", "Sleep", message) + "\n";
    std::string normal = text::decodeUtf8(message);
    std::replace(normal.begin(), normal.end(), '\t', ' ');
    expected.emplace_back(text::trimWhitespace(normal));
  }
  Recorder r;
  PowerLogParser::scan(text, std::nullopt, r);
  ASSERT_EQ(r.events.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(r.events[i].message, expected[i]) << i;
}

TEST(LogScannerTest, EventsAreBuiltOnlyWhenWanted) {
  const std::string text = logLine("2024-03-10 23:59:58", "Sleep", "a") + "\n" +
                           logLine("2024-03-10 23:59:59", "Wake", "b") + "\n";
  Recorder picky;
  picky.acceptAll = false;
  PowerLogParser::scan(text, std::nullopt, picky);
  EXPECT_TRUE(picky.events.empty());
  EXPECT_EQ(picky.asked.size(), 2u);
}

TEST(LogScannerTest, CursorSkipsWhatWasDelivered) {
  const std::string t = "2024-03-10 23:59:58";
  const std::string text = logLine("2024-03-10 23:59:57", "Sleep", "old") + "\n" + logLine(t, "Sleep", "1") + "\n" +
                           logLine(t, "Sleep", "2") + "\n" + logLine(t, "Sleep", "3") + "\n" +
                           logLine(t, "Sleep", "4") + "\n";
  Recorder r;
  const auto result = PowerLogParser::scan(text, LogCursor{kWallAsUtc, 2}, r);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[0].message, "3");
  EXPECT_EQ(r.events[1].message, "4");
  EXPECT_EQ(result.cursor, (LogCursor{kWallAsUtc, 4}));
  EXPECT_EQ(result.firstDate, kWallAsUtc - 1);

  // A second pass with the result cursor over the same text delivers nothing.
  Recorder again;
  const auto second = PowerLogParser::scan(text, result.cursor, again);
  EXPECT_TRUE(again.events.empty());
  EXPECT_EQ(second.cursor, result.cursor);
}

TEST(LogScannerTest, TextWithoutDatedLinesHasNoCursor) {
  Recorder r;
  const auto result = PowerLogParser::scan("Time stamp                Domain   Message\nUUID: x\n\n", std::nullopt, r);
  EXPECT_FALSE(result.cursor);
  EXPECT_FALSE(result.firstDate);
  LogScanner empty;
  EXPECT_EQ(empty.feed("", true, r), 0u);
}

TEST(LogScannerTest, UnterminatedLastLineNeedsFinal) {
  const std::string first = logLine("2024-03-10 23:59:58", "Sleep", "one") + "\n";
  const std::string text = first + logLine("2024-03-10 23:59:59", "Wake", "two");
  Recorder partial;
  LogScanner a;
  EXPECT_EQ(a.feed(text, false, partial), first.size());
  EXPECT_EQ(partial.events.size(), 1u);
  Recorder whole;
  LogScanner b;
  EXPECT_EQ(b.feed(text, true, whole), text.size());
  ASSERT_EQ(whole.events.size(), 2u);
  EXPECT_EQ(whole.events[1].message, "two");
}

TEST(LogScannerTest, HostileLinesAreSkippedInLinearTime) {
  std::string text;
  text += std::string(10 << 20, 'x');  // 10 MB without a line feed
  text += "\n";
  text += logLine("2024-03-10 23:59:58", "Sleep", std::string("nul\0byte", 8)) + "\n";
  text += std::string("2024-03-10 23:59:58 +0000 ") + std::string(1 << 20, '\t') + "\n";
  Recorder r;
  PowerLogParser::scan(text, std::nullopt, r);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[0].message, std::string("nul\0byte", 8));
  EXPECT_EQ(r.events[1].message, "");
}

}  // namespace
}  // namespace snoozlet
