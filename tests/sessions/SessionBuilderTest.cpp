#include "sessions/SessionBuilder.h"

#include "log/PowerLogParser.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

using testing::logLine;

// Builds a log from (hh:mm:ss on 2024-03-10, domain, message) rows, UTC.
std::string logOf(std::initializer_list<std::tuple<const char*, const char*, std::string>> rows) {
  std::string text;
  for (const auto& [time, domain, message] : rows)
    text += logLine(std::string("2024-03-10 ") + time, domain, message) + "\n";
  return text;
}

std::vector<SleepSession> sessionsOf(const std::string& text) {
  return SessionBuilder::sessions(PowerLogParser::parse(text));
}

constexpr Instant kMidnight = 1710028800;  // 2024-03-10 00:00:00 UTC
Instant at(int h, int m = 0, int s = 0) { return kMidnight + h * 3600 + m * 60 + s; }

const std::string kSleep = "Entering Sleep state due to 'Clamshell Sleep':TCPKeepAlive=active Using Batt (Charge:80%) 2 secs";
const std::string kLid = "Wake from Deep Idle [CDNVA] : due to EC.LidOpen Using BATT (Charge:70%)";

std::string darkWake(const std::string& reason, int seconds, int charge = 75) {
  return "DarkWake from Deep Idle [CDNP] : due to " + reason + " Using BATT (Charge:" + std::to_string(charge) +
         "%) " + std::to_string(seconds) + " secs";
}

TEST(SessionBuilderTest, SleepDarkWakesAndFullWakeMakeOneSession) {
  const auto sessions = sessionsOf(logOf({
      {"00:00:00", "Sleep", kSleep},
      {"01:00:00", "DarkWake", darkWake("smc.sysState.Wake(0x70070000) wifibt SMC.OutboxNotEmpty/", 20, 78)},
      {"02:00:00", "Sleep", "Entering Sleep state due to 'Maintenance Sleep' Using Batt (Charge:77%) 300 secs"},
      {"03:00:00", "DarkWake", darkWake("NUB.SPMI0.SW3 nub-spmi0.0x02 rtc/SleepService", 9, 76)},
      {"07:00:00", "Wake", kLid},
  }));
  ASSERT_EQ(sessions.size(), 1u);
  const auto& s = sessions[0];
  EXPECT_EQ(s.start, at(0));
  EXPECT_EQ(s.end, at(7));
  EXPECT_EQ(s.ending, SessionEnd::fullWake(WakeReason("EC.LidOpen")));
  EXPECT_EQ(s.ending.reason()->category, WakeCategory::lid);
  EXPECT_EQ(s.sleepReason, "Clamshell Sleep");
  EXPECT_EQ(s.tcpKeepAlive, "active");
  EXPECT_FALSE(s.isPartial);
  ASSERT_EQ(s.darkWakes.size(), 2u);
  EXPECT_EQ(s.darkWakes[0].reason.category, WakeCategory::network);
  EXPECT_EQ(s.darkWakes[0].duration, 20.0);
  EXPECT_EQ(s.darkWakes[1].reason.category, WakeCategory::backgroundTask);
  // Sleep entry, both dark wakes, the second sleep line and the wake line.
  std::vector<int> percents;
  for (const auto& p : s.battery) percents.push_back(p.percent);
  EXPECT_EQ(percents, (std::vector<int>{80, 78, 77, 76, 70}));
}

TEST(SessionBuilderTest, PartialAndUnmatchedSessions) {
  const auto sessions = sessionsOf(logOf({
      {"00:00:00", "Wake", kLid},  // no session open: dropped
      {"00:30:00", "Sleep Failure", "Sleep Failure [code:0x1]"},  // outside a session: dropped
      {"01:00:00", "DarkWake", darkWake("rtc", 5)},
      {"02:00:00", "Wake", kLid},
      {"03:00:00", "Sleep", "Entering Sleep state for no reason"},
      {"03:30:00", "Sleep Failure", "Sleep Failure [code:0x2]"},
      {"04:00:00", "Start", "powerd process is started"},
  }));
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_TRUE(sessions[0].isPartial);
  EXPECT_EQ(sessions[0].start, at(1));
  EXPECT_EQ(sessions[0].sleepReason, "?");
  EXPECT_EQ(sessions[1].sleepReason, "?");
  EXPECT_FALSE(sessions[1].tcpKeepAlive);
  EXPECT_EQ(sessions[1].ending, SessionEnd::shutdown());
  ASSERT_EQ(sessions[1].failures.size(), 1u);
  EXPECT_EQ(sessions[1].failures[0].message, "Sleep Failure [code:0x2]");
}

