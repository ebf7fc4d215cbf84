// The popover's content in its three states, its figures, "Open Snoozlet"
// and the action menu.

#include "ViewTesting.h"
#include "views/MenuBarView.h"
#include "views/NightRibbon.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace snoozlet::views {
namespace {

using preview::Contents;
using preview::PreviewModel;

QString status(const MenuBarView& view) {
  const auto* label = view.findChild<QLabel*>("status");
  return label ? label->text() : QString();
}

TEST(MenuBarViewTest, ReadingThenNoLongSleepThenTheNightThatOpenSnoozletShowsAndTheActionMenu) {
  Contents launch;
  launch.publish = false;
  PreviewModel preview(launch);
  AppModel& model = preview.model();
  ASSERT_TRUE(model.refresh());
  MenuBarView view(model);
  EXPECT_EQ(status(view), "Reading last night’s log…");
  EXPECT_EQ(view.findChild<NightRibbon*>(), nullptr);

  preview.publish(Contents{});
  EXPECT_EQ(status(view), "No long sleep in the log yet");

  preview.publish(Contents::of(preview::week(Mood::restless)));
  EXPECT_TRUE(status(view).isEmpty());
  EXPECT_TRUE(testing::child<NightRibbon>(view).isCompact());
  const QWidget* wakes = view.findChild<QWidget*>("wakes");
  EXPECT_EQ(wakes->findChild<QLabel*>("value")->text() + " " + wakes->findChild<QLabel*>("caption")->text(),
            "354 wakes");
  // Wrapped text fits: the view is at least as tall as its layout needs at its width.
  EXPECT_GE(view.height(), view.heightForWidth(360));

  // "Open Snoozlet" shows that night in the main window and closes the popover.
  QSignalSpy closed(&view, &MenuBarView::closeRequested);
  QSignalSpy main(&model, &AppModel::mainWindowRequested);
  QTest::mouseClick(view.findChild<QPushButton*>("open"), Qt::LeftButton);
  EXPECT_EQ(model.page(), AppModel::Page::night(model.analysis()->lastNight()->start()));
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(main.count(), 1);

  QStringList titles;
  for (const QAction* action : view.actionMenu()->actions()) {
    if (!action->isSeparator()) titles << action->text();
  }
  EXPECT_EQ(titles, (QStringList{"Refresh", "Settings…", "How It Works", "About Snoozlet", "Quit Snoozlet"}));
  QSignalSpy settings(&view, &MenuBarView::settingsRequested);
  QSignalSpy quit(&view, &MenuBarView::quitRequested);
  view.actionMenu()->actions()[1]->trigger();
  view.actionMenu()->actions().last()->trigger();
  EXPECT_EQ(settings.count(), 1);
  EXPECT_EQ(quit.count(), 1);
}

}  // namespace
}  // namespace snoozlet::views
