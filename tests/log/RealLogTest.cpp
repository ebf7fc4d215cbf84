// The power-log excerpts captured on real machines (tests/fixtures/real):
// every line with the documented shape must become an event.

#include "log/PowerLogParser.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <regex>

namespace snoozlet {
namespace {

struct All {
  std::vector<LogEvent> events;
  bool wants(const LogDomain&) { return true; }
  void consume(const LogEvent& e) { events.push_back(e); }
};

const char* const kLogs[] = {"pmsetlog-01.txt", "pmsetlog-03.txt", "pmsetlog-04.txt", "pmsetlog-06.txt",
                             "pmsetlog-07.txt", "pmsetlog-08.txt", "pmsetlog-13.txt", "pmsetlog-15.txt",
                             "pmsetlog-18.txt", "pmsetlog-20.txt", "pmsetlog-21.txt", "pmsetlog-23.txt",
                             "pmsetlog-26.txt", "pmsetlog-28.txt"};

// The documented shape, checked independently of the scanner.
std::size_t documentedLines(const std::string& text) {
  static const std::regex shape(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d [+-]\d{4} [^\t]*\t.*)");
  std::size_t count = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (line.size() >= 28 && std::regex_match(line, shape)) ++count;
    start = end + 1;
  }
  return count;
}

TEST(RealLogTest, EveryDocumentedLineBecomesAnEvent) {
  std::size_t total = 0;
  for (const char* name : kLogs) {
    const std::string text = testing::readFile(testing::fixturePath(std::string("real/") + name));
    All all;
    PowerLogParser::scan(text, std::nullopt, all);
    EXPECT_EQ(all.events.size(), documentedLines(text)) << name;
    EXPECT_EQ(PowerLogParser::parse(text).size(), all.events.size()) << name;
    for (const auto& e : all.events) {
      EXPECT_FALSE(e.message.empty() && e.domain != LogDomain::Kind::other) << name;
      EXPECT_EQ(e.message, std::string(e.message.c_str())) << "no NUL in " << name;
    }
    total += all.events.size();
  }
  // Excerpts whose tabs survived (01, 04, 07, 13, 18, 26; not the cut or prefixed
  // lines among them) give events;
  // those copied with spaces or with a prefix before the stamp do not.
  EXPECT_EQ(total, 14u + 7u + 8u + 6u + 5u + 9u);
}

TEST(RealLogTest, DarkWakeFactsAndReasonsAreRead) {
  const auto events = PowerLogParser::parse(testing::readFile(testing::fixturePath("real/pmsetlog-01.txt")));
  ASSERT_EQ(events.size(), 14u);
  EXPECT_EQ(events[1].domain, LogDomain::other("Kernel Client Acks"));
  EXPECT_EQ(events[3].utcOffset, -5 * 3600);
  const auto& dark = events[11];
  ASSERT_EQ(dark.domain, LogDomain::Kind::darkWake);
  EXPECT_EQ(PowerLogParser::dueReason(dark), "SMC.OutboxNotEmpty smc.70070000 wifibt/");
  EXPECT_EQ(PowerLogParser::seconds(dark), 7.0);
  EXPECT_EQ(PowerLogParser::battery(dark)->percent, 76);
  EXPECT_TRUE(PowerLogParser::wakeRequests(events[6]).at(0).fired);
}

}  // namespace
}  // namespace snoozlet