TEST(SessionBuilderTest, FiredRequestsAttachWithinTwoMinutesToRequestCategories) {
  auto request = [](const char* wakeAt) {
    return std::string("[*process=mDNSResponder request=Maintenance deltaSecs=600 wakeAt=2024-03-10 ") + wakeAt +
           " info=\"DHCP lease renewal\"]";
  };
  const auto sessions = sessionsOf(logOf({
      {"00:00:00", "Sleep", kSleep},
      {"00:50:00", "Wake Requests", request("01:01:30")},
      {"01:00:00", "DarkWake", darkWake("wifibt", 5)},  // network never takes it
      {"01:00:00", "DarkWake", darkWake("rtc/Maintenance", 5)},  // 90 s early: attached
      {"02:00:00", "Wake Requests", request("02:02:01")},
      {"02:00:00", "DarkWake", darkWake("rtc/Maintenance", 5)},  // 121 s: not attached
      {"02:01:00", "DarkWake", darkWake("rtc/Alarm", 5)},        // the same request, 61 s: attached
      {"07:00:00", "Wake", kLid},
  }));
  ASSERT_EQ(sessions.size(), 1u);
  const auto& wakes = sessions[0].darkWakes;
  ASSERT_EQ(wakes.size(), 4u);
  EXPECT_FALSE(wakes[0].request);
  ASSERT_TRUE(wakes[1].request);
  EXPECT_EQ(wakes[1].request->info, "DHCP lease renewal");
  EXPECT_FALSE(wakes[2].request);
  ASSERT_TRUE(wakes[3].request);
  EXPECT_EQ(wakes[3].request->wakeAt, at(2, 2, 1));
}

TEST(SessionBuilderTest, OngoingSessionIsProvisional) {
  SessionBuilder builder;
  // Assertions are wanted only while asleep, notifications and details never.
  EXPECT_FALSE(builder.wants(LogDomain::Kind::assertions));
  EXPECT_TRUE(builder.wants(LogDomain::Kind::boot));
  for (const auto kind : {LogDomain::Kind::notification, LogDomain::Kind::wakeDetails, LogDomain::Kind::other})
    EXPECT_FALSE(builder.wants(kind));
  for (const auto& e : PowerLogParser::parse(logOf({{"00:00:00", "Sleep", kSleep},
                                                     {"01:00:00", "DarkWake", darkWake("rtc", 5)},
                                                     {"01:10:00", "Notification", "Display is turned off"}}))) {
    if (builder.wants(e.domain)) builder.consume(e);
  }
  EXPECT_TRUE(builder.isAsleep());
  EXPECT_TRUE(builder.wants(LogDomain::Kind::assertions));
  auto sessions = builder.sessions();
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].ending, SessionEnd::ongoing());
  EXPECT_EQ(sessions[0].end, at(1));  // the last consumed event; notifications are not wanted
  EXPECT_TRUE(builder.closed().empty());

  for (const auto& e : PowerLogParser::parse(logOf({{"07:00:00", "Wake", kLid}}))) builder.consume(e);
  sessions = builder.sessions();
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].ending.kind(), SessionEnd::Kind::fullWake);
  EXPECT_EQ(sessions[0].end, at(7));
  EXPECT_FALSE(builder.isAsleep());

  builder.prune(at(7));
  EXPECT_EQ(builder.sessions().size(), 1u);
  builder.prune(at(7, 0, 1));
  EXPECT_TRUE(builder.sessions().empty());
}

