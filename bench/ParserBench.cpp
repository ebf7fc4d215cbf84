// The message parsers, each over the messages of its kind taken from the
// generated week, and the wake classifier over the demo reasons. Items are
// calls; bytes are the message bytes handed in.

#include "BenchLogs.h"
#include "demo/DemoLog.h"
#include "log/PowerLogParser.h"
#include "sessions/WakeClassifier.h"

#include <functional>
#include <vector>

namespace snoozlet::bench {

namespace {

using K = LogDomain::Kind;

// The week's events of the given domains, and their total message bytes.
struct Messages {
  std::vector<LogEvent> events;
  std::size_t bytes = 0;
};

Messages messagesOf(std::initializer_list<K> kinds) {
  static const std::vector<LogEvent> all = PowerLogParser::parse(benchLog(kWeek).text);
  Messages result;
  for (const LogEvent& event : all) {
    for (K kind : kinds) {
      if (event.domain == kind) {
        result.events.push_back(event);
        result.bytes += event.message.size();
      }
    }
  }
  return result;
}

template <typename Parse>
void overMessages(benchmark::State& state, const Messages& messages, Parse parse) {
  for (auto _ : state) {
    for (const LogEvent& event : messages.events) benchmark::DoNotOptimize(parse(event));
  }
  reportThroughput(state, messages.bytes, messages.events.size());
}

void parserBattery(benchmark::State& state) {
  static const Messages messages = messagesOf({K::sleep, K::darkWake, K::wake, K::assertions});
  overMessages(state, messages, [](const LogEvent& e) { return PowerLogParser::battery(e); });
}
BENCHMARK(parserBattery);

void parserSeconds(benchmark::State& state) {
  static const Messages messages = messagesOf({K::sleep, K::darkWake, K::wake});
  overMessages(state, messages, [](const LogEvent& e) { return PowerLogParser::seconds(e); });
}
BENCHMARK(parserSeconds);

void parserSleepEntry(benchmark::State& state) {
  static const Messages messages = messagesOf({K::sleep});
  overMessages(state, messages, [](const LogEvent& e) { return PowerLogParser::sleepEntry(e); });
}
BENCHMARK(parserSleepEntry);

void parserDueReason(benchmark::State& state) {
  static const Messages messages = messagesOf({K::darkWake, K::wake});
  overMessages(state, messages, [](const LogEvent& e) { return PowerLogParser::dueReason(e); });
}
BENCHMARK(parserDueReason);

void parserWakeRequests(benchmark::State& state) {
  static const Messages messages = messagesOf({K::wakeRequests});
  overMessages(state, messages, [](const LogEvent& e) { return PowerLogParser::wakeRequests(e); });
}
BENCHMARK(parserWakeRequests);

void parserAssertion(benchmark::State& state) {
  static const Messages messages = messagesOf({K::assertions});
  overMessages(state, messages, [](const LogEvent& e) { return PowerLogParser::assertion(e); });
}
BENCHMARK(parserAssertion);

void parserWakeDate(benchmark::State& state) {
  static const std::vector<std::string> times = [] {
    std::vector<std::string> result;
    for (int i = 0; i < 1000; ++i) {
      char text[32];
      std::snprintf(text, sizeof text, "2025-03-%02d %02d:%02d:%02d", 1 + i % 28, i % 24, i * 7 % 60, i * 13 % 60);
      result.push_back(text);
    }
    return result;
  }();
  for (auto _ : state) {
    for (const std::string& time : times) benchmark::DoNotOptimize(PowerLogParser::wakeDate(time, 10800));
  }
  reportThroughput(state, times.size() * 19, times.size());
}
BENCHMARK(parserWakeDate);

void classifierDemoReasons(benchmark::State& state) {
  static const std::vector<std::string_view> reasons = {DemoLog::lid, DemoLog::wifi, DemoLog::task,
                                                        DemoLog::maintenance, DemoLog::plug};
  std::size_t bytes = 0;
  for (std::string_view reason : reasons) bytes += reason.size();
  for (auto _ : state) {
    for (std::string_view reason : reasons) benchmark::DoNotOptimize(WakeClassifier::classify(reason));
  }
  reportThroughput(state, bytes, reasons.size());
}
BENCHMARK(classifierDemoReasons);

}  // namespace

}  // namespace snoozlet::bench
