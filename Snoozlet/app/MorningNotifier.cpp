#include "app/MorningNotifier.h"

#include "app/AppSettings.h"

#include <QPointer>

#include <chrono>
#include <cmath>

namespace snoozlet {

namespace {

Instant systemNow() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace

MorningNotifier::MorningNotifier(QSettings& store, NotificationCenter* center, Clock clock)
    : store_(store), center_(center), clock_(clock ? std::move(clock) : Clock(systemNow)) {}

Instant MorningNotifier::lastNotifiedNight() const { return store_.value(kLastNotifiedNight, 0.0).toDouble(); }

QString MorningNotifier::identifier(Instant nightStart) {
  return QStringLiteral("morning-") + QString::number(static_cast<long long>(std::trunc(nightStart)));
}

bool MorningNotifier::offer(const NightReport& night, const QString& title, const QString& body) {
  if (center_ == nullptr) return false;
  const SleepSession& session = night.session;
  if (!(lastNotifiedNight() < session.start)) return false;
  if (session.ending.kind() != SessionEnd::Kind::fullWake) return false;
  if (!(clock_() - session.end < kFreshFor)) return false;

  // Remembered before posting, so that a failing post can never lead to the
  // same night being posted again.
  store_.setValue(kLastNotifiedNight, session.start);
  store_.sync();
  center_->post(identifier(session.start), title, body);
  return true;
}

void MorningNotifier::requestPermission(AppSettings& settings, std::function<void(bool granted)> done) {
  auto answer = [target = QPointer<AppSettings>(&settings), done = std::move(done)](bool granted) {
    if (target) target->setMorningNotification(granted);
    if (done) done(granted);
  };
  if (center_ == nullptr) {
    answer(false);
    return;
  }
  center_->requestAuthorization(std::move(answer));
}

}  // namespace snoozlet
