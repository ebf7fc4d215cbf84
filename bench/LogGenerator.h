#pragma once

// Realistic large power logs for the benchmarks, built on DemoLog's nights.
//
//   weeks → per week: DemoLog::week (varied per week), daytime naps as more
//   DemoLog nights → DemoLog text, re-laid-out with powerd's column padding
//   → the traffic around every sleep and wake and between them (LogTraffic)
//   → sorted by instant → sink.
//
// Everything is drawn from seeded generators: the same plan gives the same
// bytes on every run and machine. Weeks are written one at a time, so a log
// of many weeks never needs to be held whole.

#include "LogTraffic.h"
#include "common/TimeZone.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace snoozlet::bench {

enum class LogShape {
  week,   // a laptop in ordinary use
  storm,  // every night a storm of dark wakes, about one every 14 seconds
};

struct LogPlan {
  LogShape shape = LogShape::week;
  int weeks = 1;
  // The morning after the last night.
  DateComponents endingOn{2025, 3, 10, std::nullopt, std::nullopt, std::nullopt};
  std::string timeZone = "Europe/Istanbul";
  std::uint64_t seed = 0x5EED2025;
};

// One week of ordinary use.
LogPlan ordinaryWeek();
// One week whose nights are dark-wake storms.
LogPlan stormWeek();
// `count` consecutive weeks of ordinary use.
LogPlan ordinaryWeeks(int count);

// Writes the log, in whole lines and time order, to `sink` (blocks of about
// a megabyte). Fails only for an unknown time zone.
bool writeLog(const LogPlan& plan, const std::function<void(std::string_view)>& sink);
// The whole log in memory.
std::string makeLog(const LogPlan& plan);

// What a log is made of: lines and bytes per domain column ("(undated)" for
// lines without a stamp, such as headers).
struct LogCensus {
  std::size_t lines = 0;
  std::size_t bytes = 0;
  std::map<std::string, std::size_t> linesByDomain;
  std::map<std::string, std::size_t> bytesByDomain;

  void add(std::string_view text);
};

}  // namespace snoozlet::bench
