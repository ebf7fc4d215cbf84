#include "platform/PowerDataSource.h"

#include "common/Text.h"
#include "platform/Process.h"
#include "platform/battery/BatteryReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace snoozlet {

namespace {

Error pmsetError(const Process::Exit& exit, std::string message) {
  // A signal has no exit status; report it the way a shell would (128 + n).
  const std::int32_t status = exit.signal ? 128 + *exit.signal : exit.status;
  if (exit.signal && message.empty()) message = "killed by signal " + std::to_string(*exit.signal);
  return Error{PmsetFailure{status, std::move(message)}.description()};
}

}  // namespace

PowerDataSource::PowerDataSource(std::string pmset, std::shared_ptr<BatteryReader> battery)
    : pmset_(std::move(pmset)), battery_(std::move(battery)) {}

PowerDataSource PowerDataSource::journal(JournalPaths paths, std::shared_ptr<BatteryReader> battery) {
  PowerDataSource source("", std::move(battery));
  source.journal_ = std::move(paths);
  return source;
}

NightSource PowerDataSource::nightSource() const {
  if (journal_) return NightSource::journal;
  return isSimulator(pmset_) ? NightSource::simulated : NightSource::pmset;
}

Result<ChosenSource> chooseNightSource(std::optional<NightSource> asked, const std::optional<std::string>& pmset,
                                       const JournalPaths& journal) {
  if (!asked && (journal.journal || journal.upower)) asked = NightSource::journal;
  const auto simulated = [] {
    const std::string simulator = (Process::executableFolder() / "snoozlet-pmset").string();
    return PowerDataSource(simulator, makeBatteryReader(simulator));
  };
  const auto fromJournal = [&] { return PowerDataSource::journal(journal, makeSystemBatteryReader()); };
  if (asked == NightSource::journal) {
    if (!journal.journal) {
      if (auto problem = journalPermissionProblem()) return Result<ChosenSource>::failure({*problem});
    }
    return ChosenSource{fromJournal(), std::nullopt};
  }
  if (asked == NightSource::simulated) return ChosenSource{simulated(), std::nullopt};
  const std::string resolved = PowerDataSource::resolvePmset(pmset);
  if (asked == NightSource::pmset || !PowerDataSource::isSimulator(resolved) || pmset ||
      std::getenv("SNOOZLET_PMSET") != nullptr) {
    return ChosenSource{PowerDataSource(resolved, makeBatteryReader(resolved)), std::nullopt};
  }
  // No pmset here: a Linux laptop's own nights when its journal has some.
  if (auto problem = journalPermissionProblem()) return ChosenSource{simulated(), problem};
  if (systemJournalHasSleep()) return ChosenSource{fromJournal(), std::nullopt};
  return ChosenSource{simulated(), std::nullopt};
}

Status PowerDataSource::streamLog(LogReader& reader) const {
  auto child = Process::OutputReader::start({pmset_, {"-g", "log"}, {}});
  if (!child) return Status::failure(child.error());
  std::string block(kChunkSize, '\0');
  const Status read = reader.ingest([&]() -> Result<std::optional<std::string_view>> {
    auto got = child->read(block.data(), block.size());
    if (!got) return Result<std::optional<std::string_view>>::failure(got.error());
    if (got.value() == 0) return std::optional<std::string_view>();
    return std::optional<std::string_view>(std::string_view(block.data(), got.value()));
  });
  if (!read.ok()) return read;
  const Process::Exit exit = child->finish();
  if (!exit.succeeded()) return Status::failure(pmsetError(exit, ""));
  return {};
}

Result<std::string> PowerDataSource::run(const std::vector<std::string>& arguments) const {
  auto output = Process::run({pmset_, arguments, {}});
  if (!output) return Result<std::string>::failure(output.error());
  if (!output->exit.succeeded()) {
    return Result<std::string>::failure(pmsetError(output->exit, text::decodeUtf8(output->err)));
  }
  return std::move(output->out);
}

Result<std::string> PowerDataSource::text(const std::vector<std::string>& arguments) const {
  auto bytes = run(arguments);
  if (!bytes) return bytes;
  if (text::isValidUtf8(bytes.value())) return bytes;
  return text::decodeUtf8(bytes.value());
}

std::optional<BatteryHealth> PowerDataSource::battery() const {
  if (!battery_) return std::nullopt;
  return battery_->read();
}

std::string PowerDataSource::resolvePmset(const std::optional<std::string>& override) {
  if (override && !override->empty()) return *override;
  if (const char* env = std::getenv("SNOOZLET_PMSET"); env != nullptr && *env != '\0') return env;
  if (::access("/usr/bin/pmset", X_OK) == 0) return "/usr/bin/pmset";
  const auto beside = Process::executableFolder() / "snoozlet-pmset";
  return beside.string();
}

bool PowerDataSource::isSimulator(const std::string& pmset) {
  if (std::filesystem::path(pmset).filename().string().starts_with("snoozlet-pmset")) return true;
  struct stat info {};
  return ::stat(pmset.c_str(), &info) == 0 && info.st_uid != 0 && info.st_uid == ::getuid();
}

std::filesystem::path standardDataFolder() {
  const char* home = std::getenv("HOME");
  const std::filesystem::path homeFolder = home != nullptr && *home != '\0' ? home : "/tmp";
#ifdef __APPLE__
  return homeFolder / "Library" / "Application Support" / "Snoozlet";
#else
  const char* xdg = std::getenv("XDG_DATA_HOME");
  // Relative values are invalid and ignored, as the XDG rules say.
  if (xdg != nullptr && xdg[0] == '/') return std::filesystem::path(xdg) / "Snoozlet";
  return homeFolder / ".local" / "share" / "Snoozlet";
#endif
}

}  // namespace snoozlet
