#pragma once

// The loading step of a refresh, run on a background thread with copies of
// the model's state:
//   1. stream the power log into the reader copy, or read the journal's new
//      entries into the journal reader's copy (only this can fail);
//   2. open the night archive and take up to 30 baseline samples;
//   3. analyse the reader's sessions against them (on a Linux laptop, with
//      the kernel's counts the archive kept for their sleeps);
//   4. store every report, read back the newest 400 nights as history;
//   5. read the settings ("-g", "-g custom") and capabilities ("-g cap"),
//      which only a Mac has; on a Linux laptop, its own sleep settings under
//      the system root (with logind's, when a reader for them is given) and
//      the kernel's counts of the sleeps of the last seven days;
//   6. read the battery.
// Every problem after step 1 degrades to an empty or absent value; a problem
// with the archive is also handed back beside the result, so that it is told,
// and an archive that is not a database any more is kept aside and made anew
// at once, so that the nights are kept from this refresh on.

#include "analysis/NightAnalyzer.h"
#include "archive/ArchivedNight.h"
#include "archive/BatteryHealth.h"
#include "archive/NightArchive.h"
#include "common/Result.h"
#include "common/TimeZone.h"
#include "platform/PowerDataSource.h"
#include "platform/linux/SystemRoot.h"
#include "settings/PowerCapabilities.h"
#include "settings/PowerSettings.h"
#include "settings/SystemSettings.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace snoozlet {

// Everything a refresh publishes.
struct Loaded {
  LogReader reader;
  JournalReader journal;
  SleepAnalysis analysis;
  PowerSettings settings;
  PowerCapabilities capabilities;
  std::optional<BatteryHealth> battery;
  // Newest first, at most 400.
  std::vector<ArchivedNight> history;
  // Why the nights were not kept, or where a damaged archive went.
  std::optional<ArchiveProblem> archiveProblem;
  // A Linux laptop's sleep settings; absent on a Mac.
  std::optional<SystemSettings> system{};
  // The kernel's counts of the sleeps of the last seven days, oldest first
  // (a Linux laptop's, kept by the tray application).
  std::vector<SleepCounts> recentSleeps{};
};

// Where the step has got to; the measurement pass prints a line at each.
enum class LoadStage { read, parse, archive };

struct LoadOptions {
  // The archive file; none means no history and no stored baseline.
  std::optional<std::filesystem::path> archive;
  TimeZone timeZone = TimeZone::current();
  // The version text stored with every archived night.
  std::string appVersion;
  std::function<void(LoadStage)> onStage;
  // Where a Linux laptop's files are read.
  SystemRoot root = SystemRoot::fromEnvironment();
  // logind's part of a Linux laptop's settings (over D-Bus); nothing where no
  // logind answers. Called on the loading step's thread.
  std::function<std::optional<LogindState>()> logind{};
};

Result<Loaded> load(const PowerDataSource& source, LogReader reader, const LoadOptions& options,
                    JournalReader journal = {});

}  // namespace snoozlet
