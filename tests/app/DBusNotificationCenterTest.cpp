#include "app/DBusNotificationCenter.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace snoozlet {
namespace {

// Runs the event loop until the condition holds or ten seconds pass.
bool waitUntil(const std::function<bool()>& condition) {
  const QDeadlineTimer deadline(10000);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

// A notification service that records what it is asked to show.
class FakeNotificationService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  struct Call {
    QString app;
    uint replaces = 0;
    QString summary, body;
    QVariantMap hints;
    int timeout = 0;
  };
  std::vector<Call> calls;

 public slots:
  QStringList GetCapabilities() { return {QStringLiteral("body")}; }
  uint Notify(const QString& app, uint replaces, const QString& /*icon*/, const QString& summary, const QString& body,
              const QStringList& /*actions*/, const QVariantMap& hints, int timeout) {
    calls.push_back({app, replaces, summary, body, hints, timeout});
    return replaces != 0 ? replaces : static_cast<uint>(40 + calls.size());
  }
};

// A private message bus for one test, run by dbus-daemon.
class PrivateBus {
 public:
  explicit PrivateBus(const testing::TempDir& dir) {
    const QString program = QStandardPaths::findExecutable("dbus-daemon");
    if (program.isEmpty()) return;
    const std::string config = (dir / "bus.conf").string();
    testing::writeFile(config,
                       "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                       " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                       "<busconfig><type>session</type><listen>unix:path=" +
                           (dir / "bus").string() +
                           "</listen><auth>EXTERNAL</auth>"
                           "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                           "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                           "</busconfig>\n");
    daemon_.start(program, {"--config-file", QString::fromStdString(config), "--nofork", "--print-address"});
    if (daemon_.waitForReadyRead(10000)) address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
  }
  ~PrivateBus() {
    for (const QString& name : names_) QDBusConnection::disconnectFromBus(name);
    if (daemon_.state() != QProcess::NotRunning) {
      daemon_.kill();
      daemon_.waitForFinished(5000);
    }
  }

  bool running() const { return !address_.isEmpty(); }
  QDBusConnection connect(const QString& name) {
    names_.push_back(name);
    return QDBusConnection::connectToBus(address_, name);
  }

 private:
  QProcess daemon_;
  QString address_;
  QStringList names_;
};

TEST(DBusNotificationCenterTest, WithoutASessionBusAuthorizationIsRefusedAtOnce) {
  testing::ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/snoozlet-test-bus");
  DBusNotificationCenter center;
  std::optional<bool> answer;
  center.requestAuthorization([&](bool granted) { answer = granted; });
  ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));
  EXPECT_FALSE(*answer);
  center.post("morning-1", "Restless", "body");  // goes nowhere, returns

  DBusNotificationCenter unconnected(QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "snoozlet-bogus"));
  answer.reset();
  unconnected.requestAuthorization([&](bool granted) { answer = granted; });
  EXPECT_EQ(answer, false);
  QDBusConnection::disconnectFromBus("snoozlet-bogus");
}

TEST(DBusNotificationCenterTest, PostsThroughTheNotificationService) {
  testing::TempDir dir;
  PrivateBus bus(dir);
  if (!bus.running()) GTEST_SKIP() << "dbus-daemon is not available";

  DBusNotificationCenter center(bus.connect("snoozlet-client"));
  std::optional<bool> answer;
  center.requestAuthorization([&](bool granted) { answer = granted; });
  ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));
  EXPECT_FALSE(*answer);  // nobody serves notifications yet

  QDBusConnection serviceConnection = bus.connect("snoozlet-service");
  FakeNotificationService service;
  ASSERT_TRUE(
      serviceConnection.registerObject(DBusNotificationCenter::kPath, &service, QDBusConnection::ExportAllSlots));
  ASSERT_TRUE(serviceConnection.registerService(DBusNotificationCenter::kService));

  answer.reset();
  center.requestAuthorization([&](bool granted) { answer = granted; });
  ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));
  EXPECT_TRUE(*answer);

  center.post("morning-1710030600", "Restless", "I slept badly.");
  ASSERT_TRUE(waitUntil([&] { return service.calls.size() == 1; }));
  const auto& first = service.calls.front();
  EXPECT_EQ(first.app, "Snoozlet");
  EXPECT_EQ(first.replaces, 0u);
  EXPECT_EQ(first.summary, "Restless");
  EXPECT_EQ(first.body, "I slept badly.");
  EXPECT_EQ(first.hints.value("desktop-entry").toString(), "snoozlet");
  EXPECT_EQ(first.timeout, -1);

  // Replies come back in order: once this answer is in, so is the Notify reply.
  answer.reset();
  center.requestAuthorization([&](bool granted) { answer = granted; });
  ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));

  center.post("morning-1710030600", "Restless", "Again.");
  center.post("morning-1710117000", "Sound asleep", "Fine.");
  ASSERT_TRUE(waitUntil([&] { return service.calls.size() == 3; }));
  EXPECT_EQ(service.calls[1].replaces, 41u);  // the same identifier replaces its notification
  EXPECT_EQ(service.calls[2].replaces, 0u);
}

}  // namespace
}  // namespace snoozlet

#include "DBusNotificationCenterTest.moc"
