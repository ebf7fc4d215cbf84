#pragma once

// The application model as the terminal commands drive it: built as a launch
// builds it (app/Launch.h: the standard preferences store, the platform's
// login item, the runner for the configured pmset, the standard data folder
// or --data-dir) but without a notifier, with blocking waits for its two
// asynchronous operations. Needs a QCoreApplication.

#include "app/AppModel.h"
#include "app/AppSettings.h"
#include "app/Launch.h"
#include "app/XdgLoginItem.h"
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

// Prepares the application for the command line's language and builds the
// model over its data folder and pmset.
std::unique_ptr<ModelSession> startSession(const CommandLine& line, bool dryRun = false);

// Refreshes the session's model; when that fails, writes "snoozlet " + the
// command + ": " + the reason to `err` and answers false.
bool refreshFor(ModelSession& session, std::string_view command, std::ostream& err);

// How the model's nights and dates are written: its language and time zone.
NightFormat formatOf(const AppModel& model);

}  // namespace snoozlet::cli
