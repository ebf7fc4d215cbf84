// The main window's sidebar, its navigator and its pages, and the fix
// review, for the states worth checking: the first load, only naps, no
// battery, an empty archive, a history the user sorted before a refresh,
// every change undone, a notable change, an undo, a dry run, cancel and
// confirm.

#include "../app/Recorders.h"
#include "ViewTesting.h"
#include "views/BatteryPage.h"
#include "views/FixReviewView.h"
#include "views/HistoryPage.h"
#include "views/MainView.h"
#include "views/Navigator.h"
#include "views/NightPage.h"
#include "views/SettingsPage.h"
#include "views/Sidebar.h"
#include "views/Theme.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace snoozlet::views {
namespace {

using preview::Contents;
using preview::PreviewModel;
using testing::labelTexts;

// The sidebar's rows as a screen reader and type-ahead see them: the display text and the detail.
QStringList rowTexts(const Sidebar& sidebar) {
  QStringList texts;
  const SidebarModel& rows = *sidebar.rows();
  for (int i = 0; i < rows.rowCount(); ++i) {
    const QModelIndex index = rows.index(i);
    texts << (index.data().toString() + " " + index.data(SidebarModel::detailRole).toString()).trimmed();
  }
  return texts;
}

struct Window {
  explicit Window(PreviewModel& preview)
      : navigator(preview.model()), view(preview.model(), preview.changes(), navigator) {}
  Navigator navigator;
  MainView view;
};

TEST(MainViewTest, SidebarRowsHaveWordsFollowTheNavigatorAndOnlyTheUserChoosesAPage) {
  Contents contents = Contents::of(preview::week(Mood::restless));
  contents.history = preview::archivedNights(30);
  PreviewModel preview(contents);
  AppModel& model = preview.model();
  Window window(preview);
  window.view.show();
  const Sidebar& sidebar = *window.view.sidebar();
  QAbstractItemModelTester tester(sidebar.rows());
  const QStringList rows = rowTexts(sidebar);
  EXPECT_EQ(rows.front(), "Nights");
  EXPECT_TRUE(rows.contains("Sat 5 Dec 1.1/h")) << rows.join(" | ").toStdString();
  EXPECT_TRUE(rows.contains("History 30 sleeps"));
  EXPECT_FALSE(rows.contains("Daytime naps"));
  EXPECT_TRUE(qobject_cast<NightPage*>(window.view.currentPage()));
  // Every row a reader can land on has words; the night's say its mood too; headers are not chosen.
  for (int i = 0; i < sidebar.rows()->rowCount(); ++i) {
    const QModelIndex index = sidebar.rows()->index(i);
    EXPECT_FALSE(index.data(Qt::AccessibleTextRole).toString().isEmpty()) << i;
  }
  EXPECT_EQ(sidebar.rows()->index(rows.indexOf("Sat 5 Dec 1.1/h")).data(Qt::AccessibleTextRole).toString(),
            "Sat 5 Dec, Restless, battery 1.1/h");
  EXPECT_FALSE(sidebar.rows()->flags(sidebar.rows()->index(0)) & Qt::ItemIsSelectable);

  // Up from the latest night selects the night before it; the page follows.
  QListView* list = sidebar.list();
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Up);
  const auto nights = model.analysis()->nights();
  EXPECT_EQ(window.navigator.page(), Page::night(nights[nights.size() - 2].start()));
  // Home and End skip the header to the first night and the last page; type-ahead finds a page by its words.
  QTest::keyClick(list, Qt::Key_Home);
  EXPECT_EQ(window.navigator.page(), Page::night(nights.front().start()));
  QTest::keyClick(list, Qt::Key_End);
  EXPECT_EQ(window.navigator.page(), Page::history());
  QTest::keyClicks(list, "Bat");
  EXPECT_EQ(window.navigator.page(), Page::battery());
  EXPECT_TRUE(qobject_cast<BatteryPage*>(window.view.currentPage()));
  // Chosen elsewhere (the popover): the selection follows.
  window.navigator.choose(Page::settings());
  EXPECT_EQ(list->currentIndex().data().toString(), "Sleep settings");
  EXPECT_TRUE(qobject_cast<SettingsPage*>(window.view.currentPage()));
}

