#include "sessions/SessionBuilder.h"

#include "log/PowerLogParser.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

// Builds a log from (hh:mm:ss on 2024-03-10, domain, message) rows, UTC.
std::string logOf(std::initializer_list<std::tuple<const char*, const char*, std::string>> rows) {
  std::string text;
  for (const auto& [time, domain, message] : rows)
    text += testing::logLine(std::string("2024-03-10 ") + time, domain, message) + "\n";
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
  EXPECT_EQ(std::tie(s.start, s.end, s.isPartial), std::make_tuple(at(0), at(7), false));
  EXPECT_EQ(s.ending, SessionEnd::fullWake(WakeReason("EC.LidOpen", WakeCategory::lid)));
  EXPECT_EQ(std::tie(s.sleepReason, s.tcpKeepAlive), std::make_tuple("Clamshell Sleep", "active"));
  ASSERT_EQ(s.darkWakes.size(), 2u);
  EXPECT_EQ(std::tie(s.darkWakes[0].reason.category, s.darkWakes[0].duration),
            std::make_tuple(WakeCategory::network, 20.0));
  EXPECT_EQ(s.darkWakes[1].reason.category, WakeCategory::backgroundTask);
  // Sleep entry, both dark wakes, the second sleep line and the wake line.
  std::vector<int> percents;
  for (const auto& p : s.battery) percents.push_back(p.percent);
  EXPECT_EQ(percents, (std::vector<int>{80, 78, 77, 76, 70}));
}

TEST(SessionBuilderTest, PartialAndUnmatchedSessions) {
  const auto sessions = sessionsOf(logOf({
      {"00:00:00", "Wake", kLid},                                 // no session open: dropped
      {"00:30:00", "Sleep Failure", "Sleep Failure [code:0x1]"},  // outside a session: dropped
      {"01:00:00", "DarkWake", darkWake("rtc", 5)},
      {"02:00:00", "Wake", kLid},
      {"03:00:00", "Sleep", "Entering Sleep state for no reason"},
      {"03:30:00", "Sleep Failure", "Sleep Failure [code:0x2]"},
      {"04:00:00", "Start", "powerd process is started"},
  }));
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(std::tie(sessions[0].isPartial, sessions[0].start, sessions[0].sleepReason),
            std::make_tuple(true, at(1), "?"));
  EXPECT_EQ(std::tie(sessions[1].sleepReason, sessions[1].ending), std::make_tuple("?", SessionEnd::shutdown()));
  EXPECT_FALSE(sessions[1].tcpKeepAlive);
  EXPECT_EQ(sessions[1].failures, (std::vector<SleepFailure>{{at(3, 30), "Sleep Failure [code:0x2]"}}));
}

TEST(SessionBuilderTest, FiredRequestsAttachWithinTwoMinutesToRequestCategories) {
  auto request = [](const char* wakeAt) {
    return std::string("[*process=mDNSResponder request=Maintenance deltaSecs=600 wakeAt=2024-03-10 ") + wakeAt +
           " info=\"DHCP lease renewal\"]";
  };
  const auto sessions = sessionsOf(logOf({
      {"00:00:00", "Sleep", kSleep},
      {"00:50:00", "Wake Requests", request("01:02:00")},
      {"01:00:00", "DarkWake", darkWake("wifibt", 5)},           // network never takes it
      {"01:00:00", "DarkWake", darkWake("rtc/Maintenance", 5)},  // 120 s early: attached
      {"02:00:00", "Wake Requests", request("02:02:01")},
      {"02:00:00", "DarkWake", darkWake("rtc/Maintenance", 5)},  // 121 s: not attached
      {"02:01:00", "DarkWake", darkWake("rtc/Alarm", 5)},        // the same request, 61 s: attached
      {"07:00:00", "Wake", kLid},
  }));
  ASSERT_EQ(sessions.size(), 1u);
  std::vector<std::optional<Instant>> attached;
  for (const auto& w : sessions[0].darkWakes) attached.push_back(w.request ? w.request->wakeAt : std::nullopt);
  EXPECT_EQ(attached, (std::vector<std::optional<Instant>>{{}, at(1, 2, 0), {}, at(2, 2, 1)}));
}

