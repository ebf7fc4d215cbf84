#pragma once

// What every front end does to start the application model as a launch
// does: name the preferences store and the language, find the pmset to run,
// pick the runner for changes, and build the model over the data folder with
// the platform's battery reader. The terminal commands and the tray
// application both start here.

#include "app/AppModel.h"
#include "app/AppSettings.h"
#include "app/ChangeController.h"
#include "app/MorningNotifier.h"
#include "sessions/Language.h"
#include "settings/PrivilegedRunner.h"

#include <QCoreApplication>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace snoozlet {

struct LaunchOptions {
  // The folder of nights.sqlite and changes.json; the standard one when absent.
  std::optional<std::filesystem::path> dataDir;
  // Overrides the resolved pmset.
  std::optional<std::string> pmset;
  // Where the nights come from; the settings file's choice, else the default
  // (pmset, else a readable journal with a sleep, else the simulated Mac).
  std::optional<NightSource> source;
  // Changes are only recorded, never run.
  bool dryRun = false;
  // A copied journal read as this laptop's nights (the journal source).
  std::optional<JournalPaths> journal{};
};

// Sets the language of every text (Qt's default locale, so the model's core
// texts follow) and installs the translation table; without a language the
// system's stands. The preferences store is named here too.
void prepareApplication(QCoreApplication& app, std::optional<Language> language);

// The pmset to run: the override, else $SNOOZLET_PMSET, else /usr/bin/pmset,
// else the simulated Mac beside this program. A relative path is made
// absolute, since command text names pmset by an absolute path.
std::string configuredPmset(const std::optional<std::string>& override);

// The runner for changes made from this process: the dry-run runner when
// asked; otherwise the administrator prompt, except for the simulated Mac
// (or any pmset the user owns) and when running as root, where the shell runs
// the commands directly. $SNOOZLET_ELEVATOR names another elevation program
// and always elevates through it (a testing aid).
std::shared_ptr<PrivilegedRunner> makeRunner(const std::string& pmset, bool dryRun);

// The runner for a Linux laptop's changes: snoozlet-helper, through pkexec
// on the machine itself (or $SNOOZLET_ELEVATOR), directly as root or on a
// tree of files standing for the system; pmset's changes still go through
// `pmset`. A dry-run runner stays as it is.
std::shared_ptr<PrivilegedRunner> makeLaptopRunner(std::shared_ptr<PrivilegedRunner> pmset, const SystemRoot& root);

// The program the login item starts: `snoozlet` beside this program when it
// is there (it hands over to the application), else this program.
std::string launcherPath();

// The source the settings file names ("nightSource=journal"), if any.
std::optional<NightSource> savedNightSource(const AppSettings& settings);

// The model as at launch; the settings and the notifier (which may be null)
// must outlive it. prepareApplication must have run. When the default source
// passed over a journal this user may not read, the model's notice says so
// and how to fix it; when the source asked for cannot be used, the model
// reads the simulated Mac and its notice says why.
std::unique_ptr<AppModel> makeModel(AppSettings& settings, MorningNotifier* notifier, const LaunchOptions& options);

// The change controller over the model, with the runner for its pmset (and,
// on a Linux laptop, for its own settings).
std::unique_ptr<ChangeController> makeChangeController(AppModel& model, const LaunchOptions& options);

}  // namespace snoozlet
