// The tray application on the offscreen platform: the tooltip and the icon,
// the popover's left and right clicks, the window manager's windows, and the
// launch with and without a tray, one that comes late among them.

#include "PreviewModel.h"
#include "TestSupport.h"
#include "presentation/NightFigures.h"
#include "shell/AppActions.h"
#include "shell/StatusItemController.h"
#include "shell/StatusNotifierItem.h"
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
#include <QTimer>

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

namespace snoozlet::shell {
namespace {

using preview::Contents;
using preview::PreviewModel;

struct Store {
  QTemporaryDir dir;
  QSettings settings{dir.filePath(QStringLiteral("preferences.ini")), QSettings::IniFormat};
};

// How many pixels of the icon, drawn at 48 px, are (nearly) solid `colour`.
int pixelsOf(const QIcon& icon, const QColor& colour) {
  const QImage image = icon.pixmap(QSize(48, 48)).toImage();
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      const int distance = std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                           std::abs(pixel.blue() - colour.blue());
      count += pixel.alpha() > 200 && distance < 48 ? 1 : 0;
    }
  }
  return count;
}

QDBusConnection noBus() { return QDBusConnection(QStringLiteral("no bus")); }

TEST(TrayTest, TooltipAndTheTwoToneTeapotThatFollowsThePalette) {
  Store store;
  PreviewModel restless(Contents::of(preview::week(Mood::restless)));
  WindowManager windows(restless.model(), restless.changes(), restless.preferences(), store.settings);
  StatusItemController status(restless.model(), windows, noBus());
  status.present(TrayKind::xembed);
  EXPECT_EQ(status.toolTip(), "Snoozlet — Restless · 354 dark wakes · 8 h");
  EXPECT_EQ(status.trayIcon()->toolTip(), status.toolTip());
  EXPECT_EQ(presentation::trayTooltip(nullptr, restless.model().format()), "Snoozlet");
  // Filled in the text colour and ringed in the window colour: one of them stands out on any panel.
  const QPalette light = QApplication::palette();
  EXPECT_GT(pixelsOf(status.trayIcon()->icon(), light.color(QPalette::WindowText)), 400);
  EXPECT_GT(pixelsOf(status.trayIcon()->icon(), light.color(QPalette::Window)), 80);
  QPalette dark = light;
  dark.setColor(QPalette::WindowText, QColor(0xF2, 0xF2, 0xF2));
  dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
  QApplication::setPalette(dark);
  EXPECT_GT(pixelsOf(status.trayIcon()->icon(), QColor(0xF2, 0xF2, 0xF2)), 400) << "drawn again in the new colours";
  EXPECT_GT(pixelsOf(status.icon(), QColor(0x20, 0x20, 0x20)), 80);
  const qint64 drawn = status.icon().cacheKey();
  dark.setColor(QPalette::Highlight, Qt::red);  // a colour the teapot does not use
  QApplication::setPalette(dark);
  EXPECT_EQ(status.icon().cacheKey(), drawn) << "the tray is told only of the teapot's own colours";
  QApplication::setPalette(light);

  // Drawn afresh at every size a host may ask for: the 64 px pixmap is no 16 px one scaled up, whose
  // edge would be four pixels wide. Here a pixel of the 64 px edge is solid ring.
  const NotifierPixmaps pixmaps = StatusNotifierItem::pixmapsOf(status.icon(), teapotPixmapSizes());
  QList<int> sides;
  for (const auto& pixmap : pixmaps) sides << pixmap.width;
  ASSERT_EQ(sides, (QList<int>{16, 22, 24, 32, 48, 64})) << "the sizes panels draw at, none scaled";
  EXPECT_EQ(pixmaps.back().argb.size(), 64 * 64 * 4);
  const QImage large = status.icon().pixmap(QSize(64, 64)).toImage();
  EXPECT_EQ(qAlpha(large.pixel(32, 40)), 255) << "the body's middle is solid";
  EXPECT_EQ(qAlpha(large.pixel(0, 0)), 0) << "the corner is clear";
  // Network byte order: alpha first.
  EXPECT_EQ(static_cast<uchar>(pixmaps.back().argb[(40 * 64 + 32) * 4]), 255);
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
  StatusItemController tray(preview.model(), windows, noBus());
  tray.present(TrayKind::xembed);
  emit tray.trayIcon()->activated(QSystemTrayIcon::Context);
  EXPECT_FALSE(tray.isPopoverOpen());
  emit tray.trayIcon()->activated(QSystemTrayIcon::Trigger);
  ASSERT_TRUE(tray.isPopoverOpen());
  // Offscreen neither the icon's place nor the pointer is known: not a popup hung nowhere, a window of its own.
  EXPECT_EQ(tray.popover()->windowType(), Qt::Window);
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
    options.trayAvailable = [] { return TrayKind::xembed; };
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
  EXPECT_NE(app.statusItem().toolTip(), "Snoozlet") << "the tooltip follows the refresh";
}

