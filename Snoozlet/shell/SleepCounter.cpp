#include "shell/SleepCounter.h"

#include "archive/NightArchive.h"
#include "platform/linux/KernelCounters.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include <chrono>
#include <utility>

namespace snoozlet::shell {

namespace {

constexpr auto kLogind = "org.freedesktop.login1";
constexpr auto kPath = "/org/freedesktop/login1";
constexpr auto kManager = "org.freedesktop.login1.Manager";

}  // namespace

SleepCounter::SleepCounter(QDBusConnection bus, Options options, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), options_(std::move(options)) {
  const bool logind = bus_.isConnected() && bus_.interface() != nullptr &&
                      bus_.interface()->isServiceRegistered(QString::fromLatin1(kLogind)).value();
  if (!logind || !bus_.connect(QString::fromLatin1(kLogind), QString::fromLatin1(kPath), QString::fromLatin1(kManager),
                               QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)))) {
    return;
  }
  listening_ = true;
  takeLock();
}

Instant SleepCounter::now() const {
  if (options_.clock) return options_.clock();
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

void SleepCounter::takeLock() {
  QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kLogind), QString::fromLatin1(kPath),
                                                     QString::fromLatin1(kManager), QStringLiteral("Inhibit"));
  call << QStringLiteral("sleep") << QStringLiteral("Snoozlet")
       << QStringLiteral("Reading the kernel's wake counts before the sleep") << QStringLiteral("delay");
  // Asked without waiting: the application goes on while logind answers.
  // Without the lock the counts are still read when logind's signal comes;
  // the sleep just does not wait for them.
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
    const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *done;
    done->deleteLater();
    // A lock that comes after the sleep began is of no use for it: let it go.
    if (reply.isValid() && !asleep_) lock_ = reply.value();
  });
}

void SleepCounter::prepareForSleep(bool starting) {
  asleep_ = starting;
  if (starting) {
    before_ = readKernelSnapshot(options_.root, now());
    // Closing the descriptor lets the sleep go on.
    lock_ = QDBusUnixFileDescriptor();
    return;
  }
  const std::optional<KernelSnapshot> before = std::exchange(before_, std::nullopt);
  if (before) {
    const SleepCounts counts = kernel_counts::between(*before, readKernelSnapshot(options_.root, now()));
    auto archive = NightArchive::open(options_.archive);
    auto kept = archive ? (*archive)->storeSleep(counts)
                        : Result<void, NightArchive::Failure>::failure(
                              NightArchive::Failure::sqlite(archive.error().description()));
    if (kept) {
      emit stored();
    } else {
      emit storeFailed(QString::fromStdString(kept.error().description()));
    }
  }
  takeLock();
}

}  // namespace snoozlet::shell
