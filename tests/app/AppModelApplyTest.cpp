// Reviewing, applying and undoing setting changes through the model.

#include "ModelHarness.h"

#include "platform/AdminPromptRunner.h"
#include "settings/DryRunRunner.h"
#include "settings/FixPlanner.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

namespace fs = std::filesystem;

const QString kDone = "Done. Snoozlet kept the previous values; you can undo this in Sleep settings.";
const QString kNotAccepted = "macOS didn’t accept every change. Nothing else was touched.";

// A runner that really changes the simulated Mac's settings: the shell runs
// the plan's pmset lines as the user, without a password prompt.
std::shared_ptr<testing::RecordingRunner> changingRunner(const testing::FakeMac& mac) {
  PkexecRunner::Options options;
  options.pmsetPath = mac.pmset();
  options.elevate = false;
  return std::make_shared<testing::RecordingRunner>(std::make_shared<PkexecRunner>(options));
}

TEST(AppModelApplyTest, ReviewNeedsKnownSettingsAndAChangeThenADryRunRecordsTheCommands) {
  testing::ModelHarness h;
  AppModel& model = h.make(std::make_shared<DryRunRunner>());
  QSignalSpy reviews(&model, &AppModel::reviewChanged);
  model.reviewFixes({FixID::powerNapOff});
  model.reviewUndo("2F1C8E53-0E5C-4D7B-9A36-4E0AFC5A2B11");

  ASSERT_TRUE(h.refresh());
  model.reviewFixes({FixID::wakeForNetworkOff});  // already set
  model.reviewFixes({});
  EXPECT_EQ(reviews.count(), 0) << "no review was offered";

  model.reviewFixes({FixID::tcpKeepAliveOff});
  ASSERT_TRUE(model.review());
  const std::string first = model.review()->id;
  EXPECT_EQ(first.size(), 36u);
  EXPECT_EQ(QString::fromStdString(first).toUpper().toStdString(), first);
  const std::vector<FixID> fixes{FixID::powerNapOff, FixID::tcpKeepAliveOff, FixID::wakeForNetworkOff};
  model.reviewFixes(fixes);
  ASSERT_TRUE(model.review());
  EXPECT_NE(model.review()->id, first);  // a new review every time
  EXPECT_EQ(model.review()->plan, FixPlanner::plan(fixes, *model.powerSettings(), *model.capabilities()));
  const AppModel::Review review = *model.review();

  model.declineReview();  // the user said no
  EXPECT_FALSE(model.review());
  EXPECT_EQ(model.lastApply(), (AppModel::ApplyResult{AppModel::ApplyResult::Kind::declined, true, {}}));

  // Applied after all, one apply at a time.
  const int reads = h.mac.count("-g");
  QSignalSpy finished(&model, &AppModel::applyFinished);
  EXPECT_TRUE(model.applyReview(review));
  EXPECT_TRUE(model.isApplying());
  EXPECT_FALSE(model.applyReview(review));
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_FALSE(model.isApplying());
  EXPECT_EQ(*model.notice(),
            QString::fromStdString("Dry run: nothing was changed. It would have run: " + h.mac.pmset() +
                                   " -b powernap 0 && " + h.mac.pmset() + " -b tcpkeepalive 0"));
  ASSERT_EQ(model.journal().records.size(), 1u);
  const FixRecord& record = model.journal().records.front();
  EXPECT_TRUE(record.dryRun);
  EXPECT_EQ(model.lastApply()->kind, AppModel::ApplyResult::Kind::simulated);
  EXPECT_TRUE(model.lastApply()->succeeded());
  EXPECT_EQ(record.changes, review.plan.changes);
  EXPECT_EQ(FixJournal::load(*model.storage().journal), model.journal());
  EXPECT_EQ(h.mac.count("-g"), reads) << "nothing ran, so nothing is read back";
}

