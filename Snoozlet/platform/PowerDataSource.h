#pragma once

// Everything Snoozlet knows about the machine comes from one command, pmset,
// and from the battery. The data source is the only place that runs pmset to
// read: it streams the power log into a log reader in 256 KiB blocks, reads
// the settings texts, and reads the battery. On a Linux laptop the nights come
// from the systemd journal and UPower instead, and there is no pmset to run.

#include "archive/BatteryHealth.h"
#include "common/NightSource.h"
#include "common/Result.h"
#include "platform/battery/BatteryReader.h"
#include "platform/linux/SystemJournal.h"
#include "sessions/LogReader.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace snoozlet {

// pmset ran but failed: its exit status and its standard-error text (empty
// for the log, whose standard error is discarded).
struct PmsetFailure {
  std::int32_t status = 0;
  std::string message;
  // "pmset exited with " + status + ": " + message.
  std::string description() const { return "pmset exited with " + std::to_string(status) + ": " + message; }
  bool operator==(const PmsetFailure&) const = default;
};

class PowerDataSource {
 public:
  // The executable is the real pmset or a stand-in with its command line
  // (the simulated Mac); the battery reader may be null (no battery).
  PowerDataSource(std::string pmset, std::shared_ptr<BatteryReader> battery);
  // A Linux laptop: its nights from the journal and UPower, its battery from
  // the reader.
  static PowerDataSource journal(JournalPaths paths, std::shared_ptr<BatteryReader> battery);

  NightSource nightSource() const;
  // Where the journal and UPower's history are read, for the journal source.
  const std::optional<JournalPaths>& journalPaths() const { return journal_; }

  // "-g log" streamed into the reader in 262144-byte blocks, standard error
  // discarded. A launch error, a read error or a failed exit is an error; the
  // reader is then left as it was when the stream itself failed.
  Status streamLog(LogReader& reader) const;
  // Standard output of pmset with the arguments, or its failure.
  Result<std::string> run(const std::vector<std::string>& arguments) const;
  // run, decoded as UTF-8 (invalid bytes replaced).
  Result<std::string> text(const std::vector<std::string>& arguments) const;
  // The battery now; nothing without a battery.
  std::optional<BatteryHealth> battery() const;

  const std::string& pmset() const { return pmset_; }

  // The pmset to use: `override` when given, else $SNOOZLET_PMSET, else
  // /usr/bin/pmset when it exists, else snoozlet-pmset beside this program.
  static std::string resolvePmset(const std::optional<std::string>& override = std::nullopt);
  // True when the executable is the simulated Mac (or any program the user
  // owns): changing its settings needs no administrator.
  static bool isSimulator(const std::string& pmset);

  static constexpr std::size_t kChunkSize = 262144;

 private:
  std::string pmset_;
  std::shared_ptr<BatteryReader> battery_;
  std::optional<JournalPaths> journal_;
};

// The source chosen, and why the default passed over the journal (one
// sentence with its fix), when it did.
struct ChosenSource {
  PowerDataSource source;
  std::optional<std::string> notice;
};

// The source to read: `asked` when given (the journal also when `journal`
// names a path); else pmset where it exists (`pmset`, $SNOOZLET_PMSET or
// /usr/bin/pmset), else the system journal when it holds a sleep this user
// may read, else the simulated Mac. Asking for the system journal without
// the right to read it is an error that says how to get it.
Result<ChosenSource> chooseNightSource(std::optional<NightSource> asked, const std::optional<std::string>& pmset,
                                       const JournalPaths& journal);

// The folder of the archive and the journal: $XDG_DATA_HOME/Snoozlet, or
// ~/.local/share/Snoozlet (~/Library/Application Support/Snoozlet on macOS).
std::filesystem::path standardDataFolder();

}  // namespace snoozlet
