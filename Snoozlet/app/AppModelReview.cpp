// The review, apply and undo flow of the application model.

#include "app/AppModel.h"

#include "common/Text.h"
#include "settings/FixPlanner.h"
#include "settings/PmsetCommand.h"
#include "settings/SettingsReport.h"

#include <QMetaObject>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace snoozlet {

namespace {

std::string newReviewId() { return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toStdString(); }

// The settings as pmset reports them now; a failing read degrades as in a
// refresh (empty current text, absent custom text).
PowerSettings readSettings(const PowerDataSource& source) {
  const auto current = source.text({"-g"});
  const auto custom = source.text({"-g", "custom"});
  return PowerSettings::parse(current ? std::string_view(current.value()) : std::string_view(),
                              custom ? std::optional<std::string_view>(custom.value()) : std::nullopt);
}

}  // namespace

void AppModel::reviewFixes(const std::vector<FixID>& fixes) {
  if (!powerSettings_ || !capabilities_) return;
  FixPlan plan = FixPlanner::plan(fixes, *powerSettings_, *capabilities_);
  if (plan.empty()) return;
  setReview(Review{newReviewId(), std::move(plan), std::nullopt});
}

void AppModel::reviewUndo(std::string_view recordId) {
  auto plan = journal_.undoPlan(recordId);
  if (!plan) return;
  setReview(Review{newReviewId(), std::move(*plan), std::string(recordId)});
}

bool AppModel::applyReview(Review review) {
  if (applying_) return false;
  applying_ = true;
  // The runner blocks (an administrator prompt waits on the user), and so
  // does reading the settings back: both happen on a worker thread.
  running_ =
      QtConcurrent::run(&workers_, [this, runner = runner_, source = source_, review = std::move(review)]() mutable {
        ApplyOutcome outcome{runner->run(review.plan), runner->isDryRun(), std::nullopt};
        if (outcome.run && !outcome.dryRun) outcome.settings = readSettings(source);
        QMetaObject::invokeMethod(
            this,
            [this, review = std::move(review), outcome = std::move(outcome)]() mutable {
              finishApply(review, std::move(outcome));
            },
            Qt::QueuedConnection);
      });
  return true;
}

void AppModel::declineReview() {
  if (!review_ || applying_) return;
  setReview(std::nullopt);
  lastApply_ = ApplyResult{ApplyResult::Kind::declined, true, {}};
}

void AppModel::endApply(ApplyResult result) {
  setNotice(result.notice);
  setReview(std::nullopt);
  lastApply_ = std::move(result);
  emit applyFinished();
}

void AppModel::finishApply(const Review& review, ApplyOutcome outcome) {
  applying_ = false;
  if (!outcome.run) {
    // Nothing ran, so the journal stays as it was.
    const bool cancelled = outcome.run.error().kind == RunFailure::Kind::cancelled;
    endApply({cancelled ? ApplyResult::Kind::cancelled : ApplyResult::Kind::failed, true,
              runFailureText(outcome.run.error())});
    return;
  }

  const Instant date = now();
  const FixJournal before = journal_;
  if (review.undoing) {
    journal_.markUndone(*review.undoing, date);
  } else {
    journal_.record(review.plan.changes, date, outcome.dryRun);
  }
  if (!(journal_ == before)) emit journalChanged();
  // The journal holds the only record of the values to put back once the
  // application quits, so a failed save is told, not swallowed.
  std::optional<QString> unsaved;
  if (storage_.journal) {
    if (const Status saved = journal_.save(*storage_.journal, date); !saved) {
      unsaved = QString::fromStdString(saved.error().description());
    }
  }

  ApplyResult result{ApplyResult::Kind::simulated, !unsaved, {}};
  if (outcome.dryRun) {
    result.notice = dryRunText(review.plan);
  } else {
    const PowerSettings& settings = *outcome.settings;
    const auto applied = FixPlanner::stillApplied(review.plan, settings);
    const bool allTook = std::all_of(applied.begin(), applied.end(), [](const auto& entry) { return entry.second; });
    setPowerSettings(settings);
    setFindings(SettingsReport::findings(settings, language()));
    result.kind = allTook ? ApplyResult::Kind::applied : ApplyResult::Kind::didNotTake;
    result.notice = allTook ? tr("Done. Snoozlet kept the previous values; you can undo this in Sleep settings.")
                            : tr("macOS didn’t accept every change. Nothing else was touched.");
  }
  if (unsaved) result.notice += QStringLiteral(" ") + tr("Snoozlet couldn’t record this change: %1").arg(*unsaved);
  endApply(std::move(result));
}

QString AppModel::runFailureText(const RunFailure& failure) const {
  if (failure.kind == RunFailure::Kind::cancelled) return tr("Cancelled. Nothing was changed.");
  return QString::fromStdString(failure.description());
}

QString AppModel::dryRunText(const FixPlan& plan) const {
  // The command text names the pmset this model reads, the one the runner
  // would have run.
  const auto lines = PmsetCommand::lines(plan, pmsetPath_);
  const std::string commands = lines ? text::join(lines.value(), " && ") : lines.error().description();
  return tr("Dry run: nothing was changed. It would have run: %1").arg(QString::fromStdString(commands));
}

}  // namespace snoozlet
