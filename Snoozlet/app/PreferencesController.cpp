#include "app/PreferencesController.h"

#include "app/AppSettings.h"
#include "app/LoginItem.h"
#include "app/MorningNotifier.h"

#include <QPointer>

namespace snoozlet {

PreferencesController::PreferencesController(AppSettings& settings, LoginItem& loginItem, MorningNotifier* notifier,
                                             QObject* parent)
    : QObject(parent), settings_(settings), loginItem_(loginItem), notifier_(notifier) {
  connect(&settings_, &AppSettings::plainModeChanged, this, &PreferencesController::plainModeChanged);
  connect(&settings_, &AppSettings::morningNotificationChanged, this,
          &PreferencesController::morningNotificationChanged);
}

bool PreferencesController::plainMode() const { return settings_.plainMode(); }
void PreferencesController::setPlainMode(bool on) { settings_.setPlainMode(on); }

bool PreferencesController::morningNotification() const { return settings_.morningNotification(); }

void PreferencesController::setMorningNotification(bool on) {
  if (!on) {
    settings_.setMorningNotification(false);
    return;
  }
  const auto answered = [self = QPointer<PreferencesController>(this)](bool granted) {
    if (self) emit self->notificationAnswered(granted);
  };
  if (notifier_ == nullptr) {
    settings_.setMorningNotification(false);
    answered(false);
    return;
  }
  notifier_->requestPermission(settings_, answered);
}

bool PreferencesController::welcomeCompleted() const { return settings_.welcomeCompleted(); }
void PreferencesController::setWelcomeCompleted() { settings_.setWelcomeCompleted(true); }

bool PreferencesController::openAtLogin() const { return loginItem_.isEnabled(); }

Status PreferencesController::setOpenAtLogin(bool on) {
  const bool before = loginItem_.isEnabled();
  const Status status = loginItem_.setEnabled(on);
  if (loginItem_.isEnabled() != before) emit openAtLoginChanged(loginItem_.isEnabled());
  return status;
}

}  // namespace snoozlet