TEST(AppModelApplyTest, AppliedChangeIsVerifiedRecordedAndUndone) {
  testing::ModelHarness h;
  auto runner = changingRunner(h.mac);
  AppModel& model = h.make(runner);
  ASSERT_TRUE(h.refresh());
  model.reviewFixes({FixID::powerNapOff});
  QSignalSpy findings(&model, &AppModel::findingsChanged), journal(&model, &AppModel::journalChanged),
      finished(&model, &AppModel::applyFinished);
  ASSERT_TRUE(model.applyReview(*model.review()));
  model.declineReview();  // too late: the change is running
  EXPECT_TRUE(model.review());
  ASSERT_TRUE(finished.wait(60000));

  EXPECT_EQ(model.lastApply(), (AppModel::ApplyResult{AppModel::ApplyResult::Kind::applied, true, kDone}));
  EXPECT_FALSE(model.review());
  EXPECT_EQ(model.powerSettings()->battery.at("powernap"), "0");
  EXPECT_EQ(findings.count(), 1);
  EXPECT_EQ(journal.count(), 1);
  ASSERT_EQ(model.journal().records.size(), 1u);
  const FixRecord record = model.journal().records.front();
  EXPECT_TRUE(record.isActive());

  h.now += 3600;
  model.reviewUndo(record.id);
  ASSERT_TRUE(model.review());
  ASSERT_TRUE(h.apply(*model.review()));
  EXPECT_EQ(model.powerSettings()->battery.at("powernap"), "1");
  ASSERT_EQ(model.journal().records.size(), 1u);
  EXPECT_EQ(model.journal().records.front().undoneAt, h.now);
  EXPECT_EQ(FixJournal::load(*model.storage().journal), model.journal());

  // An undone record has nothing more to undo.
  model.reviewUndo(record.id);
  EXPECT_FALSE(model.review());
}

TEST(AppModelApplyTest, FailuresAreToldAndOnlyAChangeThatRanIsRecorded) {
  testing::ModelHarness h;
  const fs::path journalFile = h.dir / "data" / "changes.json";
  FixJournal earlier;
  earlier.record({PlannedChange{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "1", "0"}}, 1700000000, false);
  ASSERT_TRUE(earlier.save(journalFile, 1700000000).ok());
  const std::string saved = testing::readFile(journalFile);

  using Kind = AppModel::ApplyResult::Kind;
  // A runner that runs nothing and succeeds: pmset did not take the change.
  for (const auto& [runner, text, kind] :
       {std::tuple{std::make_shared<testing::RecordingRunner>(), kNotAccepted, Kind::didNotTake},
        std::tuple{testing::RecordingRunner::failing(RunFailure::cancelled()), QString("Cancelled. Nothing was changed."),
                   Kind::cancelled},
        std::tuple{testing::RecordingRunner::failing(RunFailure::script("pmset: not permitted")),
                   QString("pmset: not permitted"), Kind::failed}}) {
    AppModel& model = h.make(runner);
    EXPECT_EQ(model.journal(), earlier);  // loaded at construction
    ASSERT_TRUE(h.refresh());
    model.reviewFixes({FixID::powerNapOff});
    ASSERT_TRUE(h.apply(*model.review()));
    EXPECT_EQ(model.lastApply(), (AppModel::ApplyResult{kind, true, text}));
    EXPECT_FALSE(model.lastApply()->succeeded());
    EXPECT_EQ(model.powerSettings()->battery.at("powernap"), "1");
    if (kind == Kind::didNotTake) {
      EXPECT_EQ(model.journal().records.size(), 2u) << "the change ran: it is recorded";
      ASSERT_TRUE(earlier.save(journalFile, 1700000000).ok());
    } else {
      EXPECT_EQ(model.journal(), earlier);
      EXPECT_EQ(testing::readFile(journalFile), saved);
    }
  }
}

TEST(AppModelApplyTest, JournalThatCannotBeSavedIsToldInTheNotice) {
  testing::ModelHarness h;
  // A folder that cannot be made: its parent is a regular file.
  testing::writeFile(h.dir / "blocker", "not a folder");
  AppModel::Storage storage{h.dir / "data" / "nights.sqlite", h.dir / "blocker" / "changes.json"};
  AppModel& model = h.make(changingRunner(h.mac), storage);
  ASSERT_TRUE(h.refresh());
  model.reviewFixes({FixID::powerNapOff});
  ASSERT_TRUE(h.apply(*model.review()));

  const QString notice = model.notice().value_or("");
  EXPECT_TRUE(notice.startsWith(kDone + " Snoozlet couldn’t record this change: ")) << notice.toStdString();
  EXPECT_TRUE(notice.contains(QString::fromStdString((h.dir / "blocker").string()))) << notice.toStdString();
  EXPECT_EQ(model.lastApply()->kind, AppModel::ApplyResult::Kind::applied);
  EXPECT_FALSE(model.lastApply()->journalSaved);
  EXPECT_FALSE(model.lastApply()->succeeded());
  EXPECT_EQ(model.journal().records.size(), 1u) << "the record is kept in memory";
}

}  // namespace
}  // namespace snoozlet
