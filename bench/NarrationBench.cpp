// The texts written per night: the mascot's speech and the night's title,
// per call, over the nights of the generated week, in both languages. Items
// are calls; bytes are the text written.

#include "BenchLogs.h"
#include "analysis/NightAnalyzer.h"
#include "narration/Narrator.h"

#include <vector>

namespace snoozlet::bench {

namespace {

const std::vector<NightReport>& weekReports() {
  static const std::vector<NightReport> reports =
      NightAnalyzer::analyze(std::string_view(benchLog(kWeek).text), benchZone(), {}).reports;
  return reports;
}

Language languageOf(const benchmark::State& state) {
  return state.range(0) == 0 ? Language::english : Language::turkish;
}

void narratorSpeech(benchmark::State& state) {
  const std::vector<NightReport>& reports = weekReports();
  const Narrator narrator(NightFormat(languageOf(state), benchZone()));
  std::size_t index = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string speech = narrator.speech(reports[index++ % reports.size()]);
    bytes += speech.size();
    benchmark::DoNotOptimize(speech.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(narratorSpeech)->ArgName("turkish")->Arg(0)->Arg(1);

void nightFormatNightTitle(benchmark::State& state) {
  const std::vector<NightReport>& reports = weekReports();
  const NightFormat format(languageOf(state), benchZone());
  std::size_t index = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string title = format.nightTitle(reports[index++ % reports.size()].start());
    bytes += title.size();
    benchmark::DoNotOptimize(title.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(nightFormatNightTitle)->ArgName("turkish")->Arg(0)->Arg(1);

}  // namespace

}  // namespace snoozlet::bench
