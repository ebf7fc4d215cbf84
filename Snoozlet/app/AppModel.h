#pragma once

// The application model: the one object that holds the application's state
// at run time and that every front end (the windows, a terminal command)
// reads. It lives on the main thread.
//
// Refresh: refresh() → the loading step on a worker thread, with copies of
// the log reader, the archive location and the time zone → the result posted
// back to the main thread → the reader replaced, the result published field
// by field → free memory handed back to the system. One loading step at a
// time; a refresh asked for meanwhile is dropped.
//
// A change: reviewFixes / reviewUndo → `review` → applyReview: the runner on
// a worker thread (its password prompt may wait on the user), then on the
// main thread the journal records the change and is saved, the settings read
// back are checked against the plan, and a one-line `notice` tells the
// outcome.
//
// Every observed field has a change signal that fires only when the value
// really changes. refreshFinished() and applyFinished() mark the end of the
// two asynchronous operations, so a front end can wait for them.

#include "analysis/NightAnalyzer.h"
#include "app/AppSettings.h"
#include "app/LoginItem.h"
#include "app/MorningNotifier.h"
#include "archive/ArchivedNight.h"
#include "archive/BatteryHealth.h"
#include "common/Instant.h"
#include "common/TimeZone.h"
#include "common/Version.h"
#include "narration/NightFormat.h"
#include "platform/LoadingStep.h"
#include "platform/PowerDataSource.h"
#include "settings/Fix.h"
#include "settings/FixJournal.h"
#include "settings/FixPlan.h"
#include "settings/PowerCapabilities.h"
#include "settings/PowerSettings.h"
#include "settings/PrivilegedRunner.h"
#include "settings/SettingFinding.h"
#include "settings/Suggestion.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet {

// How an AppModel is set up beyond its services (AppModel::Options).
struct AppModelOptions {
  using Clock = std::function<Instant()>;

  // The zone in which nights are analysed and shown.
  TimeZone timeZone = TimeZone::current();
  // "Now"; the system clock when empty.
  Clock clock;
  // The pmset named in the command text the user is shown; the data
  // source's pmset when absent. It should be the one the runner runs.
  std::optional<std::string> pmsetPath;
  // Stored with every archived night.
  std::string appVersion = kVersionText;
};

class AppModel : public QObject {
  Q_OBJECT

 public:
  // The page of the main window.
  class Page {
   public:
    enum class Kind { night, settings, battery, history };

    // The night starting at `start`.
    static Page night(Instant start) { return Page(Kind::night, start); }
    static Page settings() { return Page(Kind::settings, 0); }
    static Page battery() { return Page(Kind::battery, 0); }
    static Page history() { return Page(Kind::history, 0); }

    Kind kind() const { return kind_; }
    // The night's start; only for a night page.
    std::optional<Instant> nightStart() const {
      return kind_ == Kind::night ? std::optional<Instant>(start_) : std::nullopt;
    }

    bool operator==(const Page&) const = default;

   private:
    Page(Kind kind, Instant start) : kind_(kind), start_(start) {}
    Kind kind_;
    Instant start_;
  };

  // Whether a refresh is running, or why the last one failed.
  class LoadState {
   public:
    enum class Kind { idle, loading, failed };

    LoadState() = default;
    static LoadState idle() { return {}; }
    static LoadState loading() { return LoadState(Kind::loading, {}); }
    // `message` is the error's description.
    static LoadState failed(std::string message) { return LoadState(Kind::failed, std::move(message)); }

    Kind kind() const { return kind_; }
    bool isLoading() const { return kind_ == Kind::loading; }
    // The error's description; empty unless failed.
    const std::string& message() const { return message_; }

    bool operator==(const LoadState&) const = default;

   private:
    LoadState(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}
    Kind kind_ = Kind::idle;
    std::string message_;
  };

  // A settings change waiting for the user's confirmation.
  struct Review {
    // Canonical upper-case UUID text, new for every review.
    std::string id;
    FixPlan plan;
    // The journal record this plan undoes; absent for a new change.
    std::optional<std::string> undoing;

    bool operator==(const Review&) const = default;
  };

  // Where the archive and the journal live; absent means not kept.
  struct Storage {
    std::optional<std::filesystem::path> archive;
    std::optional<std::filesystem::path> journal;