TEST(SessionBuilderTest, OngoingSessionIsProvisional) {
  SessionBuilder builder;
  // Assertions are wanted only while asleep, notifications and details never.
  EXPECT_FALSE(builder.wants(LogDomain::Kind::assertions));
  EXPECT_TRUE(builder.wants(LogDomain::Kind::boot));
  for (const auto kind : {LogDomain::Kind::notification, LogDomain::Kind::wakeDetails, LogDomain::Kind::other})
    EXPECT_FALSE(builder.wants(kind));
  const auto feed = [&](const std::string& log) {
    for (const auto& e : PowerLogParser::parse(log))
      if (builder.wants(e.domain)) builder.consume(e);
  };
  feed(logOf({{"00:00:00", "Sleep", kSleep},
              {"01:00:00", "DarkWake", darkWake("rtc", 5)},
              {"01:10:00", "Notification", "Display is turned off"}}));
  EXPECT_TRUE(builder.isAsleep() && builder.wants(LogDomain::Kind::assertions));
  EXPECT_TRUE(builder.closed().empty());
  ASSERT_EQ(builder.sessions().size(), 1u);
  // It ends at the last consumed event; notifications are not wanted.
  EXPECT_EQ(std::tie(builder.sessions()[0].ending, builder.sessions()[0].end),
            std::make_tuple(SessionEnd::ongoing(), at(1)));
  feed(logOf({{"07:00:00", "Wake", kLid}}));
  EXPECT_FALSE(builder.isAsleep());
  ASSERT_EQ(builder.sessions().size(), 1u);
  EXPECT_EQ(std::tie(builder.sessions()[0].ending, builder.sessions()[0].end),
            std::make_tuple(SessionEnd::fullWake(WakeReason("EC.LidOpen")), at(7)));
  builder.prune(at(7));
  EXPECT_EQ(builder.sessions().size(), 1u);
  builder.prune(at(7, 0, 1));
  EXPECT_TRUE(builder.sessions().empty());
}

TEST(SessionBuilderTest, HoldersAreAccountedAndGrouped) {
  const auto assertion = [](int pid, const char* process, const char* action, const char* type, const char* name,
                            const char* age) {
    return "PID " + std::to_string(pid) + "(" + process + ") " + action + " " + type + " \"" + name + "\" " + age +
           "  id:0x0x1 [System: kCPU]";
  };
  const char* kPrevent = "PreventSystemSleep";
  const char* kIdle = "PreventUserIdleSystemSleep";
  const auto sessions = sessionsOf(logOf({
      {"00:00:00", "Sleep", kSleep},
      {"01:00:00", "Assertions", assertion(10, "Renderer", "Created", kPrevent, "Export 0x1f", "00:00:00")},
      {"01:30:00", "Assertions", assertion(10, "Renderer", "Released", kPrevent, "Export 0x2e", "00:30:00")},
      // Released with no Created seen: began `age` earlier, clamped to the session start.
      {"01:30:00", "Assertions", assertion(20, "backupd", "Released", "BackgroundTask", "TM", "02:00:00")},
      // Two process ids of one program merge; at equal held time more creations come first.
      {"02:00:00", "Assertions", assertion(30, "caffeinate", "Created", kIdle, "c", "00:00:00")},
      {"02:00:00", "Assertions", assertion(31, "caffeinate", "Created", kIdle, "c", "00:00:00")},
      {"02:10:00", "Assertions", assertion(30, "caffeinate", "Released", kIdle, "c", "00:10:00")},
      {"02:10:00", "Assertions", assertion(31, "caffeinate", "TimedOut", kIdle, "c", "00:10:00")},
      {"02:10:00", "Assertions", assertion(32, "caffeinate", "ClientDied", kIdle, "c", "00:10:00")},
      // Still open at the end; a summary holds nothing.
      {"05:00:00", "Assertions", assertion(40, "zoom.us", "Created", kPrevent, "call", "00:00:00")},
      {"05:00:00", "Assertions", assertion(41, "Summarist", "Summary", kPrevent, "s", "01:00:00")},
      {"05:00:00", "Assertions", "Summary- [System: PrevIdle] Using Batt(Charge: 61)"},
      {"07:00:00", "Wake", kLid},
  }));
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].holders, (std::vector<HolderGroup>{
                                     {"zoom.us", kPrevent, "call", 1, 7200, HolderOrigin::app},
                                     {"backupd", "BackgroundTask", "TM", 1, 5400, HolderOrigin::system},
                                     {"caffeinate", kIdle, "c", 2, 1800, HolderOrigin::userTool},
                                     {"Renderer", kPrevent, "Export", 1, 1800, HolderOrigin::app},
                                     {"Summarist", kPrevent, "s", 1, 0, HolderOrigin::app},
                                 }));
  EXPECT_EQ(sessions[0].battery[1].percent, 61);
}

}  // namespace
}  // namespace snoozlet
