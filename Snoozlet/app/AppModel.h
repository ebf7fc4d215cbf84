#pragma once

// The application model: the application's observable state at run time,
// which every front end (the windows, a terminal command) reads, and the
// refresh that renews it. It lives on the main thread.
//
// Refresh: refresh() → the loading step on a worker thread, with copies of
// the log reader, the archive location and the time zone → the result posted
// back to the main thread → the reader replaced, the result published field
// by field → free memory handed back to the system. One loading step at a
// time; a refresh asked for meanwhile is dropped.
//
// Every observed field has a change signal that fires only when the value
// really changes; published() and refreshFinished() mark the end of a
// refresh, so a front end can wait for it. Changes to the settings go through
// the ChangeController, the preferences through the PreferencesController,
// and which page a window shows is the Navigator's.

#include "analysis/NightAnalyzer.h"
#include "app/ModelTypes.h"
#include "archive/ArchivedNight.h"
#include "archive/BatteryHealth.h"
#include "common/Instant.h"
#include "common/TimeZone.h"
#include "common/Version.h"
#include "narration/NightFormat.h"
#include "platform/LoadingStep.h"
#include "platform/PowerDataSource.h"
#include "presentation/SettingsRows.h"
#include "settings/Fix.h"
#include "settings/PowerCapabilities.h"
#include "settings/PowerSettings.h"
#include "settings/SettingFinding.h"
#include "settings/Suggestion.h"
#include "settings/SystemFix.h"
#include "settings/SystemSettings.h"
#include "platform/linux/SystemRoot.h"

#include <QFuture>
#include <QObject>
#include <QThreadPool>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet {

class AppSettings;
class MorningNotifier;

// How an AppModel is set up beyond its services (AppModel::Options).
struct AppModelOptions {
  using Clock = std::function<Instant()>;

  // The zone in which nights are analysed and shown.
  TimeZone timeZone = TimeZone::current();
  // "Now"; the system clock when empty.
  Clock clock;
  // The pmset that changes run through and that is named in the command text
  // the user is shown; the data source's pmset when absent.
  std::optional<std::string> pmsetPath;
  // Stored with every archived night.
  std::string appVersion = kVersionText;
  // Where a Linux laptop's settings are read and its changes made.
  SystemRoot systemRoot = SystemRoot::fromEnvironment();
  // logind's part of a Linux laptop's settings; none asked when empty.
  std::function<std::optional<LogindState>()> logind{};
};

class AppModel : public QObject {
  Q_OBJECT

 public:
  using Clock = AppModelOptions::Clock;
  using Options = AppModelOptions;

  // The settings and the notifier (which may be null: no notifications) must
  // outlive the model.
  AppModel(AppSettings& settings, MorningNotifier* notifier, Storage storage, PowerDataSource source,
           Options options = {}, QObject* parent = nullptr);
  // Waits for a loading step still at work; its result is dropped.
  ~AppModel() override;

  const Storage& storage() const { return storage_; }
  const PowerDataSource& source() const { return source_; }
  const TimeZone& timeZone() const { return timeZone_; }
  const std::string& pmsetPath() const { return pmsetPath_; }
  const SystemRoot& systemRoot() const { return systemRoot_; }
  Instant now() const { return clock_(); }
  // The incremental reader, replaced by every successful refresh.
  const LogReader& reader() const { return reader_; }
  // Where the nights come from; the texts that name the machine follow it.
  NightSource nightSource() const { return source_.nightSource(); }
  // What a loading step for this model is given: its archive, zone and version.
  LoadOptions loadOptions() const;
  // The language of every core text the model writes.
  Language language() const;
  // How the model's nights, dates and numbers are written: its language and
  // zone. Built once per language (its ICU formatters are costly to make).
  const NightFormat& format() const;

  // Observed fields.
  const std::optional<SleepAnalysis>& analysis() const { return analysis_; }
  const std::optional<PowerSettings>& powerSettings() const { return powerSettings_; }
  const std::optional<PowerCapabilities>& capabilities() const { return capabilities_; }
  // A Linux laptop's sleep settings; absent on a Mac.
  const std::optional<SystemSettings>& systemSettings() const { return systemSettings_; }
  // The kernel's counts of the last seven days' sleeps (a Linux laptop's).
  const std::vector<SleepCounts>& recentSleeps() const { return recentSleeps_; }
  // A Mac's settings explained, or a Linux laptop's when its settings are known.
  const std::vector<SettingFinding>& findings() const { return findings_; }
  const std::optional<BatteryHealth>& battery() const { return battery_; }
  // Archived nights, newest first.
  const std::vector<ArchivedNight>& history() const { return history_; }
  const LoadState& state() const { return state_; }
  // When the last successful refresh was published.
  const std::optional<Instant>& lastRefresh() const { return lastRefresh_; }
  // Why the last refresh could not keep its nights, or where it kept a
  // damaged archive; nothing when the archive is well. A refresh succeeds
  // all the same: the nights of the log are shown.
  const std::optional<ArchiveProblem>& archiveProblem() const { return archiveProblem_; }
  // One-line message shown above the night's suggestions, in the model's
  // language: how a change ended, or why the nights come from another source.
  const std::optional<std::string>& notice() const { return notice_; }

