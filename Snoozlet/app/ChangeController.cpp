#include "app/ChangeController.h"

#include "app/AppModel.h"
#include "common/Text.h"
#include "platform/linux/SystemSettingsReader.h"
#include "settings/FixPlanner.h"
#include "settings/HelperCommand.h"
#include "settings/PmsetCommand.h"
#include "settings/SystemFixes.h"

#include <QMetaObject>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace snoozlet {

namespace {

std::string newReviewId() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString(); }

// The settings as `pmset` reports them now; a failing read degrades as in a
// refresh (empty current text, absent custom text).
PowerSettings readSettings(const std::string& pmset) {
  const PowerDataSource source(pmset, nullptr);
  const auto current = source.text({"-g"});
  const auto custom = source.text({"-g", "custom"});
  return PowerSettings::parse(current ? std::string_view(current.value()) : std::string_view(),
                              custom ? std::optional<std::string_view>(custom.value()) : std::nullopt);
}

bool allHold(const std::map<std::string, bool>& applied) {
  return std::all_of(applied.begin(), applied.end(), [](const auto& entry) { return entry.second; });
}

// The Linux changes of the records still marked pending.
std::vector<SystemChange> pendingSystemChanges(const FixJournal& journal) {
  std::vector<SystemChange> out;
  for (const FixRecord& record : journal.records) {
    if (record.pending) out.insert(out.end(), record.system.begin(), record.system.end());
  }
  return out;
}

// What a dry run would have run: pmset's command lines, then the helper's.
std::string simulatedCommands(const FixPlan& plan, const std::string& pmset) {
  const auto lines = PmsetCommand::lines(plan, pmset);
  if (!lines) return lines.error().description();
  std::vector<std::string> all = lines.value();
  for (const SystemChange& change : plan.system) {
    const auto command = helper_command::commandText(change);
    all.push_back(command ? command.value() : command.error().description());
  }
  return text::join(all, " && ");
}

}  // namespace

ChangeController::ChangeController(AppModel& model, std::shared_ptr<PrivilegedRunner> runner, QObject* parent)
    : QObject(parent), model_(model), runner_(std::move(runner)) {
  worker_.setMaxThreadCount(1);
  if (const auto& file = model_.storage().journal) journal_ = FixJournal::load(*file);
  // Settings from pmset settle what a previous process left pending; a
  // journal source reads none, so settlePending() reads them when asked.
  connect(&model_, &AppModel::published, this, [this] {
    if (applying_) return;
    if (journal_.hasPending(false) && model_.nightSource() != NightSource::journal && model_.powerSettings()) {
      settle(*model_.powerSettings());
    }
    // A Linux laptop's files are read for the purpose: they are few and small.
    if (journal_.hasPending(true)) settleSystem();
  });
}

ChangeController::~ChangeController() {
  // The worker posts its result to this object; once it is done, destroying
  // the controller drops that post unread.
  running_.waitForFinished();
}

presentation::ReviewContext ChangeController::reviewContext() const {
  presentation::ReviewContext context;
  context.language = model_.language();
  context.pmsetPath = model_.pmsetPath();
  context.dryRun = runner_->isDryRun();
  context.asksPassword = runner_->asksPassword();
  context.undo = review_ && review_->undoing.has_value();
  context.source = model_.nightSource();
  context.journalProblem = journal_.problem();
  return context;
}

void ChangeController::setReview(std::optional<Review> review) {
  if (review_ == review) return;
  review_ = std::move(review);
  emit reviewChanged();
}

std::optional<FixPlan> ChangeController::planFixes(const std::vector<FixID>& fixes,
                                                   const std::vector<SystemFix>& system) const {
  FixPlan plan;
  if (!fixes.empty()) {
    const auto& settings = model_.powerSettings();
    const auto& capabilities = model_.capabilities();
    if (!settings || !capabilities) return std::nullopt;
    plan = FixPlanner::plan(fixes, *settings, *capabilities);
  }
  if (!system.empty()) {
    const auto& settings = model_.systemSettings();
    if (!settings) return std::nullopt;
    FixPlan laptop = SystemFixes::plan(system, *settings);
    plan.system = std::move(laptop.system);
    plan.systemSkipped = std::move(laptop.systemSkipped);
  }
  return plan;
}

void ChangeController::reviewFixes(const std::vector<FixID>& fixes, const std::vector<SystemFix>& system) {
  auto plan = planFixes(fixes, system);
  if (!plan || plan->empty()) return;
  setReview(Review{newReviewId(), std::move(*plan), std::nullopt});
}

void ChangeController::reviewUndo(std::string_view recordId) {
  auto plan = journal_.undoPlan(recordId);
  if (!plan) return;
  setReview(Review{newReviewId(), std::move(*plan), std::string(recordId)});
}

void ChangeController::declineReview() {
  if (!review_ || applying_) return;
  setReview(std::nullopt);
  lastOutcome_ = ChangeOutcome{};
}

