// Every window's accessible tree, walked as a screen reader meets it, in
// English and in Turkish: whatever can take the keyboard's focus, whatever a
// user presses or ticks, and every picture or chart has a name; windows are
// dialogs or frames, never filler.

#include "../app/Recorders.h"
#include "ViewTesting.h"
#include "app/AppLanguage.h"
#include "views/FixReviewView.h"
#include "views/MainView.h"
#include "views/MenuBarView.h"
#include "views/Navigator.h"
#include "views/SettingsPage.h"
#include "views/SettingsView.h"
#include "views/WelcomeView.h"

#include <QAccessible>
#include <QApplication>
#include <QLocale>
#include <QCheckBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>

namespace snoozlet::views {
namespace {

using preview::Contents;
using preview::PreviewModel;

bool mustBeNamed(const QAccessibleInterface& node) {
  switch (node.role()) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::Graphic:
    case QAccessible::Chart:
    case QAccessible::List:
    case QAccessible::ListItem:
    case QAccessible::Table:
    case QAccessible::Dialog:
    case QAccessible::Window: return true;
    default: return node.state().focusable;
  }
}

// The path of every shown element that must have a name and has none.
void walk(QAccessibleInterface* node, const QString& path, QStringList& unnamed) {
  if (node == nullptr || !node->isValid() || node->state().invisible) return;
  const QString here = path + QStringLiteral("/") + QString::number(node->role(), 16) +
                       (node->object() != nullptr ? QStringLiteral(":") + node->object()->objectName() : QString());
  if (mustBeNamed(*node) && node->text(QAccessible::Name).trimmed().isEmpty()) unnamed << here;
  for (int i = 0; i < node->childCount(); ++i) walk(node->child(i), here, unnamed);
}

// The unnamed elements' paths (roles in hexadecimal and object names), one a line.
std::string unnamedIn(QWidget& window) {
  window.show();
  QCoreApplication::processEvents();
  QStringList unnamed;
  walk(QAccessible::queryAccessibleInterface(&window), {}, unnamed);
  return unnamed.join(QStringLiteral("\n")).toStdString();
}

// Runs `check` once in English and once in Turkish, with Turkish's table installed.
void inBothLanguages(const std::function<void(Language)>& check) {
  check(Language::english);
  QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
  ASSERT_TRUE(installTranslations(*QCoreApplication::instance()));
  const auto english = qScopeGuard([] {
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
  });
  check(Language::turkish);
}

TEST(AccessibilityTest, EveryWindowNamesWhatCanBeReachedOrSeen) {
  inBothLanguages([](Language language) {
    const QString in = language == Language::turkish ? QStringLiteral(" (tr)") : QString();
    Contents contents = Contents::of(preview::week(Mood::restless));
    contents.runner = std::make_shared<testing::RecordingRunner>();
    PreviewModel preview(contents);
    Navigator navigator(preview.model());
    MainView main(preview.model(), preview.changes(), navigator);
    for (const Page page : {Page::night(preview.model().latestNight()->start()), Page::settings(), Page::battery(),
                            Page::history()}) {
      navigator.choose(page);
      EXPECT_EQ(unnamedIn(main), "") << "main window, page " << static_cast<int>(page.kind()) << in.toStdString();
    }
    MenuBarView popover(preview.model(), {});
    EXPECT_EQ(unnamedIn(popover), "") << "popover" << in.toStdString();
    preview.changes().reviewFixes({FixID::tcpKeepAliveOff, FixID::powerNapOff});
    FixReviewView review(preview.changes());
    EXPECT_EQ(unnamedIn(review), "") << "review" << in.toStdString();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&review)->role(), QAccessible::Dialog);
    SettingsView settings(preview.preferences(), NightSource::pmset, language);
    EXPECT_EQ(unnamedIn(settings), "") << "settings" << in.toStdString();
    AboutView about;
    EXPECT_EQ(unnamedIn(about), "") << "about" << in.toStdString();
    WelcomeView welcome(preview.model(), preview.preferences());
    for (int page = 0; page < WelcomeView::kPages; ++page) {
      welcome.setPage(page);
      EXPECT_EQ(unnamedIn(welcome), "") << "welcome page " << page << in.toStdString();
    }
    // The status marks speak the interface's language.
    navigator.choose(Page::settings());
    QStringList words;
    for (const StatusMark* mark : main.findChildren<StatusMark*>()) words << mark->accessibleName();
    EXPECT_TRUE(words.contains(language == Language::turkish ? "göz at" : "consider")) << words.join(", ").toStdString();
  });
}

TEST(AccessibilityTest, TheKeyboardAloneGoesThroughEveryWindow) {
  Contents contents = Contents::of(preview::week(Mood::restless));
  contents.history = preview::archivedNights(60);
  contents.runner = std::make_shared<testing::RecordingRunner>();
  PreviewModel preview(contents);
  const auto active = [](QWidget& window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
  };

  // The welcome opens on Next, its default: Space goes on, Enter goes on, neither skips the tour.
  WelcomeView welcome(preview.model(), preview.preferences());
  ASSERT_TRUE(active(welcome));
  EXPECT_EQ(QApplication::focusWidget(), welcome.nextButton());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(welcome.page(), 1);
  QTest::keyClick(&welcome, Qt::Key_Return);
  EXPECT_EQ(welcome.page(), 2);
  EXPECT_FALSE(preview.settings().welcomeCompleted());
  QTest::keyClick(&welcome, Qt::Key_Escape);
  EXPECT_TRUE(preview.settings().welcomeCompleted()) << "Escape leaves it, as closing does";

  // Tab goes into the history table and out of it again, not from cell to cell.
  Navigator navigator(preview.model());
  navigator.choose(Page::history());
  MainView main(preview.model(), preview.changes(), navigator);
  ASSERT_TRUE(active(main));
  auto& table = testing::child<QTableView>(main, "table");
  table.setFocus(Qt::TabFocusReason);
  QTest::keyClick(&table, Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), &table);
  EXPECT_NE(QApplication::focusWidget(), nullptr);

  // In the review, Enter presses the default button once the acknowledgement is ticked with Space.
  preview.changes().reviewFixes({FixID::tcpKeepAliveOff});
  FixReviewView review(preview.changes());
  ASSERT_TRUE(active(review));
  QTest::keyClick(&review, Qt::Key_Return);
  EXPECT_FALSE(review.isWorking()) << "not before the acknowledgement";
  review.acknowledgement()->setFocus(Qt::TabFocusReason);
  QTest::keyClick(review.acknowledgement(), Qt::Key_Space);
  ASSERT_TRUE(review.acknowledgement()->isChecked());
  QSignalSpy finished(&preview.changes(), &ChangeController::applyFinished);
  QTest::keyClick(&review, Qt::Key_Return);
  EXPECT_TRUE(review.isWorking());
  EXPECT_TRUE(finished.wait(10000));
}

}  // namespace
}  // namespace snoozlet::views
