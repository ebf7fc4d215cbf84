// The tray application on the offscreen platform: the tooltip, the popover's
// left and right clicks, the window manager's windows, and the launch.

#include "PreviewModel.h"
#include "TestSupport.h"
#include "presentation/NightFigures.h"
#include "shell/AppActions.h"
#include "shell/StatusItemController.h"
#include "shell/TeapotIcon.h"
#include "shell/TrayApplication.h"
#include "shell/WindowManager.h"
#include "views/FixReviewView.h"
#include "views/MenuBarView.h"
#include "views/SettingsView.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include <QAction>
#include <QApplication>
#include <QLoggingCategory>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace snoozlet::shell {
namespace {

using preview::Contents;
using preview::PreviewModel;

struct Store {
  QTemporaryDir dir;
  QSettings settings{dir.filePath(QStringLiteral("preferences.ini")), QSettings::IniFormat};
};

// The colour of the icon's first solid pixel.
QColor iconColour(const QSystemTrayIcon& tray) {
  const QImage image = tray.icon().pixmap(QSize(18, 18)).toImage();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y).alpha() == 255) return image.pixelColor(x, y);
    }
  }
  return {};
}

TEST(TrayTest, TooltipAndTheTeapotThatFollowsThePalette) {
  Store store;
  PreviewModel restless(Contents::of(preview::week(Mood::restless)));
  WindowManager windows(restless.model(), restless.changes(), restless.preferences(), store.settings);
  StatusItemController status(restless.model(), windows);
  EXPECT_EQ(status.trayIcon().toolTip(), "Snoozlet — Restless · 354 dark wakes · 8 h");
  EXPECT_EQ(presentation::trayTooltip(nullptr, restless.model().format()), "Snoozlet");
  const QPalette light = QApplication::palette();
  EXPECT_EQ(iconColour(status.trayIcon()), light.color(QPalette::WindowText));
  QPalette dark = light;
  dark.setColor(QPalette::WindowText, QColor(0xF2, 0xF2, 0xF2));
  QApplication::setPalette(dark);
  EXPECT_EQ(iconColour(status.trayIcon()), QColor(0xF2, 0xF2, 0xF2)) << "drawn again in the new text colour";
  QApplication::setPalette(light);

  // Drawn in the colour asked for, its 18-point box scaled to the side asked for.
  QImage image(36, 36, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  paintTeapot(painter, 36, QColor(0x20, 0x20, 0x20));
  painter.end();
  EXPECT_EQ(qAlpha(image.pixel(18, 22)), 255) << "the body's middle is solid";
  EXPECT_EQ(QColor(image.pixel(18, 22)).red(), 0x20);
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "the corner is clear";
}

QStringList timings;

TEST(TrayTest, LeftClickTogglesThePopoverRightClickNeverOpensItAndFirstPaintsAreTimed) {
  // With timing on, the popover and the main window report their first paint; the tray benchmark reads these
  // lines from the application's standard error.
  QLoggingCategory::setFilterRules(QStringLiteral("snoozlet.timing.debug=true"));
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& message) {
        if (QByteArray(context.category) == "snoozlet.timing") timings << message;
      });
  Store store;
  PreviewModel preview(Contents::of(preview::week(Mood::soundAsleep)));
  WindowManager windows(preview.model(), preview.changes(), preview.preferences(), store.settings);
  StatusItemController tray(preview.model(), windows);
  emit tray.trayIcon().activated(QSystemTrayIcon::Context);
  EXPECT_FALSE(tray.isPopoverOpen());
  emit tray.trayIcon().activated(QSystemTrayIcon::Trigger);
  ASSERT_TRUE(tray.isPopoverOpen());
  EXPECT_NE(tray.popover()->findChild<views::MenuBarView*>(), nullptr);
  EXPECT_TRUE(QTest::qWaitFor([] { return !timings.isEmpty(); }, 5000));
  tray.toggle();
  EXPECT_FALSE(tray.isPopoverOpen());

  QStringList items;
  for (const QAction* action : tray.menu()->actions()) items << (action->isSeparator() ? "—" : action->text());
  EXPECT_EQ(items, (QStringList{"Open Snoozlet", "Refresh", "—", "Settings…", "How It Works", "About Snoozlet", "—",
                                "Quit Snoozlet"}));
  // One action set: the popover's menu and the main window's menu bar carry the very same actions.
  const auto popoverMenu = windows.actions().popoverMenu();
  for (QAction* action : popoverMenu) EXPECT_TRUE(tray.menu()->actions().contains(action));
  EXPECT_EQ(windows.actions().quit()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
  // Refresh waits while a refresh runs.
  ASSERT_TRUE(preview.model().refresh());
  EXPECT_FALSE(windows.actions().refresh()->isEnabled());
  ASSERT_TRUE(QSignalSpy(&preview.model(), &AppModel::refreshFinished).wait(20000));
  EXPECT_TRUE(windows.actions().refresh()->isEnabled());
  tray.menu()->actions()[3]->trigger();
  ASSERT_NE(windows.settingsWindow(), nullptr);
  EXPECT_TRUE(windows.settingsWindow()->isVisible());

  windows.showMainWindow();
  windows.showMainWindow();  // already on screen: nothing new to report
  EXPECT_TRUE(QTest::qWaitFor([] { return timings.size() >= 2; }, 5000));
  QTest::qWait(50);
  qInstallMessageHandler(previous);
  QLoggingCategory::setFilterRules(QString());
  ASSERT_EQ(timings.size(), 2) << timings.join('\n').toStdString();
  EXPECT_TRUE(QRegularExpression("^popover painted \\d+ ms after the request$").match(timings[0]).hasMatch());
  EXPECT_TRUE(QRegularExpression("^main window painted \\d+ ms after the request$").match(timings[1]).hasMatch());
}

