// The main window's sidebar and pages, and the fix review, for the states
// worth checking: only naps, no battery, an empty archive, every change
// undone, a notable change, an undo, a dry run, cancel and confirm.

#include "../app/Recorders.h"
#include "ViewTesting.h"
#include "views/BatteryPage.h"
#include "views/FixReviewView.h"
#include "views/HistoryPage.h"
#include "views/MainView.h"
#include "views/NightPage.h"
#include "views/SettingsPage.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTest>

#include <gtest/gtest.h>

namespace snoozlet::views {
namespace {

using preview::Contents;
using preview::PreviewModel;
using testing::labelTexts;

QStringList rowTexts(const Sidebar& sidebar) {
  QStringList texts;
  QListWidget* list = sidebar.list();
  for (int i = 0; i < list->count(); ++i) {
    QWidget* row = list->itemWidget(list->item(i));
    texts << (row ? labelTexts(*row).join(" ") : list->item(i)->text());
  }
  return texts;
}

TEST(MainViewTest, SidebarFollowsTheModelAndTheHistoryTableSortsByRawValues) {
  Contents contents = Contents::of(preview::week(Mood::restless));
  contents.history = preview::archivedNights(30);
  PreviewModel preview(contents);
  AppModel& model = preview.model();
  MainView view(model);
  view.show();
  const QStringList rows = rowTexts(*view.sidebar());
  EXPECT_EQ(rows.front(), "Nights");
  EXPECT_TRUE(rows.contains("Sat 5 Dec 1.1/h")) << rows.join(" | ").toStdString();
  EXPECT_TRUE(rows.contains("History 30 sleeps"));
  EXPECT_FALSE(rows.contains("Daytime naps"));
  EXPECT_TRUE(qobject_cast<NightPage*>(view.currentPage()));

  // Up from the latest night selects the night before it; the page follows.
  QListWidget* list = view.sidebar()->list();
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Up);
  const auto nights = model.analysis()->nights();
  EXPECT_EQ(model.page(), AppModel::Page::night(nights[nights.size() - 2].start()));
  // Chosen elsewhere (the popover): the selection follows.
  model.setPage(AppModel::Page::history());
  auto* history = qobject_cast<HistoryPage*>(view.currentPage());
  ASSERT_NE(history, nullptr);
  EXPECT_TRUE(labelTexts(*list->itemWidget(list->currentItem())).contains("History"));

  HistoryTableModel* table = history->tableModel();
  QAbstractItemModelTester tester(table, QAbstractItemModelTester::FailureReportingMode::Warning);
  ASSERT_EQ(table->rowCount(), 30);
  EXPECT_EQ(table->data(table->index(0, 0), Qt::DisplayRole).toString(), "Sat 5 Dec");
  // Sorting by wakes uses the count, not its text ("308" after "65").
  QSortFilterProxyModel sorted;
  sorted.setSourceModel(table);
  sorted.setSortRole(HistoryTableModel::kSortRole);
  sorted.sort(HistoryTableModel::wakes, Qt::DescendingOrder);
  const int most = sorted.data(sorted.index(0, HistoryTableModel::wakes), HistoryTableModel::kSortRole).toInt();
  for (int row = 1; row < sorted.rowCount(); ++row) {
    EXPECT_LE(sorted.data(sorted.index(row, HistoryTableModel::wakes), HistoryTableModel::kSortRole).toInt(), most);
  }
  EXPECT_GT(most, 100);

