#pragma once

// What the model tests share: a simulated Mac with its own state folder, a
// model wired to it with recording stand-ins and a fixed clock, and waiting
// for the model's asynchronous operations.

#include "Recorders.h"
#include "TestSupport.h"
#include "app/AppModel.h"
#include "app/AppSettings.h"
#include "app/ChangeController.h"
#include "app/LoginItem.h"
#include "app/MorningNotifier.h"
#include "demo/DemoLog.h"

#include <QSettings>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::testing {

// A simulated Mac in a folder. Its `pmset` is a script that appends each
// command line to the file "calls" and runs the built snoozlet-pmset with
// the state folder "state"; while the file "fail" exists, the commands it
// names (live, custom, cap, log, set) fail.
class FakeMac {
 public:
  explicit FakeMac(std::filesystem::path folder);

  const std::string& pmset() const { return pmset_; }
  // The power log the Mac prints from now on.
  void setLog(std::string_view text) const;
  // Makes the listed commands fail; an empty list lets all succeed again.
  void fail(std::string_view commands) const;
  // Changes a setting behind the application's back ("-b", "powernap", "0").
  void change(std::string_view flag, std::string_view key, std::string_view value) const;
  // How many times pmset was run with exactly these arguments.
  int count(std::string_view arguments) const;

 private:
  std::filesystem::path folder_;
  std::string pmset_;
};

// The demonstration week ending on 10 March 2024 in UTC.
std::vector<DemoLog::Night> demoNights();
std::string demoLog();
// The latest night of a log, as the analyzer finds it.
NightReport lastNightOf(std::string_view log);

struct ModelHarness {
  ModelHarness();

  // Builds the model and its change controller: the runner given (a
  // do-nothing recording runner by default), the storage given (this
  // folder's "data" by default), the notifier, and the Mac's pmset.
  AppModel& make(std::shared_ptr<PrivilegedRunner> runner = nullptr, std::optional<Storage> storage = std::nullopt);

  // Start a refresh, or apply the pending review, and wait for it to end;
  // false when it could not start or did not end in time.
  bool refresh();
  bool apply();

  TempDir dir;
  FakeMac mac;
  QSettings store;
  AppSettings settings;
  FakeLoginItem loginItem;
  RecordingNotificationCenter center;
  Instant now = 1710064800;  // the model's and the notifier's clock: 2024-03-10 10:00 UTC
  MorningNotifier notifier;
  std::unique_ptr<AppModel> model;
  std::unique_ptr<ChangeController> changes;
};

}  // namespace snoozlet::testing
