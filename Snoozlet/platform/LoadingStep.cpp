#include "platform/LoadingStep.h"

#include "archive/NightArchive.h"

#include <algorithm>

namespace snoozlet {

namespace {

constexpr int kBaselineSamples = 30;
constexpr int kHistoryNights = 400;
// logind announces a sleep (and the tray application reads the kernel's
// counts) a moment before systemd-sleep's entry dates the night.
constexpr double kSleepLead = 60;

// Gives each night the kernel's counts of the sleeps that began within it.
void attachKernelSleeps(NightArchive& archive, std::vector<NightReport>& reports) {
  if (reports.empty()) return;
  Instant from = reports.front().start();
  Instant to = reports.front().end();
  for (const NightReport& r : reports) {
    from = std::min(from, r.start());
    to = std::max(to, r.end());
  }
  auto sleeps = archive.sleeps(from - kSleepLead, to);
  if (!sleeps) return;
  for (SleepCounts& sleep : *sleeps) {
    for (NightReport& r : reports) {
      if (sleep.slept >= r.start() - kSleepLead && sleep.slept < r.end()) {
        r.kernelSleeps.push_back(std::move(sleep));
        break;
      }
    }
  }
}

}  // namespace

Result<Loaded> load(const PowerDataSource& source, LogReader reader, const LoadOptions& options,
                    JournalReader journal) {
  auto stage = [&](LoadStage s) {
    if (options.onStage) options.onStage(s);
  };
  const auto& paths = source.journalPaths();
  const Status read = paths ? journal.read(*paths) : source.streamLog(reader);
  if (!read.ok()) return Result<Loaded>::failure(read.error());
  stage(LoadStage::read);

  std::unique_ptr<NightArchive> archive;
  if (options.archive) {
    if (auto opened = NightArchive::open(*options.archive)) archive = std::move(opened.value());
  }
  std::vector<BaselineSample> samples;
  if (archive) {
    if (auto stored = archive->baselineSamples(kBaselineSamples)) samples = std::move(stored.value());
  }
  SleepAnalysis analysis;
  if (paths) {
    analysis = NightAnalyzer::analyze(journal.sessions(), options.timeZone, samples, NightAnalyzer::minimumNight);
    analysis.coveredFrom = journal.nights().coveredFrom();
    analysis.coveredTo = journal.nights().coveredTo();
  } else {
    analysis = NightAnalyzer::analyze(reader, options.timeZone, samples);
  }
  if (archive && paths) attachKernelSleeps(*archive, analysis.reports);
  stage(LoadStage::parse);

  std::vector<ArchivedNight> history;
  if (archive) {
    (void)archive->store(analysis.reports, options.appVersion);  // a failed store keeps the file as it was
    if (auto nights = archive->nights(std::nullopt, kHistoryNights)) history = std::move(nights.value());
    archive.reset();  // closes the file
  }
  stage(LoadStage::archive);

  PowerSettings settings = PowerSettings::parse({}, std::nullopt);
  PowerCapabilities capabilities = PowerCapabilities::parse({});
  if (!paths) {
    const auto current = source.text({"-g"});
    const auto custom = source.text({"-g", "custom"});
    settings = PowerSettings::parse(current ? std::string_view(current.value()) : std::string_view(),
                                    custom ? std::optional<std::string_view>(custom.value()) : std::nullopt);
    const auto cap = source.text({"-g", "cap"});
    capabilities = PowerCapabilities::parse(cap ? std::string_view(cap.value()) : std::string_view());
  }

  return Loaded{std::move(reader),       std::move(journal), std::move(analysis), std::move(settings),
                std::move(capabilities), source.battery(),   std::move(history)};
}

}  // namespace snoozlet