TEST(MainViewTest, AWindowOpenedDuringTheFirstLoadShowsLastNightOnceItIsRead) {
  Contents launch;
  launch.publish = false;
  PreviewModel preview(launch);
  Window window(preview);
  window.view.show();
  window.view.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window.view));
  // The list takes the focus while there are no nights: it makes a row current, but chooses nothing.
  window.view.sidebar()->list()->setFocus(Qt::TabFocusReason);
  EXPECT_FALSE(window.navigator.page());
  EXPECT_EQ(labelTexts(*window.view.currentPage()).first(), "Reading last night’s log…");

  preview.publish(Contents::of(preview::week(Mood::restless)));
  EXPECT_EQ(window.navigator.page(), Page::night(preview.model().latestNight()->start()));
  EXPECT_TRUE(qobject_cast<NightPage*>(window.view.currentPage()));
}

TEST(MainViewTest, NavigatorFollowsTheLatestNightUntilTheUserChoosesAndFallsBackFromAVanishedNight) {
  Contents launch;
  launch.publish = false;
  PreviewModel preview(launch);
  Navigator navigator(preview.model());
  EXPECT_FALSE(navigator.page());
  EXPECT_FALSE(navigator.isValid(std::nullopt));
  preview.publish(Contents{});
  EXPECT_EQ(navigator.page(), Page::settings()) << "no night: sleep settings";

  auto week = preview::week(Mood::restless);
  preview.publish(Contents::of({week.begin(), week.end() - 1}));
  const Instant sixth = preview.model().latestNight()->start();
  EXPECT_EQ(navigator.page(), Page::night(sixth));
  preview.publish(Contents::of(week));
  const Instant seventh = preview.model().latestNight()->start();
  EXPECT_EQ(navigator.page(), Page::night(seventh)) << "not chosen: the newest night";

  // A chosen night stays while it is there; the other pages always do.
  navigator.choose(Page::night(sixth));
  preview.publish(Contents::of(week));
  EXPECT_EQ(navigator.selectedNight()->start(), sixth);
  navigator.choose(Page::night(sixth + 1));
  EXPECT_FALSE(navigator.isValid(navigator.page()));
  EXPECT_EQ(navigator.selectedNight()->start(), seventh) << "meanwhile the latest";
  preview.publish(Contents::of(week));
  EXPECT_EQ(navigator.page(), Page::night(seventh));
  navigator.choose(Page::history());
  preview.publish(Contents::of(week));
  EXPECT_EQ(navigator.page(), Page::history());
  EXPECT_EQ(navigator.selectedNight(), nullptr);
}

