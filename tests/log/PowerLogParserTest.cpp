#include "log/PowerLogParser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace snoozlet {
namespace {

LogEvent event(std::string message, Instant date = 1000, int offset = 0) {
  LogEvent e;
  e.date = date;
  e.utcOffset = offset;
  e.message = std::move(message);
  return e;
}

TEST(PowerLogParserTest, BatteryAndSeconds) {
  const auto e = event("DarkWake from Deep Idle [CDNP] : due to x Using BATT (Charge:76%) 45 secs");
  EXPECT_EQ(PowerLogParser::battery(e), (BatteryPoint{1000, 76, false}));
  EXPECT_EQ(PowerLogParser::seconds(e), 45.0);

  EXPECT_EQ(PowerLogParser::battery(event("Using AC (Charge: 100%)")), (BatteryPoint{1000, 100, true}));
  EXPECT_EQ(PowerLogParser::battery(event("Using UPS(Charge:80)")), (BatteryPoint{1000, 80, false}));
  EXPECT_EQ(PowerLogParser::battery(event("Summary- [System: PrevIdle] Using Batt(Charge: 84)")),
            (BatteryPoint{1000, 84, false}));
  EXPECT_FALSE(PowerLogParser::battery(event("Using AC")));
  EXPECT_FALSE(PowerLogParser::battery(event("Using Mains (Charge:50%)")));
  EXPECT_FALSE(PowerLogParser::battery(event("Using AC (charge:50%)")));

  EXPECT_EQ(PowerLogParser::seconds(event("x 0 secs")), 0.0);
  EXPECT_FALSE(PowerLogParser::seconds(event("45 secs ")));  // must end with "secs"
  EXPECT_FALSE(PowerLogParser::seconds(event("45secs")));
  EXPECT_FALSE(PowerLogParser::seconds(event("-5 secs")) == -5.0);
}

TEST(PowerLogParserTest, SleepEntry) {
  auto entry = PowerLogParser::sleepEntry(event("Entering Sleep state due to '':"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->kind, "Sleep");
  EXPECT_EQ(entry->reason, "");
  EXPECT_FALSE(entry->tcpKeepAlive);

  entry = PowerLogParser::sleepEntry(
      event("Entering DarkWake state due to 'Clamshell Sleep':TCPKeepAlive=active Using Batt (Charge:80%) 2 secs"));
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->kind, "DarkWake");
  EXPECT_EQ(entry->reason, "Clamshell Sleep");
  EXPECT_EQ(entry->tcpKeepAlive, "active");

  EXPECT_FALSE(PowerLogParser::sleepEntry(event("Entering Sleep state due to Idle Sleep")));
}

TEST(PowerLogParserTest, DueReason) {
  EXPECT_EQ(PowerLogParser::dueReason(event("DarkWake from Deep Idle [CDNP] : due to EC.LidOpen/Lid Open Using Batt "
                                            "(Charge:70%) 3 secs")),
            "EC.LidOpen/Lid Open");
  EXPECT_EQ(PowerLogParser::dueReason(event("Wake from Normal Sleep [CDNVA] : due to power-button/Lid Open")),
            "power-button/Lid Open");
  EXPECT_EQ(PowerLogParser::dueReason(event("due to   spaced   ")), "spaced");
  EXPECT_EQ(PowerLogParser::dueReason(event("no reason here")), "no reason here");
  // "Using" followed by something other than a source word stays in the reason.
  EXPECT_EQ(PowerLogParser::dueReason(event("due to x Using Mains")), "x Using Mains");
}

TEST(PowerLogParserTest, WakeRequests) {
  const auto e = event(
      "[process=mDNSResponder request=Maintenance deltaSecs=7200 wakeAt=2024-03-11 09:00:00 info=\"DHCP lease\"] "
      "[*process=dasd request=SleepService deltaSecs=600 wakeAt=2024-03-11 09:00:00]",
      0, 7200);
  const auto requests = PowerLogParser::wakeRequests(e);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].process, "mDNSResponder");
  EXPECT_EQ(requests[0].kind, "Maintenance");
  EXPECT_EQ(requests[0].info, "DHCP lease");
  EXPECT_FALSE(requests[0].fired);
  EXPECT_EQ(requests[1].process, "dasd");
  EXPECT_FALSE(requests[1].info);
  EXPECT_TRUE(requests[1].fired);
  // 09:00:00 on a line stamped +0200 is 07:00:00 UTC.
  EXPECT_EQ(requests[1].wakeAt, 1710140400.0);
  EXPECT_EQ(PowerLogParser::wakeDate("2024-03-11 09:00:00", 7200), 1710140400.0);
  EXPECT_FALSE(PowerLogParser::wakeDate("2024-03-11 09:00", 0));
}

TEST(PowerLogParserTest, ManyBracketsStayLinear) {
  std::string message;
  for (int i = 0; i < 100000; ++i) message += "[process=p request=r deltaSecs=1 wakeAt=2024-03-11 09:00:0";
  message += "0]";
  std::string many;
  for (int i = 0; i < 2000; ++i) many += "[process=p request=r deltaSecs=1 wakeAt=2024-03-11 09:00:00] ";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(PowerLogParser::wakeRequests(event(message)).size(), 1u);
  EXPECT_EQ(PowerLogParser::wakeRequests(event(std::string(100000, '['))).size(), 0u);
  EXPECT_EQ(PowerLogParser::wakeRequests(event(many)).size(), 2000u);
  // Generous bound: a quadratic scan of these inputs would take minutes.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(PowerLogParserTest, Assertion) {
  const auto a = PowerLogParser::assertion(
      event("PID 812(ShipIt) Released PreventSystemSleep \"Updating \"x\" now\" 01:02:03  id:0x0x100 [System: kCPU]"));
  ASSERT_TRUE(a);
  EXPECT_EQ(a->pid, 812);
  EXPECT_EQ(a->process, "ShipIt");
  EXPECT_EQ(a->action, "Released");
  EXPECT_EQ(a->type, "PreventSystemSleep");
  EXPECT_EQ(a->name, "Updating \"x\" now");
  EXPECT_EQ(a->age, 3723);
  EXPECT_EQ(a->date, 1000);

  const auto named = PowerLogParser::assertion(event("PID 1(a (b)) Created T \"n\" 00:00:00"));
  ASSERT_TRUE(named);
  EXPECT_EQ(named->process, "a (b)");
  EXPECT_FALSE(PowerLogParser::assertion(event("PID 1(x) Borrowed T \"n\" 00:00:00")));
  EXPECT_FALSE(PowerLogParser::assertion(event("PID 99999999999999999999(x) Created T \"n\" 00:00:00")));
  EXPECT_FALSE(PowerLogParser::assertion(event("Summary- [System: PrevIdle]")));
}

TEST(PowerLogParserTest, MatchHelpersTellAbsentFromEmpty) {
  static const Pattern p("(a)?(b*)c");
  const auto m = PowerLogParser::firstMatch(p, "xc");
  ASSERT_TRUE(m);
  EXPECT_EQ((*m)[0], "c");
  EXPECT_FALSE((*m)[1]);
  EXPECT_EQ((*m)[2], "");
  const auto all = PowerLogParser::allMatches(p, "abc c bbc");
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0][0], "abc");
  EXPECT_EQ(all[2][2], "bb");
  EXPECT_FALSE(PowerLogParser::firstMatch(p, "xyz"));
}

}  // namespace
}  // namespace snoozlet
