#pragma once

// The review → apply → undo flow of setting changes, over the application
// model. It owns the privileged runner and the fix journal.
//
// reviewFixes / reviewUndo → `review` → applyReview:
//   1. the journal gains the change marked pending (or the undone record its
//      undo mark) and is saved, so a process that dies while the command runs
//      loses nothing an undo needs; a journal that cannot be saved stops here
//      and nothing runs;
//   2. the runner runs the plan on a worker thread (its password prompt may
//      wait on the user), and the settings are read back there;
//   3. on the main thread the pending mark is settled (kept, or dropped when
//      nothing ran), the journal saved again, the settings read back handed
//      to the model, and the outcome kept as a value (`lastOutcome`); the
//      model's notice tells it in the model's language.
// Pending marks a previous process left in the journal are settled from the
// settings the model publishes (or, without a refresh, read for the purpose).

#include "app/ModelTypes.h"
#include "presentation/SettingsRows.h"
#include "settings/ChangeOutcome.h"
#include "settings/FixJournal.h"
#include "settings/PrivilegedRunner.h"

#include <QFuture>
#include <QObject>
#include <QThreadPool>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace snoozlet {

class AppModel;

class ChangeController : public QObject {
  Q_OBJECT

 public:
  // The journal is loaded from the model's storage, when it has a journal.
  // The model must outlive the controller.
  ChangeController(AppModel& model, std::shared_ptr<PrivilegedRunner> runner, QObject* parent = nullptr);
  // Waits for a runner still at work; its result is dropped.
  ~ChangeController() override;

  const FixJournal& journal() const { return journal_; }
  const std::optional<Review>& review() const { return review_; }
  bool isApplying() const { return applying_; }
  bool isDryRun() const { return runner_->isDryRun(); }
  // How the last review ended; nothing before the first.
  const std::optional<ChangeOutcome>& lastOutcome() const { return lastOutcome_; }
  // What the review sheet of the pending review is built with.
  presentation::ReviewContext reviewContext() const;

  // Opens a review of the fixes against the model's settings (a Mac's fixes
  // against pmset's, a Linux laptop's against its own); nothing when the
  // settings they need are unknown or the plan changes nothing.
  void reviewFixes(const std::vector<FixID>& fixes, const std::vector<SystemFix>& system = {});
  // What reviewFixes would plan; nothing when the settings are unknown.
  std::optional<FixPlan> planFixes(const std::vector<FixID>& fixes, const std::vector<SystemFix>& system) const;
  // Opens a review putting a journal record's previous values back; nothing
  // for an unknown or already undone record.
  void reviewUndo(std::string_view recordId);
  // Runs the pending review (see above); applyFinished() follows. False, and
  // nothing happens, without a review or while one is being applied.
  bool applyReview();
  // Closes the review without running anything: the user said no.
  void declineReview();
  // Settles pending marks left by a process that ended mid-change, reading
  // the settings for it; true when the journal changed. Blocks on pmset.
  bool settlePending();

 signals:
  void reviewChanged();
  void journalChanged();
  // An apply ended; `lastOutcome` tells how.
  void applyFinished();

 private:
  // What the worker of an apply brings back.
  struct Run {
    RunResult result;
    // The settings read back after anything may have run.
    std::optional<PowerSettings> settings;
    // A Linux laptop's files read back, for a plan that changes them.
    std::optional<SystemValues> values{};
  };

  void setReview(std::optional<Review> review);
  void finishApply(const Review& review, const std::string& recordId, Run run);
  void end(ChangeOutcome outcome);
  // Saves the journal; the error's description when that failed.
  std::optional<std::string> save();
  void settle(const PowerSettings& settings);
  // Settles the pending records of a Linux laptop's changes from their files.
  void settleSystem();
  // Saves and announces the journal when settling changed it.
  void keepSettled(bool changed);

  AppModel& model_;
  std::shared_ptr<PrivilegedRunner> runner_;
  FixJournal journal_;
  std::optional<Review> review_;
  std::optional<ChangeOutcome> lastOutcome_;
  bool applying_ = false;
  // Its own worker, so that a runner waiting on a password prompt never holds
  // up a refresh, however few processors there are.
  QThreadPool worker_;
  QFuture<void> running_;
};

}  // namespace snoozlet
