#include "app/AppSettings.h"

namespace snoozlet {

AppSettings::AppSettings(QSettings& store, QObject* parent)
    : QObject(parent),
      store_(store),
      plainMode_(read(kPlainMode)),
      morningNotification_(read(kMorningNotification)),
      welcomeCompleted_(read(kWelcomeCompleted)) {}

bool AppSettings::read(const char* key) const { return store_.value(key, false).toBool(); }

void AppSettings::write(const char* key, bool value) {
  store_.setValue(key, value);
  // Written through at once: a crash must not forget a switch the user set.
  store_.sync();
}

void AppSettings::setPlainMode(bool on) {
  write(kPlainMode, on);
  if (plainMode_ == on) return;
  plainMode_ = on;
  emit plainModeChanged(on);
}

void AppSettings::setMorningNotification(bool on) {
  write(kMorningNotification, on);
  if (morningNotification_ == on) return;
  morningNotification_ = on;
  emit morningNotificationChanged(on);
}

void AppSettings::setWelcomeCompleted(bool done) {
  write(kWelcomeCompleted, done);
  if (welcomeCompleted_ == done) return;
  welcomeCompleted_ = done;
  emit welcomeCompletedChanged(done);
}

}  // namespace snoozlet
