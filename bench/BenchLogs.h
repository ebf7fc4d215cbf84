#pragma once

// The generated logs every benchmark shares, built once per process on first
// use, and helpers to report throughput in bytes and lines per second.

#include "LogGenerator.h"
#include "common/TimeZone.h"
#include "sessions/LogReader.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

namespace snoozlet::bench {

struct GeneratedLog {
  std::string name;
  std::string text;
  std::size_t lines = 0;
};

// Argument values of the benchmarks that run over whole logs.
enum BenchLog : int { kWeek = 0, kStorm = 1, kWeeks30 = 2 };

// The log for a benchmark argument: one ordinary week, a storm week, or
// thirty ordinary weeks.
const GeneratedLog& benchLog(std::int64_t which);

// The zone the logs were written in.
const TimeZone& benchZone();

// A chunk source that hands out the text in 256 KiB blocks, as pmset's
// output arrives through a pipe.
LogReader::ChunkSource blocksOf(std::string_view text, std::size_t& position);

// Bytes and lines per iteration, reported as bytes/s and items/s (lines).
void reportThroughput(benchmark::State& state, std::size_t bytes, std::size_t lines);
void reportThroughput(benchmark::State& state, const GeneratedLog& log);

// The whole-log benchmarks run once per log.
void overLogs(benchmark::internal::Benchmark* benchmark);

}  // namespace snoozlet::bench
