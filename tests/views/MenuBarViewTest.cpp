// The popover's content in its three states, its figures, "Open Snoozlet"
// and the menu it is given.

#include "ViewTesting.h"
#include "views/MenuBarView.h"
#include "views/NightRibbon.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace snoozlet::views {
namespace {

using preview::Contents;
using preview::PreviewModel;

QString status(const MenuBarView& view) {
  const auto& label = testing::child<QLabel>(view, "status");
  return label.isHidden() ? QString() : label.text();
}

TEST(MenuBarViewTest, ReadingThenNoLongSleepThenTheNightThatOpenSnoozletShows) {
  Contents launch;
  launch.publish = false;
  PreviewModel preview(launch);
  AppModel& model = preview.model();
  ASSERT_TRUE(model.refresh());
  QAction quit(QStringLiteral("Quit Snoozlet"));
  MenuBarView view(model, {&quit});
  EXPECT_EQ(status(view), "Reading last night’s log…");
  EXPECT_FALSE(testing::child<NightRibbon>(view).isVisibleTo(&view));

  preview.publish(Contents{});
  EXPECT_EQ(status(view), "No long sleep in the log yet");

  QPushButton* open = view.openButton();
  preview.publish(Contents::of(preview::week(Mood::restless)));
  EXPECT_TRUE(status(view).isEmpty());
  EXPECT_EQ(view.openButton(), open) << "updated in place";
  EXPECT_TRUE(testing::child<NightRibbon>(view).isCompact());
  const QWidget* wakes = view.findChild<QWidget*>("wakes");
  EXPECT_EQ(wakes->findChild<QLabel*>("value")->text() + " " + wakes->findChild<QLabel*>("caption")->text(),
            "354 wakes");
  // Wrapped text fits: the view is at least as tall as its layout needs at its width.
  EXPECT_GE(view.sizeHint().height(), view.heightForWidth(view.width()));

  // "Open Snoozlet" asks for the latest night; the menu is the one given.
  QSignalSpy opened(&view, &MenuBarView::openRequested);
  QTest::mouseClick(open, Qt::LeftButton);
  ASSERT_EQ(opened.count(), 1);
  EXPECT_EQ(opened[0][0].value<std::optional<Instant>>(), model.latestNight()->start());
  EXPECT_EQ(view.actionMenu()->actions(), QList<QAction*>{&quit});
  EXPECT_FALSE(view.moreButton()->accessibleName().isEmpty());
}

}  // namespace
}  // namespace snoozlet::views
