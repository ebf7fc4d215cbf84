#include "log/PowerLogParser.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace snoozlet {
namespace {

using testing::logLine;

LogEvent event(std::string message, int offset = 0) {
  return {.date = 1000, .utcOffset = offset, .message = std::move(message)};
}

TEST(PowerLogParserTest, BatteryAndSeconds) {
  const std::pair<const char*, std::optional<BatteryPoint>> batteries[] = {
      {"DarkWake from Deep Idle [CDNP] : due to x Using BATT (Charge:76%) 45 secs", BatteryPoint{1000, 76, false}},
      {"Using AC (Charge: 100%)", BatteryPoint{1000, 100, true}}, {"Using UPS(Charge:80)", BatteryPoint{1000, 80, false}},
      {"Summary- [System: PrevIdle] Using Batt(Charge: 84)", BatteryPoint{1000, 84, false}},
      {"Using Mains (Charge:50%) Using AC (Charge:12%)", BatteryPoint{1000, 12, true}},
      {"Using AC", std::nullopt}, {"Using AC (charge:50%)", std::nullopt}, {"Using AC (Charge:1000%)", std::nullopt},
  };
  for (const auto& [message, point] : batteries) EXPECT_EQ(PowerLogParser::battery(event(message)), point) << message;
  const std::pair<const char*, std::optional<double>> seconds[] = {
      {"x Using BATT (Charge:76%) 45 secs", 45.0}, {"x 0 secs", 0.0}, {"45 secs ", std::nullopt},
      {"45secs", std::nullopt},                    {"-5 secs", 5.0}};
  for (const auto& [message, value] : seconds) EXPECT_EQ(PowerLogParser::seconds(event(message)), value) << message;
}

TEST(PowerLogParserTest, SleepEntryAndDueReason) {
  const std::pair<const char*, std::optional<SleepEntry>> entries[] = {
      {"Entering Sleep state due to '':", SleepEntry{"Sleep", "", std::nullopt}},
      {"Entering DarkWake state due to 'Clamshell Sleep':TCPKeepAlive=active Using Batt (Charge:80%) 2 secs",
       SleepEntry{"DarkWake", "Clamshell Sleep", "active"}},
      {"Entering Sleep state due to Idle Sleep", std::nullopt},
  };
  for (const auto& [message, entry] : entries) EXPECT_EQ(PowerLogParser::sleepEntry(event(message)), entry) << message;

  const std::pair<const char*, const char*> reasons[] = {
      {"DarkWake from Deep Idle [CDNP] : due to EC.LidOpen/Lid Open Using Batt (Charge:70%) 3 secs",
       "EC.LidOpen/Lid Open"},
      {"Wake from Normal Sleep [CDNVA] : due to power-button/Lid Open", "power-button/Lid Open"},
      {"due to   spaced   ", "spaced"}, {"no reason here", "no reason here"},
      // "Using" followed by something other than a source word stays in the reason.
      {"due to x Using Mains", "x Using Mains"},
  };
  for (const auto& [message, reason] : reasons) EXPECT_EQ(PowerLogParser::dueReason(event(message)), reason);
}

TEST(PowerLogParserTest, WakeRequests) {
  const auto requests = PowerLogParser::wakeRequests(event(
      "[process=mDNSResponder request=Maintenance deltaSecs=7200 wakeAt=2024-03-11 09:00:00 info=\"DHCP lease\"] "
      "[*process=dasd request=SleepService deltaSecs=600 wakeAt=2024-03-11 09:00:00]",
      7200));
  // 09:00:00 on a line stamped +0200 is 07:00:00 UTC.
  EXPECT_EQ(requests, (std::vector<WakeRequest>{{"mDNSResponder", "Maintenance", "DHCP lease", 1710140400.0, false},
                                                {"dasd", "SleepService", std::nullopt, 1710140400.0, true}}));
  EXPECT_FALSE(PowerLogParser::wakeDate("2024-03-11 09:00", 0));
  // Inputs that would take a quadratic scan minutes.
  std::string unclosed, many;
  for (int i = 0; i < 100000; ++i) unclosed += "[process=p request=r deltaSecs=1 wakeAt=2024-03-11 09:00:0";
  for (int i = 0; i < 2000; ++i) many += "[process=p request=r deltaSecs=1 wakeAt=2024-03-11 09:00:00] ";
  EXPECT_EQ(PowerLogParser::wakeRequests(event(unclosed + "0]")).size(), 1u);
  EXPECT_EQ(PowerLogParser::wakeRequests(event(std::string(100000, '['))).size(), 0u);
  EXPECT_EQ(PowerLogParser::wakeRequests(event(many)).size(), 2000u);
}

TEST(PowerLogParserTest, Assertion) {
  const auto a = PowerLogParser::assertion(
      event("PID 812(ShipIt) Released PreventSystemSleep \"Updating \"x\" now\" 01:02:03  id:0x0x100 [System: kCPU]"));
  EXPECT_EQ(a, (AssertionEvent{1000, 812, "ShipIt", "Released", "PreventSystemSleep", "Updating \"x\" now", 3723}));
  EXPECT_EQ(PowerLogParser::assertion(event("PID 1(a (b)) Created T \"n\" 00:00:00"))->process, "a (b)");
  for (const char* other : {"PID 1(x) Borrowed T \"n\" 00:00:00", "PID 99999999999999999999(x) Created T \"n\" 00:00:00",
                            "Summary- [System: PrevIdle]"})
    EXPECT_FALSE(PowerLogParser::assertion(event(other))) << other;
}

TEST(PowerLogParserTest, ParseSplitsEveryKindOfLineEndAndKeepsDriverReasons) {
  const auto line = [](const char* time, const char* domain, const char* message) {
    return logLine(std::string("2024-03-10 ") + time, domain, message);
  };
  // Lines end at \n, \r\n, \r, U+0085, U+2028 and U+2029, one also before the first line.
  const std::string text = "\u2028Time stamp  Domain  Message\r\n" + line("23:59:50", "Kernel Client Acks", "a") +
                           "\r\nDriverReason: AppleACPIButton\xFF  \r\n" + line("23:59:51", "Wake", "b\xFF") + "\r" +
                           line("23:59:52", "Sleep", "c") + "\r  DriverReason: not at start\n" +
                           line("23:59:53", "Sleep", "d") + "\u0085" + line("23:59:54", "Sleep", "e") + "\u2028" +
                           line("23:59:55", "Sleep", "f") + "\u2029" +
                           "2024-03-10 23:59:59 +0000 \tshort" /* 26-byte head then a tab */;
  const auto events = PowerLogParser::parse(text);
  std::string messages;
  for (const LogEvent& e : events) messages += e.message;
  EXPECT_EQ(messages, "ab\uFFFDcdefshort") << "invalid bytes repaired";
  ASSERT_EQ(events.size(), 7u);
  EXPECT_EQ(events[0].details, std::vector<std::string>{"DriverReason: AppleACPIButton\uFFFD"});
  EXPECT_TRUE(events[2].details.empty());
  EXPECT_EQ(events[6].domain, LogDomain::other(""));
}

// The power-log excerpts captured on real machines (tests/fixtures/real):
// every line with the documented shape must become an event.
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

TEST(PowerLogParserTest, EveryDocumentedLineOfTheRealLogsBecomesAnEvent) {
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
  // Excerpts whose tabs survived (01, 04, 07, 13, 18, 26; not the cut or prefixed lines among them) give events;
  // those copied with spaces or with a prefix before the stamp do not.
  EXPECT_EQ(total, 14u + 7u + 8u + 6u + 5u + 9u);
}

TEST(PowerLogParserTest, TheRealLogsDarkWakeFactsAndReasonsAreRead) {
  const auto events = PowerLogParser::parse(testing::readFile(testing::fixturePath("real/pmsetlog-01.txt")));
  ASSERT_EQ(events.size(), 14u);
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
