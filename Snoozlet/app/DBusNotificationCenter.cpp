#include "app/DBusNotificationCenter.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace snoozlet {

DBusNotificationCenter::DBusNotificationCenter(QDBusConnection connection, QObject* parent)
    : QObject(parent), connection_(std::move(connection)) {}

void DBusNotificationCenter::requestAuthorization(std::function<void(bool granted)> done) {
  if (!connection_.isConnected()) {
    done(false);
    return;
  }
  // Asking for the capabilities starts a service that is only activatable,
  // and fails at once when there is none.
  const QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, "GetCapabilities");
  auto* watcher = new QDBusPendingCallWatcher(connection_.asyncCall(message, kTimeout), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [done = std::move(done)](QDBusPendingCallWatcher* call) {
    call->deleteLater();
    done(!call->isError());
  });
}

void DBusNotificationCenter::post(const QString& identifier, const QString& title, const QString& body) {
  if (!connection_.isConnected()) return;
  QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
  const QVariantMap hints{{"desktop-entry", QStringLiteral("snoozlet")}};
  message << QStringLiteral("Snoozlet") << shown_.value(identifier, 0u) << QString() << title << body << QStringList()
          << hints << -1;
  auto* watcher = new QDBusPendingCallWatcher(connection_.asyncCall(message, kTimeout), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, identifier](QDBusPendingCallWatcher* call) {
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isValid()) shown_.insert(identifier, reply.value());
  });
}

}  // namespace snoozlet
