#include "shell/TrayApplication.h"

#include <QApplication>

#include <iostream>

namespace snoozlet::shell {

TrayApplication::TrayApplication(const TrayOptions& options, QObject* parent)
    : QObject(parent),
      storage_(options.preferencesFile ? std::make_unique<QSettings>(*options.preferencesFile, QSettings::IniFormat)
                                       : std::make_unique<QSettings>()),
      store_(*storage_),
      settings_(store_),
      notifier_(store_, &center_),
      loginItem_(launcherPath()),
      model_(makeModel(settings_, loginItem_, &notifier_, options.launch)),
      windows_(std::make_unique<WindowManager>(*model_, store_)) {
  connect(windows_.get(), &WindowManager::quitRequested, qApp, &QApplication::quit);
  if (options.trayAvailable.value_or(QSystemTrayIcon::isSystemTrayAvailable())) {
    status_ = std::make_unique<StatusItemController>(*model_, *windows_);
    connect(status_.get(), &StatusItemController::quitRequested, qApp, &QApplication::quit);
    status_->show();
    QApplication::setQuitOnLastWindowClosed(false);
  } else {
    std::cerr << "snoozlet: this desktop has no system tray; the main window stands in for it, and closing it "
                 "quits Snoozlet.\n";
    QApplication::setQuitOnLastWindowClosed(true);
  }
  model_->refresh();
  if (!settings_.welcomeCompleted()) {
    windows_->showWelcomeWindow();
  } else if (!options.atLogin || !status_) {
    windows_->showMainWindow();
  }
  wake_ = std::make_unique<WakeMonitor>(options.systemBus.value_or(QDBusConnection::systemBus()));
  refresher_ = std::make_unique<WakeRefresher>(
      *wake_, [this] { model_->refresh(); }, options.wakeDelay);
}

TrayApplication::~TrayApplication() = default;

int runTray(const TrayOptions& options) {
  SingleInstance instance(options.instanceName);
  if (instance.askRunningToShow()) return 0;
  QString problem;
  if (!instance.listen(&problem)) {
    std::cerr << "snoozlet: cannot make sure only one Snoozlet runs (" << problem.toStdString()
              << "); starting anyway\n";
  }
  TrayApplication tray(options);
  QObject::connect(&instance, &SingleInstance::showRequested, &tray.windows(), &WindowManager::showMainWindow);
  return QApplication::exec();
}

}  // namespace snoozlet::shell