  model.setPage(AppModel::Page::battery());
  EXPECT_TRUE(qobject_cast<BatteryPage*>(view.currentPage()));
}

TEST(MainViewTest, OnlyNapsNoBatteryAndAnEmptyArchive) {
  DemoLog::Night nap = testing::demoNight({{std::string(DemoLog::wifi), 2, 10}});
  nap.start.hour = 12;
  nap.hours = 2.5;  // reported from two hours on
  Contents contents = Contents::of({nap});
  contents.battery = false;
  contents.history = std::vector<ArchivedNight>{};
  PreviewModel preview(contents);
  MainView view(preview.model());
  const QStringList rows = rowTexts(*view.sidebar());
  EXPECT_FALSE(rows.contains("Nights"));
  EXPECT_TRUE(rows.contains("Daytime naps")) << rows.join(" | ").toStdString();
  EXPECT_TRUE(rows.contains("Battery ")) << "no capacity detail without a battery";

  BatteryPage battery(preview.model());
  const QStringList texts = labelTexts(*battery.widget());
  EXPECT_TRUE(texts.contains("This Mac has no battery, so there’s no overnight drain to explain."));
  EXPECT_EQ(texts.size(), 3) << "title, subtitle and the sentence only: " << texts.join(" | ").toStdString();

  HistoryPage history(preview.model());
  EXPECT_TRUE(labelTexts(*history.widget()).contains("The first nights will appear here tomorrow morning."));
  EXPECT_EQ(history.tableModel()->rowCount(), 0);
}

TEST(MainViewTest, ChangesListAndItsUndo) {
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  AppModel& model = preview.model();
  SettingsPage page(model);
  EXPECT_NE(page.widget()->findChild<QLabel*>("nothingYet"), nullptr);
  EXPECT_NE(page.widget()->findChild<QPushButton*>("fix-powerNapOff"), nullptr);

  preview.apply({FixID::powerNapOff});
  const std::string id = model.journal().records.front().id;
  EXPECT_TRUE(labelTexts(*page.widget()).join(" ").contains("dry run, nothing changed"));
  QTest::mouseClick(&testing::child<QPushButton>(*page.widget(), QString::fromStdString("undo-" + id)), Qt::LeftButton);
  ASSERT_TRUE(model.review());
  // The preview's runner is a dry run: the review simulates, and says so.
  FixReviewView review(model, *model.review());
  EXPECT_NE(review.findChild<QLabel*>("dryRun"), nullptr);

  QSignalSpy finished(&model, &AppModel::applyFinished);
  ASSERT_TRUE(model.applyReview(*model.review()));
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_NE(page.widget()->findChild<QLabel*>("nothingYet"), nullptr);
  EXPECT_EQ(page.widget()->findChild<QPushButton*>(QString::fromStdString("undo-" + id)), nullptr);
}

TEST(MainViewTest, ReviewAsksForTheAcknowledgementOnlyForANotableChange) {
  auto runner = std::make_shared<testing::RecordingRunner>();
  Contents contents = Contents::of(preview::week(Mood::restless));
  contents.runner = runner;
  PreviewModel preview(contents);
  AppModel& model = preview.model();
  model.reviewFixes({FixID::tcpKeepAliveOff});
  FixReviewView review(model, *model.review());
  ASSERT_NE(review.acknowledgement(), nullptr);
  EXPECT_FALSE(review.confirmButton()->isEnabled());
  review.acknowledgement()->setChecked(true);
  EXPECT_TRUE(review.confirmButton()->isEnabled());

  // Confirmed: both buttons wait, the runner gets the plan exactly once.
  QSignalSpy finished(&model, &AppModel::applyFinished);
  QTest::mouseClick(review.confirmButton(), Qt::LeftButton);
  EXPECT_TRUE(review.isWorking());
  EXPECT_FALSE(review.confirmButton()->isEnabled());
  EXPECT_FALSE(review.cancelButton()->isEnabled());
  QTest::mouseClick(review.confirmButton(), Qt::LeftButton);
  ASSERT_TRUE(finished.wait(10000));
  ASSERT_EQ(runner->plans().size(), 1u);
  EXPECT_EQ(runner->plans()[0].changes[0].fix, FixID::tcpKeepAliveOff);
  EXPECT_EQ(review.result(), QDialog::Accepted);

  // The undo of that notable change asks nothing.
  model.reviewUndo(model.journal().records.front().id);
  FixReviewView undo(model, *model.review());
  EXPECT_EQ(undo.acknowledgement(), nullptr);
  EXPECT_TRUE(undo.confirmButton()->isEnabled());
  EXPECT_EQ(undo.confirmButton()->text(), "Undo with Password…");

  // Cancel runs nothing.
  QTest::mouseClick(undo.cancelButton(), Qt::LeftButton);
  EXPECT_EQ(runner->plans().size(), 1u);
  EXPECT_EQ(model.lastApply()->kind, AppModel::ApplyResult::Kind::declined);
}

}  // namespace
}  // namespace snoozlet::views
