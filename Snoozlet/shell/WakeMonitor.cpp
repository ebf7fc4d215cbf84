#include "shell/WakeMonitor.h"

#include <QDBusConnectionInterface>
#include <QDateTime>

namespace snoozlet::shell {

namespace {

constexpr auto kLogind = "org.freedesktop.login1";
// How often the clock is compared, and how far ahead the wall clock must have
// run to count as a sleep.
constexpr int kClockCheckMs = 30000;
constexpr qint64 kJumpMs = 60000;

}  // namespace

WakeMonitor::WakeMonitor(QDBusConnection bus, QObject* parent) : QObject(parent) {
  const bool logind = bus.isConnected() && bus.interface() != nullptr &&
                      bus.interface()->isServiceRegistered(QString::fromLatin1(kLogind)).value();
  if (logind && bus.connect(QString::fromLatin1(kLogind), QStringLiteral("/org/freedesktop/login1"),
                            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                            SLOT(prepareForSleep(bool)))) {
    source_ = Source::logind;
    return;
  }
  source_ = Source::clockJump;
  monotonic_.start();
  wallStart_ = QDateTime::currentMSecsSinceEpoch();
  connect(&clock_, &QTimer::timeout, this, &WakeMonitor::checkClock);
  clock_.start(kClockCheckMs);
}

void WakeMonitor::prepareForSleep(bool starting) {
  if (!starting) emit woke();
}

void WakeMonitor::checkClock() {
  const qint64 wall = QDateTime::currentMSecsSinceEpoch() - wallStart_;
  const qint64 awake = monotonic_.elapsed();
  // CLOCK_MONOTONIC stops while the machine sleeps; the wall clock does not.
  if (wall - awake > kJumpMs) emit woke();
  monotonic_.restart();
  wallStart_ = QDateTime::currentMSecsSinceEpoch();
}

WakeRefresher::WakeRefresher(WakeMonitor& monitor, std::function<void()> refresh, std::chrono::milliseconds delay,
                             QObject* parent)
    : QObject(parent) {
  timer_.setSingleShot(true);
  timer_.setInterval(delay);
  connect(&timer_, &QTimer::timeout, this, [refresh = std::move(refresh)] { refresh(); });
  // Several wakes in a row: one refresh, the delay after the last.
  connect(&monitor, &WakeMonitor::woke, &timer_, qOverload<>(&QTimer::start));
}

}  // namespace snoozlet::shell