std::string assertion(const char* pid, const char* process, const char* action, const char* type, const char* name,
                      const char* age) {
  return std::string("PID ") + pid + "(" + process + ") " + action + " " + type + " \"" + name + "\" " + age +
         "  id:0x0x1 [System: kCPU]";
}

TEST(SessionBuilderTest, HoldersAreAccountedAndGrouped) {
  const auto sessions = sessionsOf(logOf({
      {"00:00:00", "Sleep", kSleep},
      {"01:00:00", "Assertions", assertion("10", "Renderer", "Created", "PreventSystemSleep", "Export 0x1f", "00:00:00")},
      {"01:30:00", "Assertions", assertion("10", "Renderer", "Released", "PreventSystemSleep", "Export 0x2e", "00:30:00")},
      // Released with no Created seen: began `age` earlier, clamped to the session start.
      {"01:30:00", "Assertions", assertion("20", "backupd", "Released", "BackgroundTask", "TM", "02:00:00")},
      // Two process ids of one program merge.
      {"02:00:00", "Assertions", assertion("30", "caffeinate", "Created", "PreventUserIdleSystemSleep", "c", "00:00:00")},
      {"02:00:00", "Assertions", assertion("31", "caffeinate", "Created", "PreventUserIdleSystemSleep", "c", "00:00:00")},
      {"02:10:00", "Assertions", assertion("30", "caffeinate", "Released", "PreventUserIdleSystemSleep", "c", "00:10:00")},
      {"02:10:00", "Assertions", assertion("31", "caffeinate", "TimedOut", "PreventUserIdleSystemSleep", "c", "00:10:00")},
      // Still open at the end.
      {"05:00:00", "Assertions", assertion("40", "zoom.us", "Created", "PreventSystemSleep", "call", "00:00:00")},
      {"05:00:00", "Assertions", assertion("41", "Summarist", "Summary", "PreventSystemSleep", "s", "00:00:00")},
      {"05:00:00", "Assertions", "Summary- [System: PrevIdle] Using Batt(Charge: 61)"},
      {"07:00:00", "Wake", kLid},
  }));
  ASSERT_EQ(sessions.size(), 1u);
  const auto& holders = sessions[0].holders;
  ASSERT_EQ(holders.size(), 5u);
  EXPECT_EQ(holders[0], (HolderGroup{"zoom.us", "PreventSystemSleep", "call", 1, 7200, HolderOrigin::app}));
  EXPECT_EQ(holders[1], (HolderGroup{"backupd", "BackgroundTask", "TM", 1, 5400, HolderOrigin::system}));
  EXPECT_EQ(holders[2], (HolderGroup{"Renderer", "PreventSystemSleep", "Export", 1, 1800, HolderOrigin::app}));
  EXPECT_EQ(holders[3], (HolderGroup{"caffeinate", "PreventUserIdleSystemSleep", "c", 2, 1200, HolderOrigin::userTool}));
  EXPECT_EQ(holders[4].process, "Summarist");
  EXPECT_EQ(holders[4].count, 1);
  EXPECT_EQ(holders[4].heldSeconds, 0);
  EXPECT_EQ(sessions[0].battery[1].percent, 61);
}

TEST(SessionBuilderTest, EqualHeldTimeSortsByCount) {
  HolderAccumulator acc;
  // Process, pid, creation and release: "longer" holds 121 s, "often" twice 60 s, "once" 120 s.
  const std::tuple<const char*, long long, Instant, Instant> holds[] = {
      {"often", 1, 100, 160}, {"often", 2, 200, 260}, {"longer", 3, 100, 221}, {"once", 4, 100, 220}};
  for (const auto& [process, pid, created, released] : holds) {
    acc.account(AssertionEvent{created, pid, process, "Created", "T", "n", 0}, 0);
    acc.account(AssertionEvent{released, pid, process, "Released", "T", "n", 0}, 0);
  }
  const auto groups = acc.groups(1000);
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].process, "longer");  // more held time beats more creations
  EXPECT_EQ(groups[1].process, "often");   // 120 s like "once", created twice
  EXPECT_EQ(groups[2].process, "once");
}

}  // namespace
}  // namespace snoozlet