    // The data folder's "nights.sqlite" and "changes.json".
    static Storage standard() { return in(standardDataFolder()); }
    // "nights.sqlite" and "changes.json" in `folder`.
    static Storage in(const std::filesystem::path& folder) {
      return {folder / "nights.sqlite", folder / "changes.json"};
    }

    bool operator==(const Storage&) const = default;
  };

  // How the last review ended, as a value, so that a front end need not work
  // it out again from files.
  struct ApplyResult {
    enum class Kind {
      applied,     // every change ran and pmset reports every target
      simulated,   // the dry-run runner recorded it; nothing ran
      declined,    // the user closed the review without confirming
      cancelled,   // the administrator prompt was dismissed
      failed,      // the runner refused or failed; nothing was recorded
      didNotTake,  // it ran, but pmset does not report every target
    };
    Kind kind = Kind::declined;
    // The journal file holds the change; false when saving it failed.
    bool journalSaved = true;
    // The one-line notice shown for it (empty when declined).
    QString notice;

    // The change is in force (or simulated) and recorded.
    bool succeeded() const { return (kind == Kind::applied || kind == Kind::simulated) && journalSaved; }
    bool operator==(const ApplyResult&) const = default;
  };

  // What a loading step produces (the platform's record).
  using Loaded = snoozlet::Loaded;
  using Clock = AppModelOptions::Clock;
  using Options = AppModelOptions;

  // The journal is loaded from `storage.journal` when that is set. The
  // settings, login item and notifier (which may be null: no notifications)
  // must outlive the model.
  AppModel(AppSettings& settings, std::shared_ptr<PrivilegedRunner> runner, LoginItem& loginItem,
           MorningNotifier* notifier, Storage storage, PowerDataSource source, Options options = {},
           QObject* parent = nullptr);
  // Waits for a loading step or a runner still at work; their results are dropped.
  ~AppModel() override;

  AppSettings& settings() const { return settings_; }
  PrivilegedRunner& runner() const { return *runner_; }
  LoginItem& loginItem() const { return loginItem_; }
  MorningNotifier* notifier() const { return notifier_; }
  const Storage& storage() const { return storage_; }
  const PowerDataSource& source() const { return source_; }
  const TimeZone& timeZone() const { return timeZone_; }
  const std::string& pmsetPath() const { return pmsetPath_; }
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
  const std::vector<SettingFinding>& findings() const { return findings_; }
  const std::optional<BatteryHealth>& battery() const { return battery_; }
  // Archived nights, newest first.
  const std::vector<ArchivedNight>& history() const { return history_; }
  const FixJournal& journal() const { return journal_; }
  const std::optional<Page>& page() const { return page_; }
  const LoadState& state() const { return state_; }
  // When the last successful refresh was published.
  const std::optional<Instant>& lastRefresh() const { return lastRefresh_; }
  const std::optional<Review>& review() const { return review_; }
  // One-line message shown at the top of the pages.
  const std::optional<QString>& notice() const { return notice_; }
  // How the last review ended; nothing before the first.
  const std::optional<ApplyResult>& lastApply() const { return lastApply_; }

  // What the views change directly: the page, cancelling a review (nothing),
  // dismissing the notice (nothing).
  void setPage(std::optional<Page> page);
  void setReview(std::optional<Review> review);
  void setNotice(std::optional<QString> notice);

  // Starts a refresh; false (and nothing happens) while one is loading.
  bool refresh();
  // Replaces the reader with the loaded one, publishes the rest and hands
  // free memory back, as a successful refresh does. For front ends that run
  // the loading step themselves (the measurement pass).
  void publishLoaded(Loaded loaded);

  // Sets the page when one is given, then asks for the main window.
  void openPage(std::optional<Page> page);
  // A night page is valid while the analysis has a report starting exactly
  // then; the other pages always are; no page is not.
  bool isValid(const std::optional<Page>& page) const;
  // The night the night page shows: the report starting at the page's date,
  // else the latest night. Nothing without an analysis or off a night page.
  std::optional<NightReport> selectedNight() const;
  // The advisor's suggestions for the night, in the preferred language.
  std::vector<Suggestion> suggestions(const NightReport& night) const;
  // The first available catalogue fix for the pmset key, never Low Power
  // Mode; nothing while the settings or capabilities are unknown.
  std::optional<Fix> fixFor(std::string_view key) const;
  // The mascot's speech for the night, or the plain summary in plain mode.
  std::string morningText(const NightReport& night) const;

