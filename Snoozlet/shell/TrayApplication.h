#pragma once

// The tray application, started by `snoozlet` with no command. Launch, in
// order: the preferences, the morning notifier (the desktop's notification
// service), the model (as every front end builds it: the configured pmset,
// its runner, the XDG login item, the standard data folder), the window
// manager, the status item with its tooltip kept current, the first refresh,
// the welcome window on first use (else the main window, unless launched at
// login), the wake monitor, and on a Linux laptop's journal the counter of
// the kernel's wakes around each sleep. A second launch shows the first one's main
// window.
//
// Without a system tray the main window is the application: it opens at
// launch (at login after a wait for a late panel) and when the welcome
// closes, and closing it quits. A tray that appears later, of either kind,
// is taken up at once; then the main window closes if Snoozlet opened it
// only to stand in for the tray, and closing it no longer quits.

#include "app/AppModel.h"
#include "app/AppSettings.h"
#include "app/ChangeController.h"
#include "app/DBusNotificationCenter.h"
#include "app/Launch.h"
#include "app/MorningNotifier.h"
#include "app/PreferencesController.h"
#include "app/XdgLoginItem.h"
#include "shell/SingleInstance.h"
#include "shell/SleepCounter.h"
#include "shell/StatusItemController.h"
#include "shell/TrayWatch.h"
#include "shell/WakeMonitor.h"
#include "shell/WindowManager.h"

#include <QSettings>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace snoozlet::shell {

struct TrayOptions {
  LaunchOptions launch;
  // Started by the login item's autostart entry (--login-item).
  bool atLogin = false;
  std::chrono::milliseconds wakeDelay{8000};
  // Where the single-instance socket lives.
  QString instanceName = SingleInstance::defaultName();
  // The preferences file; the standard store when absent.
  std::optional<QString> preferencesFile;
  // Which tray the desktop has, asked instead of the desktop (tests).
  std::function<TrayKind()> trayAvailable;
  // At login the panel that hosts the tray may start after Snoozlet: how long
  // to wait for it before the main window stands in.
  std::chrono::milliseconds trayWaitAtLogin{10000};
  // Where logind is asked about sleep; the system bus when absent.
  std::optional<QDBusConnection> systemBus;
  // Where the StatusNotifierItem tray is; the session bus when absent.
  std::optional<QDBusConnection> sessionBus;
};

class TrayApplication : public QObject {
  Q_OBJECT

 public:
  explicit TrayApplication(const TrayOptions& options, QObject* parent = nullptr);
  ~TrayApplication() override;

  AppModel& model() { return *model_; }
  ChangeController& changes() { return *changes_; }
  WindowManager& windows() { return *windows_; }
  StatusItemController& statusItem() { return *status_; }
  TrayWatch& trayWatch() { return *watch_; }
  WakeMonitor& wakeMonitor() { return *wake_; }
  // Reads the kernel's counts around each sleep; only for the journal source.
  SleepCounter* sleepCounter() { return sleepCounter_.get(); }
  // False while the desktop has no system tray.
  bool hasTray() const { return status_->presentedIn() != TrayKind::none; }
  // True while the main window is open only because there is no tray.
  bool standingIn() const { return standingIn_; }

 private:
  void trayChanged(TrayKind available);
  // Opens the main window in place of the missing tray.
  void standIn();
  // Says once, on standard error, that the main window stands in for the tray.
  void sayNoTray();

  std::unique_ptr<QSettings> storage_;
  QSettings& store_;
  AppSettings settings_;
  DBusNotificationCenter center_;
  MorningNotifier notifier_;
  XdgLoginItem loginItem_;
  PreferencesController preferences_;
  std::unique_ptr<AppModel> model_;
  std::unique_ptr<ChangeController> changes_;
  std::unique_ptr<WindowManager> windows_;
  std::unique_ptr<TrayWatch> watch_;
  std::unique_ptr<StatusItemController> status_;
  QTimer trayWait_;
  bool standingIn_ = false;
  bool toldNoTray_ = false;
  std::unique_ptr<WakeMonitor> wake_;
  std::unique_ptr<WakeRefresher> refresher_;
  std::unique_ptr<SleepCounter> sleepCounter_;
};

// Runs the tray application in `app` until it quits; the exit status. A
// second launch asks the first to show its main window and returns 0.
int runTray(const TrayOptions& options);

}  // namespace snoozlet::shell