  // Sets or (the user dismissed it) clears the notice.
  void setNotice(std::optional<std::string> notice);

  // Starts a refresh; false (and nothing happens) while one is loading.
  bool refresh();
  // Replaces the reader with the loaded one, publishes the rest and hands
  // free memory back, as a successful refresh does. For front ends that run
  // the loading step themselves (the measurement pass).
  void publishLoaded(Loaded loaded);
  // Settings read back after a change: published with their findings.
  void adoptSettings(PowerSettings settings);
  // A Linux laptop's values read back after a change: published with the findings.
  void adoptSystemValues(const SystemValues& values);

  // The latest night of the analysis; null before the first or without one.
  const NightReport* latestNight() const;
  // The advisor's suggestions for the night, in the preferred language.
  std::vector<Suggestion> suggestions(const NightReport& night) const;
  // The first available catalogue fix for the pmset key, never Low Power
  // Mode; nothing while the settings or capabilities are unknown.
  std::optional<Fix> fixFor(std::string_view key) const;
  // The Linux fix offered for a finding of a Linux laptop ("memSleep",
  // "wakeup:<name>"), when it would change something here.
  std::optional<SystemFix> systemFixFor(std::string_view key) const;
  // Every finding with the fix offered for it: a Mac's catalogue fix, or a
  // Linux laptop's with its title in the model's language.
  std::vector<presentation::SettingsRow> settingsRows() const;
  // The mascot's speech for the night, or the plain summary in plain mode.
  std::string morningText(const NightReport& night) const;
  // Plain mode: the morning text is the plain summary.
  bool plainMode() const;

 signals:
  void analysisChanged();
  void powerSettingsChanged();
  void systemSettingsChanged();
  void capabilitiesChanged();
  void findingsChanged();
  void batteryChanged();
  void historyChanged();
  void stateChanged();
  void lastRefreshChanged();
  void archiveProblemChanged();
  void noticeChanged();
  // Plain mode was switched: every morning text reads differently.
  void morningTextChanged();

  // After every published refresh.
  void published();
  // A refresh ended: published, or failed with `state` telling why.
  void refreshFinished();

 private:
  void finishRefresh(Result<Loaded> result);
  void publish(Loaded loaded);
  void offerMorningNotification(const NightReport& night);

  void setAnalysis(std::optional<SleepAnalysis> analysis);
  void setPowerSettings(std::optional<PowerSettings> settings);
  void setCapabilities(std::optional<PowerCapabilities> capabilities);
  void setFindings(std::vector<SettingFinding> findings);
  void setSystemSettings(std::optional<SystemSettings> settings);
  // The findings of the settings in force: a Linux laptop's, else pmset's.
  std::vector<SettingFinding> explained() const;
  // The fixes a finding row may offer: the catalogue's without Low Power
  // Mode, and a Linux laptop's that would change something here.
  std::vector<Fix> availableFixes() const;
  std::vector<SystemFix> availableSystemFixes() const;
  void setBattery(std::optional<BatteryHealth> battery);
  void setHistory(std::vector<ArchivedNight> history);
  void setState(LoadState state);
  void setLastRefresh(std::optional<Instant> date);
  void setArchiveProblem(std::optional<ArchiveProblem> problem);

  AppSettings& settings_;
  MorningNotifier* notifier_;
  Storage storage_;
  PowerDataSource source_;
  TimeZone timeZone_;
  Clock clock_;
  std::string pmsetPath_;
  std::string appVersion_;
  SystemRoot systemRoot_;
  std::function<std::optional<LogindState>()> logind_;
  LogReader reader_;
  JournalReader systemJournal_;
  mutable std::optional<NightFormat> format_;

  std::optional<SleepAnalysis> analysis_;
  std::optional<PowerSettings> powerSettings_;
  std::optional<PowerCapabilities> capabilities_;
  std::optional<SystemSettings> systemSettings_;
  std::vector<SleepCounts> recentSleeps_;
  std::vector<SettingFinding> findings_;
  std::optional<BatteryHealth> battery_;
  std::vector<ArchivedNight> history_;
  LoadState state_;
  std::optional<Instant> lastRefresh_;
  std::optional<ArchiveProblem> archiveProblem_;
  std::optional<std::string> notice_;

  QThreadPool worker_;
  QFuture<void> loading_;
};

}  // namespace snoozlet