TEST(TrayTest, WindowsAreMadeOnDemandRaisedNotDoubledAndReleasedOnClose) {
  Store store;
  PreviewModel preview(Contents::of(preview::week(Mood::soundAsleep)));
  WindowManager windows(preview.model(), preview.changes(), preview.preferences(), store.settings);
  windows.showMainWindow();
  QWidget* main = windows.mainWindow();
  ASSERT_NE(main, nullptr);
  windows.showMainWindow();
  EXPECT_EQ(windows.mainWindow(), main) << "the same window, raised";
  windows.showSettingsWindow();
  EXPECT_TRUE(windows.anyVisible());
  main->resize(1000, 700);
  main->close();
  windows.settingsWindow()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(windows.mainWindow(), nullptr) << "released when closed";
  EXPECT_EQ(windows.settingsWindow(), nullptr);
  EXPECT_FALSE(windows.anyVisible());
  windows.showMainWindow();
  EXPECT_EQ(windows.mainWindow()->size(), QSize(1000, 700)) << "the saved geometry comes back";
  // A minimised window comes back when it is asked for, on the page asked for.
  windows.mainWindow()->showMinimized();
  windows.open(views::Page::battery());
  EXPECT_FALSE(windows.mainWindow()->isMinimized());
  EXPECT_EQ(windows.navigator().page(), views::Page::battery());

  // A change to review opens the review, modal to the main window; Cancel closes it.
  preview.changes().reviewFixes({FixID::powerNapOff});
  auto* review = qobject_cast<views::FixReviewView*>(windows.reviewWindow());
  ASSERT_NE(review, nullptr);
  EXPECT_TRUE(review->isVisible());
  EXPECT_EQ(review->parentWidget(), windows.mainWindow());
  review->cancelButton()->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(windows.reviewWindow(), nullptr);

  EXPECT_FALSE(preview.settings().welcomeCompleted());
  windows.showWelcomeWindow();
  windows.welcomeWindow()->close();
  EXPECT_TRUE(preview.settings().welcomeCompleted());
}

