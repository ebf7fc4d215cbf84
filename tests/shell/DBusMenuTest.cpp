// The tray menu as a StatusNotifierItem host reads it: labels with the host's
// access-key marks, separators, enabled states, ids in range, clicks that
// trigger only enabled actions, and a new revision for every change.

#include "shell/DBusMenu.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace snoozlet::shell {
namespace {

TEST(DBusMenuTest, TheHostSeesTheMenuAndItsClicksReachOnlyEnabledActions) {
  QMenu menu;
  QAction* open = menu.addAction(QStringLiteral("&Open Snoozlet"));
  menu.addSeparator();
  QAction* odd = menu.addAction(QStringLiteral("Tea_pot && cake&"));
  QAction* off = menu.addAction(QStringLiteral("Refresh"));
  off->setEnabled(false);
  DBusMenu published(&menu);

  DBusMenuLayout root;
  const uint revision = published.GetLayout(0, -1, {}, root);
  ASSERT_EQ(root.children.size(), 4);
  EXPECT_EQ(root.properties.value(QStringLiteral("children-display")), QStringLiteral("submenu"));
  const auto child = [&](int i) { return root.children[i].variant().value<DBusMenuLayout>(); };
  EXPECT_EQ(child(0).properties.value(QStringLiteral("label")), QStringLiteral("_Open Snoozlet"));
  EXPECT_EQ(child(1).properties.value(QStringLiteral("type")), QStringLiteral("separator"));
  // An underscore is doubled, "&&" is one ampersand and a trailing '&' stays as it is.
  EXPECT_EQ(child(2).properties.value(QStringLiteral("label")), QStringLiteral("Tea__pot & cake&"));
  EXPECT_EQ(child(3).properties.value(QStringLiteral("enabled")), false);

  // Only the asked properties; nothing for ids out of range.
  EXPECT_EQ(published.properties(1, {QStringLiteral("label"), QStringLiteral("type")}).keys(),
            QStringList{QStringLiteral("label")});
  EXPECT_EQ(published.GetGroupProperties({0, 1, 5, -1}, {}).size(), 2);

  // A click triggers after the call returns, and never a disabled action or another event.
  QSignalSpy opened(open, &QAction::triggered), refreshed(off, &QAction::triggered), oddOnes(odd, &QAction::triggered);
  published.Event(1, QStringLiteral("clicked"), {}, 0);
  EXPECT_EQ(opened.count(), 0);
  published.Event(3, QStringLiteral("hovered"), {}, 0);
  published.Event(4, QStringLiteral("clicked"), {}, 0);
  EXPECT_EQ(published.EventGroup({{3, QStringLiteral("clicked"), {}, 0}, {9, QStringLiteral("clicked"), {}, 0}}),
            QList<int>{9});
  QTest::qWait(0);
  EXPECT_EQ(opened.count(), 1);
  EXPECT_EQ(oddOnes.count(), 1);
  EXPECT_EQ(refreshed.count(), 0);

  // Any change of an action is a new layout revision.
  QSignalSpy updated(&published, &DBusMenu::LayoutUpdated);
  off->setEnabled(true);
  odd->setVisible(false);
  ASSERT_EQ(updated.count(), 2);
  EXPECT_EQ(updated[1][0].toUInt(), revision + 2);
  DBusMenuLayout after;
  EXPECT_EQ(published.GetLayout(0, 1, {}, after), revision + 2);
  EXPECT_EQ(after.children[2].variant().value<DBusMenuLayout>().properties.value(QStringLiteral("visible")), false);
}

}  // namespace
}  // namespace snoozlet::shell
