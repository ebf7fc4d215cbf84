// The night archive: storing 400 analysed nights in a fresh file, and
// reading the newest 400 back as history. Items are nights; bytes are the
// size of the archive file.

#include "BenchLogs.h"
#include "analysis/NightAnalyzer.h"
#include "archive/NightArchive.h"
#include "common/Version.h"

#include <unistd.h>
#include <filesystem>

namespace snoozlet::bench {

namespace {

constexpr std::size_t kNights = 400;

// 400 closed reports: the nights and naps of the thirty weeks, repeated
// further back in time when they are fewer than 400.
const std::vector<NightReport>& fourHundredReports() {
  static const std::vector<NightReport> reports = [] {
    std::vector<NightReport> source =
        NightAnalyzer::analyze(std::string_view(benchLog(kWeeks30).text), benchZone(), {}).reports;
    std::erase_if(source, [](const NightReport& r) { return r.session.ending.kind() == SessionEnd::Kind::ongoing; });
    std::vector<NightReport> result;
    if (source.empty()) return result;
    const double span = source.back().end() - source.front().start() + 86400;
    for (int round = 0; result.size() < kNights; ++round) {
      for (const NightReport& report : source) {
        if (result.size() == kNights) break;
        NightReport shifted = report;
        shifted.session.start -= span * round;
        shifted.session.end -= span * round;
        result.push_back(std::move(shifted));
      }
    }
    return result;
  }();
  return reports;
}

std::filesystem::path archivePath(std::string_view name) {
  return std::filesystem::temp_directory_path() /
         ("snoozlet-bench-" + std::to_string(::getpid()) + "-" + std::string(name) + ".sqlite");
}

void removeArchive(const std::filesystem::path& file) {
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix, ignored);
}

std::size_t fileSize(const std::filesystem::path& file) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  return error ? 0 : static_cast<std::size_t>(size);
}

void archiveStore400(benchmark::State& state) {
  const std::vector<NightReport>& reports = fourHundredReports();
  const std::filesystem::path file = archivePath("store");
  std::size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    removeArchive(file);
    auto archive = NightArchive::open(file);
    if (!archive.ok()) {
      state.SkipWithError(archive.error().description().c_str());
      break;
    }
    state.ResumeTiming();
    const auto stored = archive.value()->store(reports, kVersionText);
    state.PauseTiming();
    if (!stored.ok()) {
      state.SkipWithError(stored.error().description().c_str());
      break;
    }
    archive.value().reset();
    bytes = fileSize(file);
    state.ResumeTiming();
  }
  removeArchive(file);
  reportThroughput(state, bytes, reports.size());
}
BENCHMARK(archiveStore400)->Unit(benchmark::kMillisecond);

void archiveNights400(benchmark::State& state) {
  const std::filesystem::path file = archivePath("read");
  removeArchive(file);
  auto archive = NightArchive::open(file);
  if (!archive.ok() || !archive.value()->store(fourHundredReports(), kVersionText).ok()) {
    state.SkipWithError("cannot set up the archive");
    removeArchive(file);
    return;
  }
  std::size_t rows = 0;
  for (auto _ : state) {
    const auto nights = archive.value()->nights(std::nullopt, static_cast<int>(kNights));
    rows = nights.ok() ? nights.value().size() : 0;
    benchmark::DoNotOptimize(rows);
  }
  const std::size_t bytes = fileSize(file);
  archive.value().reset();
  removeArchive(file);
  reportThroughput(state, bytes, rows);
}
BENCHMARK(archiveNights400)->Unit(benchmark::kMillisecond);

}  // namespace

}  // namespace snoozlet::bench
