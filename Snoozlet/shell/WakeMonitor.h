#pragma once

// Tells when the machine woke from sleep, so that the night just ended is
// read a few seconds later. On Linux logind says so on the system bus
// (PrepareForSleep with false); where no logind answers, a wall-clock jump
// stands in: the wall clock moving on much further than the process's own
// monotonic clock means the machine was asleep in between.

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

namespace snoozlet::shell {

class WakeMonitor : public QObject {
  Q_OBJECT

 public:
  enum class Source { logind, clockJump };

  // Listens on `bus` (the system bus by default) for logind, else watches the clock.
  explicit WakeMonitor(QDBusConnection bus = QDBusConnection::systemBus(), QObject* parent = nullptr);

  Source source() const { return source_; }

 signals:
  // The machine woke up.
  void woke();

 private slots:
  void prepareForSleep(bool starting);

 private:
  void checkClock();

  Source source_ = Source::clockJump;
  QTimer clock_;
  QElapsedTimer monotonic_;
  qint64 wallStart_ = 0;
};

// Refreshes the model a delay after every wake (8 seconds, so the network
// and the log have settled); a refresh already running drops the new one.
class WakeRefresher : public QObject {
  Q_OBJECT

 public:
  WakeRefresher(WakeMonitor& monitor, std::function<void()> refresh, std::chrono::milliseconds delay,
                QObject* parent = nullptr);

 private:
  QTimer timer_;
};

}  // namespace snoozlet::shell
