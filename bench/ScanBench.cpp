// The log front end over whole generated logs: the scanner alone (the floor
// of every read) and the scanner feeding the session builder.

#include "BenchLogs.h"
#include "log/PowerLogParser.h"
#include "sessions/SessionBuilder.h"

namespace snoozlet::bench {

namespace {

// Wants no line: the scanner splits, dates and classifies each line and builds nothing.
struct WantsNothing {
  bool wants(const LogDomain&) const { return false; }
  void consume(const LogEvent&) {}
};

void scannerWantsNothing(benchmark::State& state) {
  const GeneratedLog& log = benchLog(state.range(0));
  for (auto _ : state) {
    LogScanner scanner;
    WantsNothing consumer;
    scanner.feed(log.text, true, consumer);
    benchmark::DoNotOptimize(scanner.resultCursor());
  }
  reportThroughput(state, log);
}
BENCHMARK(scannerWantsNothing)->Apply(overLogs);

void scannerSessionBuilder(benchmark::State& state) {
  const GeneratedLog& log = benchLog(state.range(0));
  for (auto _ : state) {
    SessionBuilder builder;
    const auto result = PowerLogParser::scan(log.text, std::nullopt, builder);
    benchmark::DoNotOptimize(result.cursor);
    benchmark::DoNotOptimize(builder.closed().size());
  }
  reportThroughput(state, log);
}
BENCHMARK(scannerSessionBuilder)->Apply(overLogs);

}  // namespace

}  // namespace snoozlet::bench
