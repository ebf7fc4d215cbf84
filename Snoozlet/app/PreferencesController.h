#pragma once

// The user's preferences as the settings window and the welcome window
// change them: plain mode, the morning notification (turning it on asks the
// desktop's notification service first, and it stays off when none answers
// or the service refuses) and opening at login (through the platform's login
// item, whose refusal is handed back with its reason). Both windows use this
// one controller, and its signals keep them in step.

#include "common/Result.h"

#include <QObject>

namespace snoozlet {

class AppSettings;
class LoginItem;
class MorningNotifier;

class PreferencesController : public QObject {
  Q_OBJECT

 public:
  // The settings, the login item and the notifier (which may be null: no
  // notification service) must outlive the controller.
  PreferencesController(AppSettings& settings, LoginItem& loginItem, MorningNotifier* notifier,
                        QObject* parent = nullptr);

  bool plainMode() const;
  void setPlainMode(bool on);

  bool morningNotification() const;
  // Off at once. On only once the notification service allows it:
  // notificationAnswered() tells the answer, at once when there is no service.
  void setMorningNotification(bool on);

  // The welcome window was finished or closed.
  bool welcomeCompleted() const;
  void setWelcomeCompleted();

  bool openAtLogin() const;
  // Registers or unregisters the login item; its failure carries the
  // system's reason, and openAtLogin() keeps what the system reports.
  Status setOpenAtLogin(bool on);

 signals:
  void plainModeChanged(bool on);
  void morningNotificationChanged(bool on);
  // A request to turn the notification on was answered.
  void notificationAnswered(bool granted);
  void openAtLoginChanged(bool on);

 private:
  AppSettings& settings_;
  LoginItem& loginItem_;
  MorningNotifier* notifier_;
};

}  // namespace snoozlet
