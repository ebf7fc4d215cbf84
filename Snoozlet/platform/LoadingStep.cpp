#include "platform/LoadingStep.h"

#include "archive/NightArchive.h"
#include "platform/linux/SystemSettingsReader.h"
#include "settings/InternetDate.h"

#include <utility>

#include <algorithm>

namespace snoozlet {

namespace {

constexpr int kBaselineSamples = 30;
constexpr int kHistoryNights = 400;
// logind announces a sleep (and the tray application reads the kernel's
// counts) a moment before systemd-sleep's entry dates the night.
constexpr double kSleepLead = 60;
// How far back the wake counts of the settings reach.
constexpr double kRecentSeconds = 7 * 24 * 3600;

// Gives each night the kernel's counts of the sleeps that began within it;
// the archive's failure, if reading them failed.
std::optional<NightArchive::Failure> attachKernelSleeps(NightArchive& archive, std::vector<NightReport>& reports) {
  if (reports.empty()) return std::nullopt;
  Instant from = reports.front().start();
  Instant to = reports.front().end();
  for (const NightReport& r : reports) {
    from = std::min(from, r.start());
    to = std::max(to, r.end());
  }
  auto sleeps = archive.sleeps(from - kSleepLead, to);
  if (!sleeps) return sleeps.error();
  for (SleepCounts& sleep : *sleeps) {
    for (NightReport& r : reports) {
      if (sleep.slept >= r.start() - kSleepLead && sleep.slept < r.end()) {
        r.kernelSleeps.push_back(std::move(sleep));
        break;
      }
    }
  }
  return std::nullopt;
}

// Moves a successful result's value into `out`; the failure otherwise.
template <typename T>
std::optional<NightArchive::Failure> into(Result<T, NightArchive::Failure> result, T& out) {
  if (!result) return result.error();
  out = std::move(result).value();
  return std::nullopt;
}

// The archive of one refresh, and what went wrong with it.
class RefreshArchive {
 public:
  explicit RefreshArchive(const std::optional<std::filesystem::path>& file) : file_(file) {
    if (file_) open();
  }

  NightArchive* get() const { return archive_.get(); }
  const std::optional<ArchiveProblem>& problem() const { return problem_; }

  // Runs the operation (which answers its failure, or nothing), noting a
  // failure; a damaged file is kept aside and the operation tried once more
  // on a new archive.
  template <typename Operation>
  void attempt(Operation operation) {
    for (int tries = 0; archive_ && tries < 2; ++tries) {
      const std::optional<NightArchive::Failure> failure = operation(*archive_);
      if (!failure) return;
      note(*failure);
      if (!failure->damaged() || !recover(failure->description())) return;
    }
  }

  // Closes the file.
  void close() { archive_.reset(); }

 private:
  void open() {
    auto opened = NightArchive::open(*file_);
    if (opened) {
      archive_ = std::move(opened.value());
    } else if (const auto* sqlite = opened.error().sqlite(); sqlite != nullptr && sqlite->damaged()) {
      if (recover(sqlite->description())) return;
    } else {
      note(opened.error().description());
    }
  }

  // Keeps the damaged file aside and opens a new archive in its place.
  bool recover(const std::string& reason) {
    archive_.reset();
    auto aside = NightArchive::keepAside(*file_, InternetDate::now());
    if (!aside) {
      note(reason + "; " + aside.error().description());
      return false;
    }
    problem_ = ArchiveProblem{*file_, reason, aside.value(), false};
    auto opened = NightArchive::open(*file_);
    if (!opened) {
      note(opened.error().description());
      return false;
    }
    archive_ = std::move(opened.value());
    return true;
  }

  void note(const NightArchive::Failure& failure) { note(failure.description()); }
  void note(const std::string& reason) {
    std::error_code ignored;
    problem_ = ArchiveProblem{*file_, reason, std::nullopt, std::filesystem::exists(*file_, ignored)};
  }

  std::optional<std::filesystem::path> file_;
  std::unique_ptr<NightArchive> archive_;
  std::optional<ArchiveProblem> problem_;
};

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

  RefreshArchive archive(options.archive);
  std::vector<BaselineSample> samples;
  archive.attempt([&](NightArchive& a) { return into(a.baselineSamples(kBaselineSamples), samples); });
  SleepAnalysis analysis;
  if (paths) {
    analysis = NightAnalyzer::analyze(journal.sessions(), options.timeZone, samples, NightAnalyzer::minimumNight);
    analysis.coveredFrom = journal.nights().coveredFrom();
    analysis.coveredTo = journal.nights().coveredTo();
  } else {
    analysis = NightAnalyzer::analyze(reader, options.timeZone, samples);
  }
  std::vector<SleepCounts> recentSleeps;
  if (paths) {
    archive.attempt([&](NightArchive& a) { return attachKernelSleeps(a, analysis.reports); });
    const Instant now = InternetDate::now();
    archive.attempt([&](NightArchive& a) { return into(a.sleeps(now - kRecentSeconds, now), recentSleeps); });
  }
  stage(LoadStage::parse);

  // A failed store keeps the file as it was; the history is what the file holds.
  archive.attempt([&](NightArchive& a) -> std::optional<NightArchive::Failure> {
    const auto stored = a.store(analysis.reports, options.appVersion);
    return stored ? std::nullopt : std::optional(stored.error());
  });
  std::vector<ArchivedNight> history;
  archive.attempt([&](NightArchive& a) { return into(a.nights(std::nullopt, kHistoryNights), history); });
  archive.close();
  stage(LoadStage::archive);

  PowerSettings settings = PowerSettings::parse({}, std::nullopt);
  PowerCapabilities capabilities = PowerCapabilities::parse({});
  std::optional<SystemSettings> system;
  if (paths) {
    system = readSystemSettings(options.root);
    if (options.logind) system->logind = options.logind();
  } else {
    const auto current = source.text({"-g"});
    const auto custom = source.text({"-g", "custom"});
    settings = PowerSettings::parse(current ? std::string_view(current.value()) : std::string_view(),
                                    custom ? std::optional<std::string_view>(custom.value()) : std::nullopt);
    const auto cap = source.text({"-g", "cap"});
    capabilities = PowerCapabilities::parse(cap ? std::string_view(cap.value()) : std::string_view());
  }

  return Loaded{std::move(reader),       std::move(journal),     std::move(analysis), std::move(settings),
                std::move(capabilities), source.battery(),       std::move(history),  archive.problem(),
                std::move(system),       std::move(recentSleeps)};
}

}  // namespace snoozlet
