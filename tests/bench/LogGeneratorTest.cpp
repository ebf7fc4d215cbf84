#include "bench/LogGenerator.h"

#include "analysis/NightAnalyzer.h"
#include "log/LogScanner.h"
#include "log/PowerLogParser.h"
#include "common/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace snoozlet::bench {
namespace {

const std::string& week() {
  static const std::string log = makeLog(ordinaryWeek());
  return log;
}

TimeZone istanbul() { return *TimeZone::named("Europe/Istanbul"); }

TEST(LogGeneratorTest, SameSpecGivesSameBytesAndSeedChangesThem) {
  EXPECT_EQ(makeLog(ordinaryWeek()), week());
  LogPlan other = ordinaryWeek();
  other.seed += 1;
  EXPECT_NE(makeLog(other), week());
  LogPlan unknown = ordinaryWeek();
  unknown.timeZone = "Nowhere/Atlantis";
  EXPECT_FALSE(writeLog(unknown, [](std::string_view) {}));
}

TEST(LogGeneratorTest, WeekIsChronologicalAndOfRealisticSize) {
  const std::string& log = week();
  ASSERT_EQ(log.back(), '\n');
  double previous = -1e18;
  std::size_t undated = 0;
  for (std::string_view line : text::split(std::string_view(log).substr(0, log.size() - 1), '\n')) {
    const auto stamp = LogScanner::timestamp(line);
    if (!stamp) {
      ++undated;
      continue;
    }
    ASSERT_GE(stamp->first, previous) << line;
    previous = stamp->first;
  }
  EXPECT_LE(undated, 10u);
  LogCensus census;
  census.add(log);
  EXPECT_EQ(census.bytes, log.size());
  EXPECT_GE(census.lines, 10000u);
  EXPECT_LE(census.lines, 40000u);
  const double assertions = static_cast<double>(census.linesByDomain["Assertions"]) / census.lines;
  EXPECT_GT(assertions, 0.4);
  EXPECT_LT(assertions, 0.6);
  for (const char* domain : {"Sleep", "DarkWake", "Wake", "Wake Requests", "Notification", "Kernel Client Acks",
                             "PM Client Acks", "WakeDetails", "WakeTime"}) {
    EXPECT_GT(census.linesByDomain[domain], 0u) << domain;
  }
}

TEST(LogGeneratorTest, WeekReadsAsSevenNightsWithTheirDarkWakes) {
  const SleepAnalysis analysis = NightAnalyzer::analyze(std::string_view(week()), istanbul(), {});
  const std::vector<NightReport> nights = analysis.nights();
  ASSERT_EQ(nights.size(), 7u);
  for (const NightReport& night : nights) {
    EXPECT_GE(night.darkWakeCount, 20);
    EXPECT_EQ(night.session.ending.kind(), SessionEnd::Kind::fullWake);
    ASSERT_TRUE(night.battery.drop.has_value());
    EXPECT_GE(*night.battery.drop, 0);
    EXPECT_LE(*night.battery.drop, 40);
  }
  // The dasd and mDNSResponder requests still explain their dark wakes.
  std::size_t requesters = 0;
  for (const NightReport& night : nights) requesters += night.requesters.size();
  EXPECT_GT(requesters, 0u);
}

TEST(LogGeneratorTest, MessagesKeepTheirFactsUnderThePadding) {
  std::size_t wakeRequestLines = 0;
  for (const LogEvent& event : PowerLogParser::parse(week())) {
    using K = LogDomain::Kind;
    if (event.domain == K::darkWake) {
      EXPECT_TRUE(PowerLogParser::seconds(event).has_value()) << event.message;
      EXPECT_TRUE(PowerLogParser::battery(event).has_value()) << event.message;
    } else if (event.domain == K::wakeRequests) {
      const auto requests = PowerLogParser::wakeRequests(event);
      EXPECT_GE(requests.size(), 1u) << event.message;
      EXPECT_LE(requests.size(), 5u) << event.message;
      if (requests.size() >= 2) ++wakeRequestLines;
    } else if (event.domain == K::assertions && event.message.starts_with("PID ") &&
               !event.message.starts_with("PID 0(kernel_task)")) {
      // The kernel's idle-sleep preventer line carries no age, as in real logs.
      EXPECT_TRUE(PowerLogParser::assertion(event).has_value()) << event.message;
    }
  }
  EXPECT_GT(wakeRequestLines, 100u);
}

TEST(LogGeneratorTest, StormWeekIsLargeAndThirtyWeeksFollowEachOther) {
  LogCensus storm;
  ASSERT_TRUE(writeLog(stormWeek(), [&](std::string_view block) { storm.add(block); }));
  EXPECT_GT(storm.lines, 100'000u);
  EXPECT_GT(storm.bytes, 20'000'000u);
  EXPECT_GT(storm.linesByDomain["DarkWake"], 7 * 1500u);

  LogPlan three = ordinaryWeeks(3);
  const std::string log = makeLog(three);
  const SleepAnalysis analysis = NightAnalyzer::analyze(std::string_view(log), istanbul(), {});
  EXPECT_EQ(analysis.nights().size(), 21u);
  // The last week ends on the morning given, whatever the number of weeks.
  ASSERT_TRUE(analysis.coveredTo.has_value());
  const SleepAnalysis one = NightAnalyzer::analyze(std::string_view(week()), istanbul(), {});
  ASSERT_TRUE(one.coveredTo.has_value());
  EXPECT_NEAR(*analysis.coveredTo, *one.coveredTo, 2 * 3600);
}

TEST(LogGeneratorTest, CensusCountsLinesPerDomainColumn) {
  LogCensus census;
  census.add("UUID: (null)\n");
  census.add(
      "2025-03-03 07:40:56 +0300 Assertions          \tPID 1(x) Created A \"b\" 00:00:00\n"
      "2025-03-03 07:40:57 +0300 com.apple.sleepservices.sessionStarted\tSleepService: window\n");
  EXPECT_EQ(census.lines, 3u);
  EXPECT_EQ(census.linesByDomain["(undated)"], 1u);
  EXPECT_EQ(census.linesByDomain["Assertions"], 1u);
  EXPECT_EQ(census.linesByDomain["com.apple.sleepservices.sessionStarted"], 1u);
  EXPECT_EQ(census.bytesByDomain["(undated)"], 13u);
}

}  // namespace
}  // namespace snoozlet::bench
