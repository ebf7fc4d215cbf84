#pragma once

#include "app/NotificationCenter.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>

namespace snoozlet {

// Notifications through the freedesktop notification service
// (org.freedesktop.Notifications on the session bus). Every call is
// asynchronous with a timeout, so a missing or stuck service never blocks
// the caller. Authorization is granted when the service answers; without a
// session bus it is refused and posts go nowhere.
class DBusNotificationCenter final : public QObject, public NotificationCenter {
  Q_OBJECT

 public:
  explicit DBusNotificationCenter(QDBusConnection connection = QDBusConnection::sessionBus(),
                                  QObject* parent = nullptr);

  void requestAuthorization(std::function<void(bool granted)> done) override;
  void post(const QString& identifier, const QString& title, const QString& body) override;

  static constexpr const char* kService = "org.freedesktop.Notifications";
  static constexpr const char* kPath = "/org/freedesktop/Notifications";
  static constexpr const char* kInterface = "org.freedesktop.Notifications";
  // How long a call may wait for the service, in milliseconds.
  static constexpr int kTimeout = 5000;

 private:
  QDBusConnection connection_;
  // The service's id of each posted identifier, so that a repeat replaces it.
  QHash<QString, uint> shown_;
};

}  // namespace snoozlet