TEST(TrayTest, SettingsWindowSaysWhyTheNotificationStaysOff) {
  PreviewModel preview(Contents::of(preview::week(Mood::soundAsleep)));
  views::SettingsView settings(preview.preferences(), NightSource::pmset, Language::english);
  settings.plainMode()->click();
  EXPECT_TRUE(preview.settings().plainMode());
  // No notification service (the preview has no notifier): off again, with the reason.
  settings.notification()->click();
  EXPECT_FALSE(settings.notification()->isChecked());
  EXPECT_FALSE(preview.settings().morningNotification());
  EXPECT_FALSE(settings.notificationReason()->isHidden());
  EXPECT_TRUE(settings.notificationReason()->text().startsWith("No notification service answered"));
  // Refused by the system: unchecked again, with the system's reason; the next try succeeds.
  preview.loginItem().refuse("The autostart folder is read-only");
  settings.openAtLogin()->click();
  EXPECT_FALSE(settings.openAtLogin()->isChecked());
  EXPECT_EQ(settings.loginError()->text(), "The autostart folder is read-only");
  preview.loginItem().refuse(std::nullopt);
  settings.openAtLogin()->click();
  EXPECT_TRUE(preview.loginItem().isEnabled());
  EXPECT_TRUE(settings.loginError()->isHidden());
}

struct Launch {
  testing::TempDir dir;
  testing::ScopedEnv home{"SNOOZLET_PMSET_HOME", (dir.path() / "mac").c_str()};
  TrayOptions options;
  Launch() {
    options.launch.dataDir = dir.path() / "data";
    options.launch.pmset = testing::builtProgram("Snoozlet/snoozlet-pmset").string();
    options.preferencesFile = QString::fromStdString((dir.path() / "preferences.ini").string());
    options.trayAvailable = [] { return true; };
  }
};

// Waits for the refresh the launch started.
bool refreshEnds(TrayApplication& app) { return QSignalSpy(&app.model(), &AppModel::refreshFinished).wait(20000); }

TEST(TrayTest, FirstLaunchShowsTheWelcomeAndRefreshesBehindIt) {
  Launch launch;
  TrayApplication app(launch.options);
  EXPECT_TRUE(app.model().state().isLoading()) << "the first refresh runs";
  ASSERT_NE(app.windows().welcomeWindow(), nullptr);
  EXPECT_TRUE(app.windows().welcomeWindow()->isVisible());
  EXPECT_EQ(app.windows().mainWindow(), nullptr);
  ASSERT_TRUE(refreshEnds(app));
  EXPECT_NE(app.statusItem()->trayIcon().toolTip(), "Snoozlet") << "the tooltip follows the refresh";
}

TEST(TrayTest, LoginLaunchWithTheWelcomeDoneOpensNoWindowAPlainLaunchOrNoTrayOpensMain) {
  Launch launch;
  {
    QSettings preferences(*launch.options.preferencesFile, QSettings::IniFormat);
    preferences.setValue("welcomeCompleted", true);
  }
  int asked = 0;
  launch.options.trayAvailable = [&asked] { return ++asked >= 3; };  // a panel that starts late
  launch.options.atLogin = true;
  {
    TrayApplication app(launch.options);
    EXPECT_TRUE(app.hasTray()) << "a login launch waits for the panel";
    EXPECT_FALSE(app.windows().anyVisible());
    ASSERT_TRUE(refreshEnds(app));
  }
  launch.options.atLogin = false;
  {
    TrayApplication app(launch.options);
    EXPECT_NE(app.windows().mainWindow(), nullptr);
    ASSERT_TRUE(refreshEnds(app));
  }
  launch.options.atLogin = true;
  launch.options.trayAvailable = [] { return false; };
  launch.options.trayWaitAtLogin = std::chrono::milliseconds(300);
  TrayApplication app(launch.options);
  EXPECT_FALSE(app.hasTray());
  EXPECT_NE(app.windows().mainWindow(), nullptr) << "even at login: there is nothing else to click";
  EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
  ASSERT_TRUE(refreshEnds(app));
}

}  // namespace
}  // namespace snoozlet::shell