TEST(MainViewTest, HistoryKeepsItsSortScrollAndSelectionOverARefresh) {
  Contents contents = Contents::of(preview::week(Mood::restless));
  contents.history = preview::archivedNights(60);
  PreviewModel preview(contents);
  HistoryPage page(preview.model());
  page.resize(900, 700);
  page.show();
  QAbstractItemModelTester tester(page.tableModel());
  QTableView* view = page.tableView();
  QSortFilterProxyModel* sorted = page.sortedModel();
  // Sorting by wakes uses the count, not its text ("308" after "65").
  view->sortByColumn(HistoryTableModel::wakes, Qt::AscendingOrder);
  for (int row = 1; row < sorted->rowCount(); ++row) {
    EXPECT_LE(sorted->index(row - 1, HistoryTableModel::wakes).data(HistoryTableModel::kSortRole).toInt(),
              sorted->index(row, HistoryTableModel::wakes).data(HistoryTableModel::kSortRole).toInt());
  }
  view->selectRow(30);
  const QString selected = view->currentIndex().siblingAtColumn(HistoryTableModel::night).data().toString();
  view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
  const int scroll = view->verticalScrollBar()->value();

  // The next morning: a new night archived, the oldest dropped, one night's figures changed.
  std::vector<ArchivedNight> next = preview::archivedNights(60);
  ArchivedNight newer = next.front();
  newer.start += 86400;
  newer.end += 86400;
  next.insert(next.begin(), newer);
  next.pop_back();
  next[10].darkWakes += 1;
  contents.history = next;
  preview.publish(contents);
  EXPECT_EQ(page.tableView(), view);
  EXPECT_EQ(view->horizontalHeader()->sortIndicatorSection(), HistoryTableModel::wakes);
  EXPECT_EQ(view->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
  EXPECT_EQ(view->currentIndex().siblingAtColumn(HistoryTableModel::night).data().toString(), selected);
  EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(view->verticalScrollBar()->value(), scroll);
  EXPECT_EQ(page.tableModel()->rowCount(), 60);
  EXPECT_EQ(page.tableModel()->index(0, 0).data().toString(), "Sun 6 Dec") << "newest first";
  // Tab moves on from the table rather than from cell to cell.
  EXPECT_FALSE(view->tabKeyNavigation());
}

TEST(MainViewTest, OnlyNapsNoBatteryAndAnEmptyArchive) {
  DemoLog::Night nap = testing::demoNight({{std::string(DemoLog::wifi), 2, 10}});
  nap.start.hour = 12;
  nap.hours = 2.5;  // reported from two hours on
  Contents contents = Contents::of({nap});
  contents.battery = false;
  contents.history = std::vector<ArchivedNight>{};
  contents.archiveProblem = ArchiveProblem{"/data/nights.sqlite", "SQLite: database is locked", std::nullopt, true};
  PreviewModel preview(contents);
  Window window(preview);
  // That the nights are not kept is said above every page, with the file and the reason.
  EXPECT_FALSE(window.view.archiveProblem()->isHidden());
  EXPECT_EQ(window.view.archiveProblem()->text(),
            "Nights aren’t being kept: /data/nights.sqlite can’t be used (SQLite: database is locked). The file was "
            "left as it is. The nights the log holds are still shown.");
  const QStringList rows = rowTexts(*window.view.sidebar());
  EXPECT_FALSE(rows.contains("Nights"));
  EXPECT_TRUE(rows.contains("Daytime naps")) << rows.join(" | ").toStdString();
  EXPECT_TRUE(rows.contains("Battery")) << "no capacity detail without a battery";

  BatteryPage battery(preview.model());
  EXPECT_TRUE(
      labelTexts(*battery.widget()).contains("This Mac has no battery, so there’s no overnight drain to explain."));
  EXPECT_EQ(battery.widget()->findChildren<QLabel*>("capacity").size(), 0);

  HistoryPage history(preview.model());
  EXPECT_EQ(testing::child<QLabel>(*history.widget(), "noNights").text(),
            "The first nights will appear here tomorrow morning.");
  EXPECT_TRUE(history.tableView()->isHidden());
  EXPECT_EQ(history.tableModel()->rowCount(), 0);
}

TEST(MainViewTest, ChangesListAndItsUndo) {
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  ChangeController& changes = preview.changes();
  SettingsPage page(preview.model(), changes);
  EXPECT_FALSE(testing::child<QLabel>(*page.widget(), "nothingYet").isHidden());
  auto* fix = page.widget()->findChild<QPushButton*>("fix-powerNapOff");
  ASSERT_NE(fix, nullptr);

  preview.apply({FixID::powerNapOff});
  const std::string id = changes.journal().records.front().id;
  EXPECT_TRUE(labelTexts(*page.widget()).join(" ").contains("dry run, nothing changed"));
  EXPECT_EQ(page.widget()->findChild<QPushButton*>("fix-powerNapOff"), fix) << "the findings were left alone";
  auto& undo = testing::child<QPushButton>(*page.widget(), QString::fromStdString("undo-" + id));
  EXPECT_TRUE(undo.accessibleName().startsWith("Undo… ")) << "the name says which change";
  QTest::mouseClick(&undo, Qt::LeftButton);
  ASSERT_TRUE(changes.review());
  // The preview's runner is a dry run: the review simulates, and says so.
  FixReviewView review(changes);
  EXPECT_NE(review.findChild<QLabel*>("dryRun"), nullptr);

  QSignalSpy finished(&changes, &ChangeController::applyFinished);
  ASSERT_TRUE(changes.applyReview());
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_FALSE(testing::child<QLabel>(*page.widget(), "nothingYet").isHidden());
  EXPECT_EQ(page.widget()->findChild<QPushButton*>(QString::fromStdString("undo-" + id)), nullptr);
}

TEST(MainViewTest, ReviewShowsEveryCommandWholeAndAsksForTheAcknowledgementOnlyForANotableChange) {
  auto runner = std::make_shared<testing::RecordingRunner>();
  Contents contents = Contents::of(preview::week(Mood::restless));
  contents.runner = runner;
  PreviewModel preview(contents);
  ChangeController& changes = preview.changes();
  changes.reviewFixes({FixID::tcpKeepAliveOff, FixID::powerNapOff, FixID::proximityWakeOff});
  FixReviewView review(changes);
  review.show();
  QCoreApplication::processEvents();
  const auto commands = review.findChildren<QLabel*>("command");
  ASSERT_EQ(commands.size(), 6);
  for (const QLabel* command : commands) {
    EXPECT_GE(command->height(), command->heightForWidth(command->width())) << command->text().toStdString();
  }
  ASSERT_NE(review.acknowledgement(), nullptr);
  EXPECT_FALSE(review.confirmButton()->isEnabled());
  // Its sentence wraps inside the window, names the box, and a click on it ticks the box.
  auto& sentence = testing::child<QLabel>(review, "acknowledgementText");
  EXPECT_GE(sentence.height(), sentence.heightForWidth(sentence.width()));
  EXPECT_LE(sentence.mapTo(&review, QPoint(sentence.width(), 0)).x(), review.width());
  EXPECT_EQ(review.acknowledgement()->accessibleName(), sentence.text());
  QTest::mouseClick(&sentence, Qt::LeftButton);
  EXPECT_TRUE(review.confirmButton()->isEnabled());

  // Confirmed: both buttons wait, the runner gets the plan exactly once.
  QSignalSpy finished(&changes, &ChangeController::applyFinished);
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
  changes.reviewUndo(changes.journal().records.front().id);
  FixReviewView undo(changes);
  EXPECT_EQ(undo.acknowledgement(), nullptr);
  EXPECT_TRUE(undo.confirmButton()->isEnabled());
  EXPECT_EQ(undo.confirmButton()->text(), "Undo with Password…");

  // Cancel runs nothing.
  QTest::mouseClick(undo.cancelButton(), Qt::LeftButton);
  EXPECT_EQ(runner->plans().size(), 1u);
  EXPECT_EQ(changes.lastOutcome()->kind, ChangeOutcome::Kind::declined);
}

TEST(MainViewTest, SecondaryTextAndCheckBoxEdgesFollowAPaletteChange) {
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  Window window(preview);
  EXPECT_TRUE(window.view.archiveProblem()->isHidden()) << "a well archive says nothing";
  const QLabel& span = testing::child<QLabel>(*window.view.sidebar(), "span");
  const QColor before = span.palette().color(QPalette::WindowText);
  EXPECT_EQ(before, secondaryText(window.view.palette()));
  const QPalette original = QApplication::palette();
  QPalette dark = original;
  dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x24));
  dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
  QApplication::setPalette(dark);
  QCoreApplication::processEvents();
  EXPECT_EQ(span.palette().color(QPalette::WindowText), secondaryText(window.view.palette()));
  EXPECT_NE(span.palette().color(QPalette::WindowText), before);
  // A check box's edge stands out from the dark window (Fusion's alone is a few shades off).
  QCheckBox box(QStringLiteral("Plain mode"));
  box.resize(box.sizeHint());
  QStyleOptionButton option;
  option.initFrom(&box);
  const QRect indicator = box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
  const QImage drawn = box.grab().toImage();
  const int edge = qGray(drawn.pixel(indicator.left(), indicator.center().y()));
  EXPECT_GT(edge - qGray(dark.color(QPalette::Window).rgb()), 50);
  QApplication::setPalette(original);
  QCoreApplication::processEvents();
  EXPECT_EQ(span.palette().color(QPalette::WindowText), before);
}

}  // namespace
}  // namespace snoozlet::views
