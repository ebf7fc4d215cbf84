#pragma once

// The application model as the terminal commands drive it: built as at a
// normal launch (the standard preferences store, the platform's login item,
// the administrator-prompt runner for the configured pmset, the standard data
// folder or --data-dir) but without a notifier, with blocking waits for its
// two asynchronous operations. Needs a QCoreApplication.

#include "app/AppModel.h"
#include "app/AppSettings.h"
#include "app/XdgLoginItem.h"
#include "cli/CommandLine.h"
#include "common/Result.h"
#include "narration/NightFormat.h"
#include "settings/PrivilegedRunner.h"

#include <QCoreApplication>
#include <QSettings>

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace snoozlet::cli {

class ModelSession {
 public:
  struct Setup {
    // The folder of nights.sqlite and changes.json; the standard one when absent.
    std::optional<std::filesystem::path> dataDir;
    // Overrides the resolved pmset.
    std::optional<std::string> pmset;
    // Changes are only recorded, never run.
    bool dryRun = false;
  };

  // prepareApplication must have run (it names the preferences store).
  explicit ModelSession(const Setup& setup);

  AppModel& model() { return *model_; }

  // Runs one refresh and waits for it; the load state's message when it failed.
  Status refresh();
  // Applies the review and waits until the model has told the outcome.
  void apply(const AppModel::Review& review);

 private:
  QSettings store_;
  AppSettings settings_;
  XdgLoginItem loginItem_;
  std::unique_ptr<AppModel> model_;
};

// The pmset the commands run: --pmset, else $SNOOZLET_PMSET, else
// /usr/bin/pmset, else the simulated Mac beside this program. A relative path
// is made absolute, since command text names pmset by an absolute path.
std::string configuredPmset(const std::optional<std::string>& override);

// The runner for changes made from this process: the dry-run runner when
// asked; otherwise the administrator prompt, except for the simulated Mac
// (or any pmset the user owns) and when running as root, where the shell runs
// the commands directly. $SNOOZLET_ELEVATOR names another elevation program
// and always elevates through it (a testing aid).
std::shared_ptr<PrivilegedRunner> makeRunner(const std::string& pmset, bool dryRun);

// Sets the language of every text (Qt's default locale, so the model's core
// texts follow) and installs the translation table; without a language the
// system's stands. The preferences store is named here too.
void prepareApplication(QCoreApplication& app, std::optional<Language> language);

// Prepares the application for the command line's language and builds the
// model over its data folder and pmset.
std::unique_ptr<ModelSession> startSession(const CommandLine& line, bool dryRun = false);

// Refreshes the session's model; when that fails, writes "snoozlet " + the
// command + ": " + the reason to `err` and answers false.
bool refreshFor(ModelSession& session, std::string_view command, std::ostream& err);

// How the model's nights and dates are written: its language and time zone.
NightFormat formatOf(const AppModel& model);

}  // namespace snoozlet::cli