std::optional<std::string> ChangeController::save() {
  const auto& file = model_.storage().journal;
  if (!file) return std::nullopt;
  if (const Status saved = journal_.save(*file, model_.now()); !saved) return saved.error().description();
  return std::nullopt;
}

bool ChangeController::applyReview() {
  if (applying_ || !review_) return false;
  const Review review = *review_;
  const bool dryRun = runner_->isDryRun();
  const FixJournal before = journal_;
  std::string recordId;
  if (review.undoing) {
    journal_.beginUndo(*review.undoing);
    recordId = *review.undoing;
  } else {
    recordId = journal_.begin(review.plan.changes, model_.now(), dryRun, review.plan.system);
  }
  applying_ = true;
  // Written down before anything runs; without the record an undo would be
  // impossible after a crash, so nothing runs without it.
  if (const auto error = save()) {
    journal_ = before;
    // Told as every outcome is, after this call returns.
    QMetaObject::invokeMethod(
        this,
        [this,
         outcome =
             ChangeOutcome{ChangeOutcome::Kind::notRecorded, review.undoing.has_value(), *error, {}, std::nullopt}] {
          applying_ = false;
          end(outcome);
        },
        Qt::QueuedConnection);
    return true;
  }
  emit journalChanged();
  // The runner blocks (an administrator prompt waits on the user), and so
  // does reading the settings back: both happen on the worker thread.
  running_ = QtConcurrent::run(
      &worker_,
      [this, runner = runner_, pmset = model_.pmsetPath(), root = model_.systemRoot(), review, recordId,
       dryRun]() mutable {
        Run run{runner->run(review.plan), std::nullopt};
        // Cancelled means nothing ran; a dry run changes nothing to read back.
        const bool cancelled = !run.result && run.result.error().kind == RunFailure::Kind::cancelled;
        if (!dryRun && !cancelled) {
          // A Linux laptop's plan is read back from its files, a Mac's from pmset.
          if (!review.plan.system.empty()) run.values = readSystemValues(root, review.plan.system);
          if (!review.plan.changes.empty() || review.plan.system.empty()) run.settings = readSettings(pmset);
        }
        QMetaObject::invokeMethod(
            this,
            [this, review = std::move(review), recordId = std::move(recordId), run = std::move(run)]() mutable {
              finishApply(review, recordId, std::move(run));
            },
            Qt::QueuedConnection);
      });
  return true;
}

void ChangeController::finishApply(const Review& review, const std::string& recordId, Run run) {
  applying_ = false;
  using Kind = ChangeOutcome::Kind;
  ChangeOutcome outcome{Kind::applied, review.undoing.has_value(), {}, {}, std::nullopt};
  if (!run.result) {
    const RunFailure& failure = run.result.error();
    outcome.kind = failure.kind == RunFailure::Kind::cancelled ? Kind::cancelled : Kind::failed;
    outcome.reason = failure.message;
    if (run.settings || run.values) {
      // A failure part of the way keeps what did run on record.
      if (run.settings) journal_.settle(*run.settings, model_.now());
      if (run.values) journal_.settle(*run.values, model_.now());
    } else {
      journal_.abandon(recordId);
    }
  } else {
    journal_.finish(recordId, model_.now());
    if (runner_->isDryRun()) {
      outcome.kind = Kind::simulated;
      // The command text names the pmset (and the helper) the runner would have run.
      outcome.commands = simulatedCommands(review.plan, model_.pmsetPath());
    } else {
      bool held = true;
      if (run.settings && !review.plan.changes.empty()) held = allHold(FixPlanner::stillApplied(review.plan, *run.settings));
      if (run.values) held = held && allHold(SystemFixes::stillApplied(review.plan.system, *run.values));
      if (run.settings || run.values) outcome.kind = held ? Kind::applied : Kind::didNotTake;
    }
  }
  outcome.journalError = save();
  emit journalChanged();
  if (run.settings) model_.adoptSettings(std::move(*run.settings));
  if (run.values) model_.adoptSystemValues(*run.values);
  end(std::move(outcome));
}

void ChangeController::end(ChangeOutcome outcome) {
  model_.setNotice(presentation::outcomeNotice(outcome, model_.language(), model_.nightSource()));
  setReview(std::nullopt);
  lastOutcome_ = std::move(outcome);
  emit applyFinished();
}

void ChangeController::settle(const PowerSettings& settings) { keepSettled(journal_.settle(settings, model_.now())); }

void ChangeController::settleSystem() {
  const std::vector<SystemChange> changes = pendingSystemChanges(journal_);
  keepSettled(journal_.settle(readSystemValues(model_.systemRoot(), changes), model_.now()));
}

void ChangeController::keepSettled(bool changed) {
  if (!changed) return;
  // A failed save leaves the marks in the file, to be settled again next time.
  (void)save();
  emit journalChanged();
}

bool ChangeController::settlePending() {
  if (applying_ || !journal_.hasPending()) return false;
  const FixJournal before = journal_;
  if (journal_.hasPending(false)) settle(readSettings(model_.pmsetPath()));
  if (journal_.hasPending(true)) settleSystem();
  return !(journal_ == before);
}

}  // namespace snoozlet
