#include "shell/TrayWatch.h"

#include "shell/StatusNotifierItem.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QSystemTrayIcon>

namespace snoozlet::shell {

namespace {

constexpr int kPollMs = 1000;
// A panel that is starting registers its watcher, its host and its XEmbed
// tray one after the other, and a host may still be reading the items it
// finds while it takes new ones: the answer is read once it has settled.
constexpr int kSettleMs = 500;

}  // namespace

TrayWatch::TrayWatch(QDBusConnection session, QObject* parent) : QObject(parent), session_(std::move(session)) {
  const QString watcher = QString::fromLatin1(StatusNotifierItem::kWatcherService);
  if (session_.isConnected()) {
    auto* services = new QDBusServiceWatcher(watcher, session_,
                                             QDBusServiceWatcher::WatchForRegistration |
                                                 QDBusServiceWatcher::WatchForUnregistration |
                                                 QDBusServiceWatcher::WatchForOwnerChange,
                                             this);
    connect(services, &QDBusServiceWatcher::serviceOwnerChanged, &settle_, qOverload<>(&QTimer::start));
    // A host may register with a watcher that was already there.
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
      session_.connect(watcher, QString::fromLatin1(StatusNotifierItem::kWatcherPath), watcher,
                       QString::fromLatin1(signal), &settle_, SLOT(start()));
    }
  }
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &TrayWatch::check);
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &TrayWatch::check);
  polls_ = QGuiApplication::platformName() == QStringLiteral("xcb");
  available_ = probeDesktop();
  watcherOwner_ = watcherOwner();
  pollWhileNone();
}

TrayWatch::TrayWatch(std::function<TrayKind()> probe, QObject* parent)
    : QObject(parent), probe_(std::move(probe)), session_(QStringLiteral("none")) {
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &TrayWatch::check);
  polls_ = true;
  available_ = probe_();
  pollWhileNone();
}

void TrayWatch::pollWhileNone() {
  if (polls_ && available_ == TrayKind::none) {
    poll_.start();
  } else {
    poll_.stop();
  }
}

void TrayWatch::check() {
  const TrayKind now = probe_ ? probe_() : probeDesktop();
  const QString owner = watcherOwner();
  const bool newWatcher = owner != watcherOwner_;
  watcherOwner_ = owner;
  if (now == available_) {
    if (now == TrayKind::statusNotifier && newWatcher) emit watcherReplaced();
    return;
  }
  available_ = now;
  pollWhileNone();
  emit changed(now);
}

QString TrayWatch::watcherOwner() const {
  if (!session_.isConnected()) return {};
  return session_.interface()->serviceOwner(QString::fromLatin1(StatusNotifierItem::kWatcherService)).value();
}

bool TrayWatch::statusNotifierHost() const {
  if (!session_.isConnected()) return false;
  const QString watcher = QString::fromLatin1(StatusNotifierItem::kWatcherService);
  if (!session_.interface()->isServiceRegistered(watcher).value()) return false;
  QDBusMessage get =
      QDBusMessage::createMethodCall(watcher, QString::fromLatin1(StatusNotifierItem::kWatcherPath),
                                     QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
  const QDBusReply<QDBusVariant> reply = session_.call(get, QDBus::Block, 2000);
  return reply.isValid() && reply.value().variant().toBool();
}

TrayKind TrayWatch::probeDesktop() const {
  if (statusNotifierHost()) return TrayKind::statusNotifier;
  // Asked only with no watcher there, so Qt's remembered answer is "XEmbed".
  if (QGuiApplication::platformName() == QStringLiteral("xcb") && QSystemTrayIcon::isSystemTrayAvailable()) {
    return TrayKind::xembed;
  }
  return TrayKind::none;
}

}  // namespace snoozlet::shell
