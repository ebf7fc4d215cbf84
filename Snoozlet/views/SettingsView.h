#pragma once

// The "Snoozlet Settings" window's content: plain mode, the morning report
// notification (turning it on asks the notification service; it stays off
// with the reason when there is none or it refuses), opening at login (a
// failure's text beside the switch), the version, and the buttons that open
// "How It Works" and the about window.

#include "common/NightSource.h"
#include "sessions/Language.h"

#include <QDialog>

class QCheckBox;
class QLabel;

namespace snoozlet {
class PreferencesController;
}

namespace snoozlet::views {

class SettingsView : public QDialog {
  Q_OBJECT

 public:
  // The texts that name the machine's system follow `source`.
  SettingsView(PreferencesController& preferences, NightSource source, Language language, QWidget* parent = nullptr);

  QCheckBox* plainMode() const { return plain_; }
  QCheckBox* notification() const { return notification_; }
  QCheckBox* openAtLogin() const { return login_; }
  // Why the notification is off, or why opening at login failed; hidden when empty.
  QLabel* notificationReason() const { return notificationReason_; }
  QLabel* loginError() const { return loginError_; }

 signals:
  void welcomeRequested();
  void aboutRequested();

 private:
  PreferencesController& preferences_;
  QCheckBox* plain_;
  QCheckBox* notification_;
  QCheckBox* login_;
  QLabel* notificationReason_;
  QLabel* loginError_;
};

// The about window's content: the mascot, the name, the version, what it
// does, and the licence.
class AboutView : public QDialog {
  Q_OBJECT

 public:
  explicit AboutView(QWidget* parent = nullptr);
};

}  // namespace snoozlet::views
