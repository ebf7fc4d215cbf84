// The refresh path: the log reader fed in 256 KiB blocks and the night
// analysis, then the reads that follow it: the same log again (only
// timestamps are looked at) and a log whose last 1% is new.

#include "BenchLogs.h"
#include "analysis/NightAnalyzer.h"

#include <array>
#include <optional>

namespace snoozlet::bench {

namespace {

LogReader readerOf(std::string_view text) {
  LogReader reader;
  std::size_t position = 0;
  (void)reader.ingest(blocksOf(text, position));
  return reader;
}

// The text up to the first line end at or after 99% of it: the log as it
// was before its last 1% was written.
std::string_view olderPart(std::string_view text) {
  const std::size_t cut = text.find('\n', text.size() / 100 * 99);
  return cut == std::string_view::npos ? text : text.substr(0, cut + 1);
}

// Readers that have read a log (or its older part) once, kept per log.
const LogReader& readerAfterFirstRead(std::int64_t which, bool olderOnly) {
  static std::array<std::optional<LogReader>, 6> readers;
  const auto index = static_cast<std::size_t>(which * 2 + (olderOnly ? 1 : 0));
  if (!readers[index]) {
    const std::string& text = benchLog(which).text;
    readers[index] = readerOf(olderOnly ? olderPart(text) : std::string_view(text));
  }
  return *readers[index];
}

void readerIngestAndAnalyze(benchmark::State& state) {
  const GeneratedLog& log = benchLog(state.range(0));
  for (auto _ : state) {
    LogReader reader;
    std::size_t position = 0;
    benchmark::DoNotOptimize(reader.ingest(blocksOf(log.text, position)).ok());
    const SleepAnalysis analysis = NightAnalyzer::analyze(reader, benchZone(), {});
    benchmark::DoNotOptimize(analysis.reports.size());
  }
  reportThroughput(state, log);
}
BENCHMARK(readerIngestAndAnalyze)->Apply(overLogs);

// Reads the whole log with a reader that read it before (or its older part):
// the copy of the reader is made outside the timing, the read inside it.
void readAgain(benchmark::State& state, bool grown) {
  const GeneratedLog& log = benchLog(state.range(0));
  const LogReader& earlier = readerAfterFirstRead(state.range(0), grown);
  for (auto _ : state) {
    state.PauseTiming();
    LogReader reader = earlier;
    state.ResumeTiming();
    std::size_t position = 0;
    benchmark::DoNotOptimize(reader.ingest(blocksOf(log.text, position)).ok());
    benchmark::DoNotOptimize(reader.cursor());
  }
  reportThroughput(state, log);
}

void readerSecondReadUnchanged(benchmark::State& state) { readAgain(state, false); }
BENCHMARK(readerSecondReadUnchanged)->Apply(overLogs);

void readerGrownLastPercent(benchmark::State& state) { readAgain(state, true); }
BENCHMARK(readerGrownLastPercent)->Apply(overLogs);

}  // namespace

}  // namespace snoozlet::bench
