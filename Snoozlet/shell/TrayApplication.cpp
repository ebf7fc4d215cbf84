#include "shell/TrayApplication.h"

#include "views/Accessibility.h"
#include "views/Style.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <iostream>

namespace snoozlet::shell {

bool waitForTray(const std::function<bool()>& available, std::chrono::milliseconds limit) {
  QElapsedTimer waited;
  waited.start();
  while (!available()) {
    if (waited.elapsed() >= limit.count()) return false;
    QEventLoop pause;
    QTimer::singleShot(200, &pause, &QEventLoop::quit);
    pause.exec();
  }
  return true;
}

namespace {

bool trayFound(const TrayOptions& options) {
  const std::function<bool()> available =
      options.trayAvailable ? options.trayAvailable : [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
  return available() || (options.atLogin && waitForTray(available, options.trayWaitAtLogin));
}

}  // namespace

TrayApplication::TrayApplication(const TrayOptions& options, QObject* parent)
    : QObject(parent),
      storage_(options.preferencesFile ? std::make_unique<QSettings>(*options.preferencesFile, QSettings::IniFormat)
                                       : std::make_unique<QSettings>()),
      store_(*storage_),
      settings_(store_),
      notifier_(store_, &center_),
      loginItem_(launcherPath()),
      preferences_(settings_, loginItem_, &notifier_),
      model_(makeModel(settings_, &notifier_, options.launch)),
      changes_(makeChangeController(*model_, options.launch)),
      windows_(std::make_unique<WindowManager>(*model_, *changes_, preferences_, store_)) {
  if (trayFound(options)) {
    status_ = std::make_unique<StatusItemController>(*model_, *windows_);
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
  // A Linux laptop's nights gain the kernel's counts around each sleep.
  if (model_->nightSource() == NightSource::journal && model_->storage().archive) {
    SleepCounter::Options counting;
    counting.archive = *model_->storage().archive;
    sleepCounter_ =
        std::make_unique<SleepCounter>(options.systemBus.value_or(QDBusConnection::systemBus()), std::move(counting));
  }
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
  views::useRoomyStyle();
  views::installAccessibleRoles();
  TrayApplication tray(options);
  QObject::connect(&instance, &SingleInstance::showRequested, &tray.windows(), &WindowManager::showMainWindow);
  return QApplication::exec();
}

}  // namespace snoozlet::shell
