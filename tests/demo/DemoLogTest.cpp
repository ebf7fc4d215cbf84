#include "demo/DemoLog.h"

#include "TestSupport.h"
#include "analysis/NightAnalyzer.h"
#include "common/Text.h"
#include "narration/NightFormat.h"
#include "log/PowerLogParser.h"
#include "sessions/LogReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

namespace snoozlet {
namespace {

using DemoLog::Night;

TimeZone zone(const char* identifier) { return *TimeZone::named(identifier); }

Night night(DateComponents start, double hours, int from, int to) {
  return {.start = start, .hours = hours, .batteryFrom = from, .batteryTo = to, .endReason = std::string(DemoLog::lid)};
}

DemoLog::Wake wake(std::string_view reason, int count, double seconds) { return {std::string(reason), count, seconds}; }

// Two nights in London: the first across the spring clock change, with every
// reason, a holder that outlasts the night and a charger; the second given as
// day 0 of April.
std::vector<Night> goldenNights() {
  Night first = night({2026, 3, 28, 23, 30, {}}, 8.0, 90, 80);
  first.wakes = {wake(DemoLog::wifi, 3, 20), wake(DemoLog::task, 2, 9), wake(DemoLog::maintenance, 1, 12),
                 wake(DemoLog::plug, 1, 1)};
  first.holder = DemoLog::Holder{"Backup", 9.5};
  first.chargerAt = 7.5;
  Night second = night({2026, 4, 0, 23, 5, {}}, 7.0, 50, 45);
  second.wakes = {wake(DemoLog::wifi, 2, 15), wake(DemoLog::task, 2, 8)};
  second.holder = DemoLog::Holder{"zoom.us", 1.5};
  second.endReason = std::string(DemoLog::wifi);
  return {first, second};
}

TEST(DemoLogTest, MatchesTheGoldenTextAndGivesItAgain) {
  const auto path = snoozlet::testing::fixturePath("demo/two-nights-london.txt");
  const std::string text = DemoLog::text(goldenNights(), zone("Europe/London"));
  // Set SNOOZLET_UPDATE_GOLDEN=1 to rewrite the file after a deliberate change.
  if (std::getenv("SNOOZLET_UPDATE_GOLDEN")) snoozlet::testing::writeFile(path, text);
  EXPECT_EQ(text, snoozlet::testing::readFile(path));
  // Another text in between must not move the generator of the next call.
  EXPECT_NE(DemoLog::text(DemoLog::week({2026, 10, 25, {}, {}, {}}, Mood::restless), zone("Europe/London")), text);
  EXPECT_EQ(DemoLog::text(goldenNights(), zone("Europe/London")), text);
  EXPECT_EQ(DemoLog::text({}, zone("Europe/London")), "\n");
}

TEST(DemoLogTest, EveryLineIsAnEventOfAKnownDomain) {
  for (const char* id : {"America/New_York", "Asia/Kolkata", "Europe/Istanbul"}) {
    const std::string text = DemoLog::text(DemoLog::week({2026, 11, 2, {}, {}, {}}, Mood::sleepless), zone(id));
    const auto events = PowerLogParser::parse(text);
    EXPECT_EQ(events.size(), static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'))) << id;
    for (const LogEvent& e : events) EXPECT_NE(e.domain.kind(), LogDomain::Kind::other) << e.message;
  }
}

TEST(DemoLogTest, OneNightReadsBackAsOneClosedSession) {
  Night n = night({2026, 10, 24, 23, 31, {}}, 7.5, 80, 74);
  n.wakes = {wake(DemoLog::wifi, 12, 20), wake(DemoLog::task, 9, 9), wake(DemoLog::maintenance, 4, 12)};
  LogReader reader;
  reader.ingest(DemoLog::text({n}, zone("Europe/Istanbul")));
  const auto sessions = reader.sessions();
  ASSERT_EQ(sessions.size(), 1u);
  const SleepSession& s = sessions[0];
  EXPECT_FALSE(s.isPartial);
  EXPECT_EQ(s.sleepReason, "Clamshell Sleep");
  EXPECT_EQ(s.ending, SessionEnd::fullWake(WakeReason(std::string(DemoLog::lid))));
  EXPECT_DOUBLE_EQ(s.end - s.start, 7.5 * 3600);
  // Every task and maintenance wake takes the request written for it.
  std::map<WakeCategory, int> counts;
  for (const DarkWakeEvent& w : s.darkWakes) {
    ++counts[w.reason.category];
    ASSERT_EQ(static_cast<bool>(w.request), w.reason.category != WakeCategory::network) << w.date;
    if (!w.request) continue;
    EXPECT_TRUE(w.request->fired);
    EXPECT_EQ(w.request->wakeAt, w.date);
    if (w.reason.category == WakeCategory::backgroundTask) {
      EXPECT_EQ(w.request->process, "dasd");
      EXPECT_NE(std::find(std::begin(DemoLog::backgroundTaskInfos), std::end(DemoLog::backgroundTaskInfos),
                          w.request->info.value_or("")),
                std::end(DemoLog::backgroundTaskInfos));
    } else {
      EXPECT_EQ(w.request->process, "mDNSResponder");
      EXPECT_EQ(w.request->info, "DHCP lease renewal");
    }
  }
  using enum WakeCategory;
  EXPECT_EQ(counts, (std::map<WakeCategory, int>{{network, 12}, {backgroundTask, 9}, {maintenance, 4}}));
}

TEST(DemoLogTest, AcrossAClockChangeStampsCarryTheirOffsetAndRequestsStillMatch) {
  const struct {
    const char* zone;
    DateComponents start;
    std::vector<DemoLog::Wake> wakes;
    bool straddles;  // a request is listed before the change for a wake after it
  } cases[] = {
      // Clocks go forward at 01:00.
      {"Europe/London", {2026, 3, 28, 22, 0, {}}, {wake(DemoLog::task, 6, 9)}, true},
      // Clocks go back at 02:00.
      {"America/New_York", {2026, 10, 31, 22, 0, {}},
       {wake(DemoLog::wifi, 40, 20), wake(DemoLog::maintenance, 5, 12)}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.zone);
    const TimeZone tz = zone(c.zone);
    Night n = night(c.start, 9.0, 90, 80);
    n.wakes = c.wakes;
    n.holder = DemoLog::Holder{"Backup", 1.0};
    const std::string text = DemoLog::text({n}, tz);
    std::set<int> offsets;
    bool straddles = false;
    for (const LogEvent& e : PowerLogParser::parse(text)) {
      EXPECT_EQ(e.utcOffset, tz.offsetAt(e.date)) << e.message;
      offsets.insert(e.utcOffset);
      // A request listed before the change for a wake after it: its wall
      // time is written at the listing line's offset.
      if (e.domain != LogDomain::Kind::wakeRequests) continue;
      for (const WakeRequest& request : PowerLogParser::wakeRequests(e))
        straddles = straddles || (request.wakeAt && tz.offsetAt(*request.wakeAt) != e.utcOffset);
    }
    EXPECT_EQ(offsets.size(), 2u);
    EXPECT_EQ(straddles, c.straddles);

    LogReader reader;
    reader.ingest(text);
    const auto sessions = reader.sessions();
    ASSERT_EQ(sessions.size(), 1u);
    for (const DarkWakeEvent& w : sessions[0].darkWakes) {
      ASSERT_EQ(static_cast<bool>(w.request), w.reason.category != WakeCategory::network) << w.date;
      if (w.request) { EXPECT_EQ(w.request->wakeAt, w.date); }
    }
  }
}

TEST(DemoLogTest, WeekEndsWithTheChosenMoodAndMatchesTheGoldenDigest) {
  // Each night of the three weeks as the analysis reads it: when, the mood,
  // the battery, per reason the wakes and the seconds awake, per holder the
  // time held.
  const NightFormat format(Language::english, zone("Europe/Istanbul"));
  std::string digest;
  for (Mood mood : kAllMoods) {
    const auto nights = DemoLog::week({2026, 12, 6, {}, {}, {}}, mood);
    const auto analysis = NightAnalyzer::analyze(DemoLog::text(nights, format.timeZone()), format.timeZone(), {});
    ASSERT_EQ(analysis.nights().size(), 7u) << toString(mood);
    EXPECT_EQ(analysis.lastNight()->mood, mood);
    for (const NightReport& r : analysis.reports) {
      digest += format.shortDay(r.start()) + " " + format.clock(r.start()) + "–" + format.clock(r.end()) + " " +
                std::string(toString(r.mood)) + " " + std::to_string(r.battery.first->percent) + "→" +
                std::to_string(r.battery.last->percent) + "%";
      for (const ReasonGroup& g : r.groups)
        digest += " " + std::string(toString(g.category)) + " " + std::to_string(g.count) + "/" + text::fixed(g.awakeSeconds, 0) + "s";
      for (const HolderGroup& h : r.holders) digest += " " + h.process + " " + text::fixed(h.heldSeconds, 0) + "s";
      digest += "\n";
    }
  }
  const auto path = snoozlet::testing::fixturePath("demo/weeks-digest.txt");
  if (std::getenv("SNOOZLET_UPDATE_GOLDEN")) snoozlet::testing::writeFile(path, digest);
  EXPECT_EQ(digest, snoozlet::testing::readFile(path));
}

TEST(DemoLogTest, WeekRollsDaysBackIntoThePreviousMonth) {
  const auto nights = DemoLog::week({2026, 3, 3, 9, {}, 30}, Mood::soundAsleep);
  const std::string text = DemoLog::text(nights, zone("Europe/Istanbul"));
  // Day 3 − 7 of March is the 24th of February; other given components stay.
  EXPECT_EQ(nights[0].start, (DateComponents{2026, 3, -4, 23, 12, 30}));
  EXPECT_EQ(text.substr(text.find("Sleep") - 26, 25), "2026-02-24 23:12:30 +0300");
  // Without a day the week ends on the first of the month.
  EXPECT_EQ(DemoLog::week({2026, 3, {}, {}, {}, {}}, Mood::sleepless).back().start,
            (DateComponents{2026, 3, 0, 23, 55, {}}));
}

TEST(DemoLogTest, NightsWithoutALengthAreLeftOut) {
  const TimeZone utc = TimeZone::utc();
  Night valid = night({2026, 1, 5, 23, 0, {}}, 7.0, 50, 40);
  Night empty = valid, negative = valid, unknown = valid, endless = valid;
  empty.hours = 0;
  negative.hours = -3;
  unknown.hours = std::nan("");
  endless.hours = 1e10;  // ends past any date a log line can hold
  EXPECT_EQ(DemoLog::text({empty, valid, negative, unknown, endless}, utc), DemoLog::text({valid}, utc));
}

}  // namespace
}  // namespace snoozlet