  // Opens a review of the fixes against the current settings; nothing when
  // the settings or capabilities are unknown or the plan changes nothing.
  void reviewFixes(const std::vector<FixID>& fixes);
  // Opens a review putting a journal record's previous values back; nothing
  // for an unknown or already undone record.
  void reviewUndo(std::string_view recordId);
  // Runs the review's plan, records it in the journal (or marks the undone
  // record) and saves that, checks the settings read back, sets the notice
  // and clears the review; applyFinished() follows. False, and nothing
  // happens, while another review is being applied.
  bool applyReview(Review review);
  bool isApplying() const { return applying_; }
  // Closes the review without running anything: the user said no.
  void declineReview();

 signals:
  void analysisChanged();
  void powerSettingsChanged();
  void capabilitiesChanged();
  void findingsChanged();
  void batteryChanged();
  void historyChanged();
  void journalChanged();
  void pageChanged();
  void stateChanged();
  void lastRefreshChanged();
  void reviewChanged();
  void noticeChanged();

  // After every published refresh (the status item updates its tooltip).
  void published();
  // A refresh ended: published, or failed with `state` telling why.
  void refreshFinished();
  // An apply ended; `lastApply` (and `notice`) tell how.
  void applyFinished();
  // openPage asks for the main window.
  void mainWindowRequested();

 private:
  // What the worker of an apply brings back.
  struct ApplyOutcome {
    RunResult run;
    bool dryRun = false;
    // The settings read back after a real run.
    std::optional<PowerSettings> settings;
  };

  Instant now() const { return clock_(); }
  void finishRefresh(Result<Loaded> result);
  void publish(Loaded loaded);
  void offerMorningNotification(const NightReport& night);
  void finishApply(const Review& review, ApplyOutcome outcome);
  void endApply(ApplyResult result);
  QString runFailureText(const RunFailure& failure) const;
  QString dryRunText(const FixPlan& plan) const;

  void setAnalysis(std::optional<SleepAnalysis> analysis);
  void setPowerSettings(std::optional<PowerSettings> settings);
  void setCapabilities(std::optional<PowerCapabilities> capabilities);
  void setFindings(std::vector<SettingFinding> findings);
  void setBattery(std::optional<BatteryHealth> battery);
  void setHistory(std::vector<ArchivedNight> history);
  void setState(LoadState state);
  void setLastRefresh(std::optional<Instant> date);

  AppSettings& settings_;
  std::shared_ptr<PrivilegedRunner> runner_;
  LoginItem& loginItem_;
  MorningNotifier* notifier_;
  Storage storage_;
  PowerDataSource source_;
  TimeZone timeZone_;
  Clock clock_;
  std::string pmsetPath_;
  std::string appVersion_;
  LogReader reader_;
  JournalReader systemJournal_;
  mutable std::optional<NightFormat> format_;

  std::optional<SleepAnalysis> analysis_;
  std::optional<PowerSettings> powerSettings_;
  std::optional<PowerCapabilities> capabilities_;
  std::vector<SettingFinding> findings_;
  std::optional<BatteryHealth> battery_;
  std::vector<ArchivedNight> history_;
  FixJournal journal_;
  std::optional<Page> page_;
  LoadState state_;
  std::optional<Instant> lastRefresh_;
  std::optional<Review> review_;
  std::optional<QString> notice_;
  std::optional<ApplyResult> lastApply_;

  bool applying_ = false;
  // The model's own two workers, so that a runner waiting on a password
  // prompt never holds up a refresh, however few processors there are.
  QThreadPool workers_;
  QFuture<void> loading_;
  QFuture<void> running_;
};

}  // namespace snoozlet

template <>
struct std::hash<snoozlet::AppModel::Page> {
  std::size_t operator()(const snoozlet::AppModel::Page& page) const noexcept {
    return std::hash<double>()(page.nightStart().value_or(0)) * 4 + static_cast<std::size_t>(page.kind());
  }
};