TEST(TrayTest, LoginLaunchWaitsForALatePanelAndATrayThatComesLaterIsTakenUpAndTheStandInClosed) {
  Launch launch;
  {
    QSettings preferences(*launch.options.preferencesFile, QSettings::IniFormat);
    preferences.setValue("welcomeCompleted", true);
  }
  TrayKind desktop = TrayKind::none;
  launch.options.trayAvailable = [&desktop] { return desktop; };
  launch.options.atLogin = true;
  launch.options.trayWaitAtLogin = std::chrono::milliseconds(300);
  TrayApplication app(launch.options);
  EXPECT_FALSE(app.hasTray());
  EXPECT_FALSE(app.windows().anyVisible()) << "waiting for the panel";
  ASSERT_TRUE(QTest::qWaitFor([&app] { return app.windows().mainWindow() != nullptr; }, 2000))
      << "after the wait the main window stands in";
  EXPECT_TRUE(app.standingIn());
  EXPECT_FALSE(QApplication::quitOnLastWindowClosed()) << "the application decides which window quits";

  desktop = TrayKind::statusNotifier;
  app.trayWatch().check();
  EXPECT_EQ(app.statusItem().presentedIn(), TrayKind::statusNotifier);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(app.windows().mainWindow(), nullptr) << "the stand-in closes once the tray is there";
  // Opened by the user, the main window stays when the tray changes.
  app.windows().open();
  desktop = TrayKind::xembed;
  app.trayWatch().check();
  EXPECT_EQ(app.statusItem().presentedIn(), TrayKind::xembed);
  EXPECT_NE(app.windows().mainWindow(), nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&app] { return !app.model().state().isLoading(); }, 20000));
}

TEST(TrayTest, ALaunchThatCannotGuardItsInstanceSaysSoAndStartsAnyway) {
  for (const char* place : {"instance", "no-such-folder/instance"}) {
    Launch launch;
    launch.options.instanceName = QString::fromStdString((launch.dir / place).string());
    std::ostringstream err;
    std::streambuf* const terminal = std::cerr.rdbuf(err.rdbuf());
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    EXPECT_EQ(runTray(launch.options), 0);
    std::cerr.rdbuf(terminal);
    EXPECT_EQ(err.str().find("cannot make sure only one Snoozlet runs") != std::string::npos,
              place != std::string_view("instance"))
        << err.str();
  }
}

TEST(TrayTest, WithoutATrayTheWelcomeHandsOverToTheMainWindowWhoseClosingQuits) {
  Launch launch;
  launch.options.trayAvailable = [] { return TrayKind::none; };
  TrayApplication app(launch.options);
  ASSERT_TRUE(refreshEnds(app));
  ASSERT_NE(app.windows().welcomeWindow(), nullptr);
  app.windows().welcomeWindow()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_NE(app.windows().mainWindow(), nullptr) << "closing the welcome left nothing on screen";
  EXPECT_TRUE(app.windows().mainWindow()->isVisible());
  // Closing the main window ends the event loop (a guard ends it otherwise, with 2).
  QTimer::singleShot(0, app.windows().mainWindow(), &QWidget::close);
  QTimer::singleShot(5000, [] { QCoreApplication::exit(2); });
  EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
}  // namespace snoozlet::shell
