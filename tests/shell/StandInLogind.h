#pragma once

// A stand-in for logind on a private bus: it owns org.freedesktop.login1,
// announces PrepareForSleep, and hands out delay locks as logind does (the
// write end of a pipe; the lock is released when every copy of that end is
// closed). It answers the lid actions as properties, the inhibitors it is
// given with ListInhibitors' a(ssssuu), and CanSuspendThenHibernate.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QObject>

#include <poll.h>
#include <unistd.h>

#include <vector>

namespace snoozlet::testing {

// One of ListInhibitors' entries.
struct StandInInhibitor {
  QString what, who, why, mode;
  uint uid = 0, pid = 0;
};

inline QDBusArgument& operator<<(QDBusArgument& a, const StandInInhibitor& i) {
  a.beginStructure();
  a << i.what << i.who << i.why << i.mode << i.uid << i.pid;
  a.endStructure();
  return a;
}
inline const QDBusArgument& operator>>(const QDBusArgument& a, StandInInhibitor& i) {
  a.beginStructure();
  a >> i.what >> i.who >> i.why >> i.mode >> i.uid >> i.pid;
  a.endStructure();
  return a;
}

}  // namespace snoozlet::testing

Q_DECLARE_METATYPE(snoozlet::testing::StandInInhibitor)

namespace snoozlet::testing {

class StandInLogind : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
  Q_PROPERTY(QString HandleLidSwitch MEMBER lidOnBattery)
  Q_PROPERTY(QString HandleLidSwitchExternalPower MEMBER lidOnExternalPower)
  Q_PROPERTY(QString HandleLidSwitchDocked MEMBER lidDocked)

 public:
  explicit StandInLogind(QDBusConnection bus) : bus_(std::move(bus)) {
    qDBusRegisterMetaType<StandInInhibitor>();
    qDBusRegisterMetaType<QList<StandInInhibitor>>();
    bus_.registerService(QStringLiteral("org.freedesktop.login1"));
    bus_.registerObject(QStringLiteral("/org/freedesktop/login1"), this,
                        QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties);
  }

  QString lidOnBattery = QStringLiteral("suspend");
  QString lidOnExternalPower = QStringLiteral("suspend");
  QString lidDocked = QStringLiteral("ignore");
  QList<StandInInhibitor> inhibitors;
  QString canSuspendThenHibernate = QStringLiteral("na");
  ~StandInLogind() override {
    for (int fd : readEnds_) ::close(fd);
  }

  // Every Inhibit call: what, who, why, mode.
  QList<QStringList> calls;

  // How many locks are still held (their write ends open somewhere).
  int held() const {
    int count = 0;
    for (int fd : readEnds_) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 0) == 0 || !(p.revents & POLLHUP)) ++count;
    }
    return count;
  }

  // PrepareForSleep: true as the system goes to sleep, false as it wakes.
  bool announce(bool sleeping) {
    QDBusMessage signal =
        QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                   QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
    signal << sleeping;
    return bus_.send(signal);
  }

 public slots:
  QList<StandInInhibitor> ListInhibitors() { return inhibitors; }
  QString CanSuspendThenHibernate() { return canSuspendThenHibernate; }
  QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why, const QString& mode) {
    calls.push_back({what, who, why, mode});
    int ends[2];
    if (::pipe(ends) != 0) return {};
    readEnds_.push_back(ends[0]);
    QDBusUnixFileDescriptor lock(ends[1]);  // a copy of the write end
    ::close(ends[1]);
    return lock;
  }

 private:
  QDBusConnection bus_;
  std::vector<int> readEnds_;
};

}  // namespace snoozlet::testing
