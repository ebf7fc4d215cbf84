#include "log/PowerLogParser.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

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
  auto entry = PowerLogParser::sleepEntry(event("Entering Sleep state due to '':"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(std::tie(entry->kind, entry->reason), std::make_tuple("Sleep", ""));
  EXPECT_FALSE(entry->tcpKeepAlive);
  entry = PowerLogParser::sleepEntry(
      event("Entering DarkWake state due to 'Clamshell Sleep':TCPKeepAlive=active Using Batt (Charge:80%) 2 secs"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(std::tie(entry->kind, entry->reason), std::make_tuple("DarkWake", "Clamshell Sleep"));
  EXPECT_EQ(entry->tcpKeepAlive, "active");
  EXPECT_FALSE(PowerLogParser::sleepEntry(event("Entering Sleep state due to Idle Sleep")));

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
  EXPECT_EQ(PowerLogParser::wakeDate("2024-03-11 09:00:00", 7200), 1710140400.0);
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
  EXPECT_EQ(events[0].domain, LogDomain::other("Kernel Client Acks"));
  EXPECT_EQ(events[0].details, std::vector<std::string>{"DriverReason: AppleACPIButton\uFFFD"});
  EXPECT_TRUE(events[2].details.empty());
  EXPECT_EQ(events[6].domain, LogDomain::other(""));
}

}  // namespace
}  // namespace snoozlet
