#include "bench/LogGenerator.h"

#include "analysis/NightAnalyzer.h"
#include "log/PowerLogParser.h"

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

TEST(LogGeneratorTest, WeeksReadAsNightsWithTheirWakesRequestsAndHolders) {
  const SleepAnalysis analysis = NightAnalyzer::analyze(std::string_view(week()), istanbul(), {});
  ASSERT_EQ(analysis.nights().size(), 7u);
  for (const NightReport& night : analysis.nights()) {
    EXPECT_GE(night.darkWakeCount, 20);
    EXPECT_FALSE(night.requesters.empty());
    EXPECT_EQ(night.session.ending.kind(), SessionEnd::Kind::fullWake);
  }
  // The facts stay readable under the padding: every dark wake has its seconds and charge.
  for (const LogEvent& event : PowerLogParser::parse(week())) {
    if (event.domain != LogDomain::Kind::darkWake) continue;
    EXPECT_TRUE(PowerLogParser::seconds(event) && PowerLogParser::battery(event)) << event.message;
  }
  // Three weeks end on the same morning as one.
  const SleepAnalysis three = NightAnalyzer::analyze(std::string_view(makeLog(ordinaryWeeks(3))), istanbul(), {});
  EXPECT_EQ(three.nights().size(), 21u);
  EXPECT_NEAR(three.coveredTo.value_or(0), analysis.coveredTo.value_or(1e18), 2 * 3600);
}

TEST(LogGeneratorTest, TheOrdinaryWeekHasTheDomainsAndTheShareOfAssertionsOfARealLog) {
  LogCensus real;
  real.add(week());
  EXPECT_NEAR(static_cast<double>(real.linesByDomain["Assertions"]) / real.lines, 0.5, 0.1);
  for (const char* domain : {"Sleep", "DarkWake", "Wake", "Wake Requests", "Notification", "Kernel Client Acks"})
    EXPECT_GT(real.linesByDomain[domain], 0u) << domain;
}

}  // namespace
}  // namespace snoozlet::bench
