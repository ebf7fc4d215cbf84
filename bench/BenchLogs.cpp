#include "BenchLogs.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>

namespace snoozlet::bench {

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;

GeneratedLog build(std::int64_t which) {
  GeneratedLog log;
  switch (which) {
    case kStorm:
      log.name = "storm";
      log.text = makeLog(stormWeek());
      break;
    case kWeeks30:
      log.name = "30weeks";
      log.text = makeLog(ordinaryWeeks(30));
      break;
    default:
      log.name = "week";
      log.text = makeLog(ordinaryWeek());
      break;
  }
  log.lines = static_cast<std::size_t>(std::count(log.text.begin(), log.text.end(), '\n'));
  return log;
}

}  // namespace

const GeneratedLog& benchLog(std::int64_t which) {
  static std::array<std::unique_ptr<GeneratedLog>, 3> logs;
  static std::mutex lock;
  const auto index = static_cast<std::size_t>(std::clamp<std::int64_t>(which, 0, 2));
  std::lock_guard guard(lock);
  if (!logs[index]) logs[index] = std::make_unique<GeneratedLog>(build(static_cast<std::int64_t>(index)));
  return *logs[index];
}

const TimeZone& benchZone() {
  static const TimeZone zone = TimeZone::named(LogPlan{}.timeZone).value_or(TimeZone::utc());
  return zone;
}

LogReader::ChunkSource blocksOf(std::string_view text, std::size_t& position) {
  position = 0;
  return [text, &position]() -> Result<std::optional<std::string_view>> {
    if (position >= text.size()) return std::optional<std::string_view>();
    const std::string_view block = text.substr(position, kBlockSize);
    position += block.size();
    return std::optional<std::string_view>(block);
  };
}

void reportThroughput(benchmark::State& state, std::size_t bytes, std::size_t lines) {
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
  state.SetItemsProcessed(static_cast<std::int64_t>(lines) * state.iterations());
}

void reportThroughput(benchmark::State& state, const GeneratedLog& log) {
  reportThroughput(state, log.text.size(), log.lines);
  state.SetLabel(log.name);
}

void overLogs(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgName("log")->Arg(kWeek)->Arg(kStorm)->Arg(kWeeks30)->Unit(benchmark::kMillisecond);
}

}  // namespace snoozlet::bench
