#pragma once

// The application model and its change controller as the terminal commands
// drive them: built as a launch builds them (app/Launch.h: the standard
// preferences store, the runner for the configured pmset, the standard data
// folder or --data-dir) but without a notifier, with blocking waits for the
// refresh and the apply. Needs a QCoreApplication.

#include "app/AppModel.h"
#include "app/AppSettings.h"
#include "app/ChangeController.h"
#include "app/Launch.h"
#include "cli/CommandLine.h"
#include "common/Result.h"
#include "narration/NightFormat.h"

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
  using Setup = LaunchOptions;

  // prepareApplication must have run (it names the preferences store).
  explicit ModelSession(const Setup& setup);

  AppModel& model() { return *model_; }
  ChangeController& changes() { return *changes_; }

  // Runs one refresh and waits for it; the load state's message when it failed.
  Status refresh();
  // Applies the pending review and waits until the controller has told the outcome.
  void apply();

 private:
  QSettings store_;
  AppSettings settings_;
  std::unique_ptr<AppModel> model_;
  std::unique_ptr<ChangeController> changes_;
};

// Prepares the application for the command line's language and builds the
// model over its data folder and pmset.
std::unique_ptr<ModelSession> startSession(const CommandLine& line, bool dryRun = false);

// Refreshes the session's model; when that fails, writes "snoozlet " + the
// command + ": " + the reason to `err` and answers false.
bool refreshFor(ModelSession& session, std::string_view command, std::ostream& err);

// How the model's nights and dates are written: its language and time zone.
NightFormat formatOf(const AppModel& model);

}  // namespace snoozlet::cli
