// Wakes, for real over D-Bus: a private bus stands in for the system bus and
// a stand-in for logind announces the end of a sleep. The application
// refreshes once, a short delay later, however many wakes arrive meanwhile;
// without logind the wall-clock detector stands in. And one application per
// user: a second launch asks the first to show its main window.

#include "PrivateBus.h"
#include "StandInLogind.h"
#include "shell/SingleInstance.h"
#include "shell/TrayApplication.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace snoozlet::shell {
namespace {

TEST(WakeTest, WithoutLogindTheClockStandsInALogindWakeRefreshesOnceAfterTheDelay) {
  WakeMonitor unconnected(
      QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere")));
  EXPECT_EQ(unconnected.source(), WakeMonitor::Source::clockJump);
  testing::TempDir dir;
  testing::PrivateBus bus(dir);
  if (!bus.running()) GTEST_SKIP() << "dbus-daemon is not available";
  WakeMonitor monitor(bus.connect(QStringLiteral("no-logind")));
  EXPECT_EQ(monitor.source(), WakeMonitor::Source::clockJump);

  testing::StandInLogind logind(bus.connect(QStringLiteral("logind")));

  const testing::ScopedEnv home("SNOOZLET_PMSET_HOME", (dir.path() / "mac").c_str());
  TrayOptions options;
  options.launch.dataDir = dir.path() / "data";
  options.launch.pmset = testing::builtProgram("Snoozlet/snoozlet-pmset").string();
  options.preferencesFile = QString::fromStdString((dir.path() / "preferences.ini").string());
  options.trayAvailable = [] { return TrayKind::xembed; };
  options.wakeDelay = std::chrono::milliseconds(200);
  options.systemBus = bus.connect(QStringLiteral("app"));
  TrayApplication app(options);
  ASSERT_EQ(app.wakeMonitor().source(), WakeMonitor::Source::logind);
  QSignalSpy refreshed(&app.model(), &AppModel::refreshFinished);
  ASSERT_TRUE(refreshed.wait(20000)) << "the launch's refresh";
  refreshed.clear();

  // Going to sleep is not a wake; three wakes in a row are one refresh.
  ASSERT_TRUE(logind.announce(true));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(logind.announce(false));
  QTest::qWait(100);
  EXPECT_EQ(refreshed.count(), 0) << "not before the delay";
  ASSERT_TRUE(refreshed.wait(20000));
  QTest::qWait(500);
  EXPECT_EQ(refreshed.count(), 1);
  EXPECT_TRUE(logind.calls.isEmpty()) << "a Mac's nights take no kernel counts, so nothing delays a sleep";
}

TEST(WakeTest, ASecondLaunchShowsTheFirstAndAStaleSocketDoesNotStopALaunch) {
  const QString name = QStringLiteral("snoozlet-test-%1").arg(QCoreApplication::applicationPid());
  SingleInstance first(name);
  EXPECT_FALSE(first.askRunningToShow(200)) << "nobody runs yet";
  ASSERT_TRUE(first.listen());
  QSignalSpy shown(&first, &SingleInstance::showRequested);
  SingleInstance second(name);
  bool answered = false;
  // The first instance answers from the event loop, so ask from a moment later.
  QTimer::singleShot(0, [&] { answered = second.askRunningToShow(1000); });
  ASSERT_TRUE(shown.wait(5000));
  EXPECT_TRUE(answered);

  // A socket file left behind by a crash: a server that is gone.
  const QString stale = name + QStringLiteral("-stale");
  QFile leftover(QDir::tempPath() + QLatin1Char('/') + stale);
  ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
  leftover.close();
  QLocalServer blocked;
  EXPECT_FALSE(blocked.listen(stale)) << "the leftover is in the way";
  SingleInstance next(stale);
  EXPECT_FALSE(next.askRunningToShow(200));
  QString problem;
  EXPECT_TRUE(next.listen(&problem)) << problem.toStdString();

  // One instance per display, in the runtime folder: a second display runs its own.
  testing::TempDir runtime;
  const testing::ScopedEnv folder("XDG_RUNTIME_DIR", runtime.path().c_str());
  const testing::ScopedEnv wayland("WAYLAND_DISPLAY", "");
  QString names[2];
  for (const int display : {0, 1}) {
    const testing::ScopedEnv x("DISPLAY", display == 0 ? ":7" : ":8");
    names[display] = SingleInstance::defaultName();
  }
  EXPECT_EQ(names[0], QString::fromStdString((runtime.path() / "snoozlet-_7").string()));
  SingleInstance seven(names[0]), eight(names[1]);
  ASSERT_TRUE(seven.listen());
  EXPECT_FALSE(eight.askRunningToShow(200)) << "the other display's instance does not answer";
  EXPECT_TRUE(eight.listen());
}

}  // namespace
}  // namespace snoozlet::shell
