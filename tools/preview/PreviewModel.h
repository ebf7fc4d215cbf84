#pragma once

// An application model holding demonstration nights, for the screenshots,
// the view tests and the benchmarks: the nights are analysed by the ordinary
// pipeline and published as a refresh would publish them, with the settings
// of the simulated Mac's typical laptop, a dry-run runner and nothing stored
// on disk but a preferences file in a temporary folder.

#include "app/AppModel.h"
#include "app/AppSettings.h"
#include "app/ChangeController.h"
#include "app/LoginItem.h"
#include "app/PreferencesController.h"
#include "demo/DemoLog.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

namespace snoozlet::preview {

// The demonstration week ending on Sunday 6 December 2026, its last night of the mood.
std::vector<DemoLog::Night> week(Mood last);
// The zone of every preview: nights and clocks read as in London.
TimeZone zone();

struct Contents {
  std::vector<DemoLog::Night> nights;
  // A typical three-year-old laptop battery; none when false.
  bool battery = true;
  // Archived nights shown by history, newest first; the analysed nights when empty.
  std::optional<std::vector<ArchivedNight>> history;
  // False leaves the model as at launch, before its first refresh.
  bool publish = true;
  // The dry-run runner (records only); otherwise a runner that asks for an
  // administrator password as on a real Mac (in a preview it never runs).
  bool dryRun = true;
  // Overrides both (tests pass a recording runner).
  std::shared_ptr<PrivilegedRunner> runner;
  // A Linux laptop read from its journal: no pmset settings, its own texts.
  bool linuxLaptop = false;
  // Changes made earlier, as the journal file holds them.
  std::optional<FixJournal> journal;
  // Why the refresh could not keep its nights.
  std::optional<ArchiveProblem> archiveProblem;

  static Contents of(std::vector<DemoLog::Night> nights) {
    Contents contents;
    contents.nights = std::move(nights);
    return contents;
  }
};

// What a refresh of these contents would publish.
Loaded loaded(const Contents& contents);

class PreviewModel {
 public:
  explicit PreviewModel(const Contents& contents);

  AppModel& model() { return *model_; }
  ChangeController& changes() { return *changes_; }
  PreferencesController& preferences() { return preferences_; }
  AppSettings& settings() { return settings_; }
  FakeLoginItem& loginItem() { return loginItem_; }

  // Publishes other contents, as a refresh would.
  void publish(const Contents& contents);
  // Reviews the fixes and applies them, as if confirmed, waiting for the end.
  void apply(const std::vector<FixID>& fixes);

 private:
  QTemporaryDir dir_;
  QSettings store_;
  AppSettings settings_;
  FakeLoginItem loginItem_;
  PreferencesController preferences_;
  std::unique_ptr<AppModel> model_;
  std::unique_ptr<ChangeController> changes_;
};

// `count` archived nights ending on 6 December 2026, newest first, with
// drains that vary from night to night.
std::vector<ArchivedNight> archivedNights(std::size_t count);

}  // namespace snoozlet::preview
