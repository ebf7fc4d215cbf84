#include "app/DBusNotificationCenter.h"

#include "PrivateBus.h"
#include "TestSupport.h"

#include <QDBusConnection>
#include <QTest>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace snoozlet {
namespace {

// Runs the event loop until the condition holds or ten seconds pass.
bool waitUntil(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 10000); }

// Asks for authorization and waits for the answer; none when it did not come in time.
std::optional<bool> authorize(DBusNotificationCenter& center) {
  auto answer = std::make_shared<std::optional<bool>>();
  center.requestAuthorization([answer](bool granted) { *answer = granted; });
  waitUntil([&] { return answer->has_value(); });
  return *answer;
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

TEST(DBusNotificationCenterTest, WithoutASessionBusAuthorizationIsRefusedAtOnce) {
  testing::ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/snoozlet-test-bus");
  DBusNotificationCenter center;
  EXPECT_EQ(authorize(center), false);
  center.post("morning-1", "Restless", "body");  // goes nowhere, returns
}

TEST(DBusNotificationCenterTest, PostsThroughTheNotificationService) {
  testing::TempDir dir;
  testing::PrivateBus bus(dir);
  if (!bus.running()) GTEST_SKIP() << "dbus-daemon is not available";

  DBusNotificationCenter center(bus.connect("snoozlet-client"));
  EXPECT_EQ(authorize(center), false);  // nobody serves notifications yet

  QDBusConnection serviceConnection = bus.connect("snoozlet-service");
  FakeNotificationService service;
  ASSERT_TRUE(
      serviceConnection.registerObject(DBusNotificationCenter::kPath, &service, QDBusConnection::ExportAllSlots));
  ASSERT_TRUE(serviceConnection.registerService(DBusNotificationCenter::kService));

  EXPECT_EQ(authorize(center), true);

  center.post("morning-1710030600", "Restless", "I slept badly.");
  ASSERT_TRUE(waitUntil([&] { return service.calls.size() == 1; }));
  const auto& first = service.calls.front();
  EXPECT_EQ(first.app, "Snoozlet");
  EXPECT_EQ(first.summary, "Restless");
  EXPECT_EQ(first.body, "I slept badly.");
  EXPECT_EQ(first.hints.value("desktop-entry").toString(), "snoozlet");
  EXPECT_EQ(first.timeout, -1);

  // Replies come back in order: once this answer is in, so is the Notify reply.
  ASSERT_TRUE(authorize(center).has_value());

  center.post("morning-1710030600", "Restless", "Again.");
  center.post("morning-1710117000", "Sound asleep", "Fine.");
  ASSERT_TRUE(waitUntil([&] { return service.calls.size() == 3; }));
  EXPECT_EQ(service.calls[1].replaces, 41u);  // the same identifier replaces its notification
  EXPECT_EQ(service.calls[2].replaces, 0u);
}

}  // namespace
}  // namespace snoozlet

#include "DBusNotificationCenterTest.moc"
