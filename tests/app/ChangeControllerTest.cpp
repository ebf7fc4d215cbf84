// Reviewing, applying and undoing setting changes through the change
// controller: the journal written before anything runs, outcomes as values,
// and changes a dead process left pending.

#include "ModelHarness.h"

#include "app/Launch.h"
#include "platform/AdminPromptRunner.h"
#include "presentation/SettingsRows.h"
#include "settings/DryRunRunner.h"
#include "settings/FixPlanner.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <unistd.h>

namespace snoozlet {
namespace {

namespace fs = std::filesystem;
using Kind = ChangeOutcome::Kind;

// A runner that really changes the simulated Mac's settings: the shell runs
// the plan's pmset lines as the user, without a password prompt.
std::shared_ptr<testing::RecordingRunner> changingRunner(const testing::FakeMac& mac) {
  PkexecRunner::Options options;
  options.pmsetPath = mac.pmset();
  options.elevate = false;
  return std::make_shared<testing::RecordingRunner>(std::make_shared<PkexecRunner>(options));
}

std::string notice(const ChangeController& changes) {
  return presentation::outcomeNotice(*changes.lastOutcome(), Language::english).value_or("");
}

TEST(ChangeControllerTest, ReviewNeedsKnownSettingsAndAChangeThenADryRunRecordsTheCommands) {
  testing::ModelHarness h;
  AppModel& model = h.make(std::make_shared<DryRunRunner>());
  ChangeController& changes = *h.changes;
  QSignalSpy reviews(&changes, &ChangeController::reviewChanged);
  changes.reviewFixes({FixID::powerNapOff});
  changes.reviewUndo("2F1C8E53-0E5C-4D7B-9A36-4E0AFC5A2B11");
  EXPECT_FALSE(changes.applyReview()) << "nothing to apply";

  ASSERT_TRUE(h.refresh());
  changes.reviewFixes({FixID::wakeForNetworkOff});  // already set
  changes.reviewFixes({});
  EXPECT_EQ(reviews.count(), 0) << "no review was offered";

  changes.reviewFixes({FixID::tcpKeepAliveOff});
  ASSERT_TRUE(changes.review());
  const std::string first = changes.review()->id;
  EXPECT_EQ(first.size(), 36u);
  EXPECT_EQ(QString::fromStdString(first).toUpper().toStdString(), first);
  const std::vector<FixID> fixes{FixID::powerNapOff, FixID::tcpKeepAliveOff, FixID::wakeForNetworkOff};
  changes.reviewFixes(fixes);
  ASSERT_TRUE(changes.review());
  EXPECT_NE(changes.review()->id, first);  // a new review every time
  EXPECT_EQ(changes.review()->plan, FixPlanner::plan(fixes, *model.powerSettings(), *model.capabilities()));
  const Review review = *changes.review();

  changes.declineReview();  // the user said no
  EXPECT_FALSE(changes.review());
  EXPECT_EQ(changes.lastOutcome(), ChangeOutcome{});
  EXPECT_FALSE(presentation::outcomeNotice(ChangeOutcome{}, Language::english)) << "a declined review says nothing";

  // Applied after all, one apply at a time.
  changes.reviewFixes(fixes);
  const int reads = h.mac.count("-g");
  QSignalSpy finished(&changes, &ChangeController::applyFinished);
  EXPECT_TRUE(changes.applyReview());
  EXPECT_TRUE(changes.isApplying());
  EXPECT_FALSE(changes.applyReview());
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_FALSE(changes.isApplying());
  EXPECT_EQ(notice(changes), "Dry run: nothing was changed. It would have run: " + h.mac.pmset() +
                                 " -b powernap 0 && " + h.mac.pmset() + " -b tcpkeepalive 0");
  EXPECT_EQ(model.notice(), notice(changes)) << "the model shows the same notice";
  ASSERT_EQ(changes.journal().records.size(), 1u);
  const FixRecord& record = changes.journal().records.front();
  EXPECT_TRUE(record.dryRun);
  EXPECT_FALSE(record.pending);
  EXPECT_EQ(changes.lastOutcome()->kind, Kind::simulated);
  EXPECT_TRUE(changes.lastOutcome()->succeeded());
  EXPECT_EQ(record.changes, review.plan.changes);
  EXPECT_EQ(FixJournal::load(*model.storage().journal), changes.journal());
  EXPECT_EQ(h.mac.count("-g"), reads) << "nothing ran, so nothing is read back";
}

TEST(ChangeControllerTest, AppliedChangeIsWrittenDownBeforeItRunsVerifiedAndUndone) {
  testing::ModelHarness h;
  AppModel& model = h.make();
  // The runner looks at the journal file while the change runs: it must already hold the change.
  std::optional<FixJournal> duringTheRun;
  const fs::path file = h.dir / "data" / "changes.json";
  auto runner = changingRunner(h.mac);
  runner->onRun = [&] { duringTheRun = FixJournal::load(file); };
  h.changes = std::make_unique<ChangeController>(model, runner);
  ChangeController& changes = *h.changes;
  ASSERT_TRUE(h.refresh());
  changes.reviewFixes({FixID::powerNapOff});
  QSignalSpy findings(&model, &AppModel::findingsChanged), finished(&changes, &ChangeController::applyFinished);
  ASSERT_TRUE(changes.applyReview());
  changes.declineReview();  // too late: the change is running
  EXPECT_TRUE(changes.review());
  ASSERT_TRUE(finished.wait(60000));

  ASSERT_TRUE(duringTheRun);
  ASSERT_EQ(duringTheRun->records.size(), 1u);
  EXPECT_EQ(duringTheRun->records[0].pending, FixRecord::Pending::change);
  EXPECT_EQ(duringTheRun->records[0].changes[0].previous, "1") << "with the value an undo needs";
  EXPECT_EQ(changes.lastOutcome()->kind, Kind::applied);
  EXPECT_EQ(notice(changes), "Done. Snoozlet kept the previous values; you can undo this in Sleep settings.");
  EXPECT_FALSE(changes.review());
  EXPECT_EQ(model.powerSettings()->battery.at("powernap"), "0");
  EXPECT_EQ(findings.count(), 1);
  ASSERT_EQ(changes.journal().records.size(), 1u);
  const FixRecord record = changes.journal().records.front();
  EXPECT_TRUE(record.isActive());
  EXPECT_EQ(FixJournal::load(file), changes.journal()) << "saved without the mark";

  h.now += 3600;
  changes.reviewUndo(record.id);
  ASSERT_TRUE(changes.review());
  ASSERT_TRUE(h.apply());
  EXPECT_EQ(duringTheRun->records[0].pending, FixRecord::Pending::undo);
  EXPECT_EQ(model.powerSettings()->battery.at("powernap"), "1");
  EXPECT_EQ(notice(changes), "Done. These settings are back to what they were before Snoozlet changed them.");
  ASSERT_EQ(changes.journal().records.size(), 1u);
  EXPECT_EQ(changes.journal().records.front().undoneAt, h.now);
  EXPECT_EQ(FixJournal::load(file), changes.journal());

  // An undone record has nothing more to undo.
  changes.reviewUndo(record.id);
  EXPECT_FALSE(changes.review());
}

TEST(ChangeControllerTest, FailuresAreToldAndOnlyWhatRanIsRecorded) {
  testing::ModelHarness h;
  const fs::path journalFile = h.dir / "data" / "changes.json";
  FixJournal earlier;
  earlier.record({PlannedChange{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "1", "0"}}, 1700000000, false);
  ASSERT_TRUE(earlier.save(journalFile, 1700000000).ok());
  const std::string saved = testing::readFile(journalFile);

  // A runner that runs nothing and succeeds: pmset did not take the change.
  for (const auto& [runner, text, kind] :
       {std::tuple{std::make_shared<testing::RecordingRunner>(),
                   std::string("macOS didn’t accept every change. Nothing else was touched."), Kind::didNotTake},
        std::tuple{testing::RecordingRunner::failing(RunFailure::cancelled()),
                   std::string("Cancelled. Nothing was changed."), Kind::cancelled},
        std::tuple{testing::RecordingRunner::failing(RunFailure::script("pmset: not permitted")),
                   std::string("pmset: not permitted"), Kind::failed}}) {
    h.make(runner);
    EXPECT_EQ(h.changes->journal(), earlier);  // loaded at construction
    ASSERT_TRUE(h.refresh());
    h.changes->reviewFixes({FixID::powerNapOff});
    ASSERT_TRUE(h.apply());
    EXPECT_EQ(h.changes->lastOutcome()->kind, kind);
    EXPECT_EQ(notice(*h.changes), text);
    EXPECT_FALSE(h.changes->lastOutcome()->succeeded());
    EXPECT_EQ(h.model->powerSettings()->battery.at("powernap"), "1");
    if (kind == Kind::didNotTake) {
      EXPECT_EQ(h.changes->journal().records.size(), 2u) << "the change ran: it is recorded";
      ASSERT_TRUE(earlier.save(journalFile, 1700000000).ok());
    } else {
      EXPECT_EQ(h.changes->journal(), earlier);
      EXPECT_EQ(testing::readFile(journalFile), saved);
    }
  }
}

TEST(ChangeControllerTest, NothingRunsWhenTheChangeCannotBeWrittenDownFirst) {
  testing::ModelHarness h;
  // A folder that cannot be made: its parent is a regular file.
  testing::writeFile(h.dir / "blocker", "not a folder");
  auto runner = changingRunner(h.mac);
  h.make(runner, Storage{h.dir / "data" / "nights.sqlite", h.dir / "blocker" / "changes.json"});
  ASSERT_TRUE(h.refresh());
  h.changes->reviewFixes({FixID::powerNapOff});
  ASSERT_TRUE(h.apply());

  EXPECT_EQ(h.changes->lastOutcome()->kind, Kind::notRecorded);
  EXPECT_TRUE(runner->plans().empty()) << "nothing ran";
  EXPECT_EQ(h.mac.count("-b powernap 0"), 0);
  EXPECT_TRUE(h.changes->journal().records.empty());
  const std::string text = notice(*h.changes);
  EXPECT_TRUE(text.starts_with("Nothing was changed: Snoozlet couldn’t write the change down first")) << text;
  EXPECT_NE(text.find((h.dir / "blocker").string()), std::string::npos) << text;
  EXPECT_FALSE(h.changes->review());
}

TEST(ChangeControllerTest, ChangesADeadProcessLeftPendingAreSettledFromTheValuesInForce) {
  testing::ModelHarness h;
  const fs::path file = h.dir / "data" / "changes.json";
  // Three records a killed process left behind: a change that ran (powernap is 0 now), one that never ran
  // (tcpkeepalive is still 1), and the undo of a change that did run (proximitywake is back to 1).
  h.mac.change("-b", "powernap", "0");
  FixJournal left;
  const std::string ran = left.begin({{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"}}, 100, false);
  left.begin({{FixID::tcpKeepAliveOff, "tcpkeepalive", PowerScope::battery, "1", "0"}}, 200, false);
  const FixRecord undone =
      left.record({{FixID::proximityWakeOff, "proximitywake", PowerScope::battery, "1", "0"}}, 300, false);
  ASSERT_TRUE(left.beginUndo(undone.id));
  FixJournal none;
  ASSERT_TRUE(none.save(file, 400).ok());

  // Nothing pending: settling reads nothing.
  h.make();
  const int reads = h.mac.count("-g");
  EXPECT_FALSE(h.changes->settlePending());
  EXPECT_EQ(h.mac.count("-g"), reads);
  ASSERT_TRUE(left.save(file, 400).ok());
  EXPECT_NE(testing::readFile(file).find("\"pending\": \"change\""), std::string::npos);
  h.make();
  EXPECT_TRUE(h.changes->journal().hasPending());
  ASSERT_TRUE(h.refresh());  // the settings the refresh reads settle them
  const FixJournal& journal = h.changes->journal();
  EXPECT_FALSE(journal.hasPending());
  ASSERT_EQ(journal.records.size(), 2u) << "the change that never ran is gone";
  EXPECT_EQ(journal.records[0].id, ran);
  EXPECT_TRUE(journal.records[0].isActive()) << "the change that ran can be undone";
  EXPECT_EQ(journal.records[1].undoneAt, h.now) << "the undo that ran is done";
  EXPECT_EQ(FixJournal::load(file), journal) << "and the file says so";
}

TEST(ChangeControllerTest, ChangesToAPmsetOfTheSystemAskForThePasswordExceptAsRoot) {
  const FixPlan plan{{{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"}}, {}};
  const auto runner = std::dynamic_pointer_cast<PkexecRunner>(makeRunner("/bin/echo", false));
  ASSERT_TRUE(runner);
  const auto command = runner->commandLine(plan);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->front(), ::geteuid() == 0 ? "/bin/sh" : "pkexec");
  EXPECT_TRUE(makeRunner("/bin/echo", true)->isDryRun());
}

TEST(ChangeControllerTest, ALinuxLaptopsChangeGoesThroughTheHelperAndIsReadBackFromItsFilesNotFromPmset) {
  testing::ModelHarness h;
  const fs::path root = h.dir / "root", folder = h.dir / "journal";
  fs::copy(testing::fixturePath("system/thinkpad-s2idle"), root,
           fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  testing::writeJournal(folder / "system.journal",
                        testing::readFile(testing::fixturePath("journal/laptop-s2idle-week.export")));
  const testing::ScopedEnv helper("SNOOZLET_HELPER", testing::builtProgram("Snoozlet/snoozlet-helper").c_str());
  AppModel::Options options;
  options.clock = [] { return 1796400000.0; };
  options.systemRoot = SystemRoot(root);
  options.pmsetPath = h.mac.pmset();
  h.model = std::make_unique<AppModel>(h.settings, nullptr, Storage::in(h.dir / "data"),
                                       PowerDataSource::journal({folder, folder}, nullptr), options);
  h.changes = std::make_unique<ChangeController>(
      *h.model, makeLaptopRunner(makeRunner(h.mac.pmset(), false), SystemRoot(root)));
  ASSERT_TRUE(h.refresh());
  ASSERT_EQ(h.model->systemSettings()->memSleep, "s2idle");

  h.changes->reviewFixes({}, {{SystemFix::Kind::deepSleep, {}}});
  const int reads = h.mac.count("-g");
  ASSERT_TRUE(h.apply());
  EXPECT_EQ(h.changes->lastOutcome()->kind, Kind::applied) << h.changes->lastOutcome()->reason;
  EXPECT_EQ(h.model->systemSettings()->memSleep, "deep") << "read back from the laptop's own file";
  EXPECT_EQ(testing::readFile(root / "sys/power/mem_sleep"), "s2idle [deep]\n");
  EXPECT_EQ(h.mac.count("-g"), reads) << "a laptop's change asks no pmset";
  ASSERT_EQ(h.changes->journal().records.size(), 1u);
  EXPECT_EQ(h.changes->journal().records[0].system.at(0).previous, "s2idle");
}

}  // namespace
}  // namespace snoozlet
