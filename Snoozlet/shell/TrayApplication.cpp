#include "shell/TrayApplication.h"

#include "views/Accessibility.h"
#include "views/Style.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

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
      preferences_(settings_, loginItem_, &notifier_),
      model_(makeModel(settings_, &notifier_, options.launch)),
      changes_(makeChangeController(*model_, options.launch)),
      windows_(std::make_unique<WindowManager>(*model_, *changes_, preferences_, store_)) {
  const QDBusConnection session = options.sessionBus.value_or(QDBusConnection::sessionBus());
  watch_ =
      options.trayAvailable ? std::make_unique<TrayWatch>(options.trayAvailable) : std::make_unique<TrayWatch>(session);
  status_ = std::make_unique<StatusItemController>(*model_, *windows_, session);
  status_->present(watch_->available());
  // Which window closing ends the application is decided here, by whether a tray is there.
  QApplication::setQuitOnLastWindowClosed(false);
  connect(watch_.get(), &TrayWatch::changed, this, &TrayApplication::trayChanged);
  connect(watch_.get(), &TrayWatch::watcherReplaced, status_.get(), &StatusItemController::registerAgain);
  connect(windows_.get(), &WindowManager::mainWindowAsked, this, [this] { standingIn_ = false; });
  connect(windows_.get(), &WindowManager::welcomeClosed, this, [this] {
    if (!hasTray()) windows_->showMainWindow();
  });
  connect(windows_.get(), &WindowManager::mainWindowClosed, this, [this] {
    standingIn_ = false;
    if (!hasTray()) QApplication::quit();
  });
  trayWait_.setSingleShot(true);
  connect(&trayWait_, &QTimer::timeout, this, [this] {
    if (!hasTray()) standIn();
  });
  model_->refresh();
  if (!settings_.welcomeCompleted()) {
    windows_->showWelcomeWindow();
  } else if (!options.atLogin) {
    windows_->showMainWindow();
  } else if (!hasTray()) {
    trayWait_.start(options.trayWaitAtLogin);
  }
  if (!hasTray() && !trayWait_.isActive()) sayNoTray();
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

void TrayApplication::sayNoTray() {
  if (toldNoTray_) return;
  toldNoTray_ = true;
  std::cerr << "snoozlet: this desktop has no system tray; the main window stands in for it, and closing it "
               "quits Snoozlet.\n";
}

void TrayApplication::standIn() {
  sayNoTray();
  const bool open = windows_->mainWindow() != nullptr && windows_->mainWindow()->isVisible();
  windows_->showMainWindow();
  standingIn_ = !open;
}

void TrayApplication::trayChanged(TrayKind available) {
  status_->present(available);
  if (available == TrayKind::none) return;
  trayWait_.stop();
  if (standingIn_ && windows_->mainWindow() != nullptr) windows_->mainWindow()->close();
  standingIn_ = false;
}

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
  QObject::connect(&instance, &SingleInstance::showRequested, &tray.windows(), [&tray] { tray.windows().open(); });
  return QApplication::exec();
}

}  // namespace snoozlet::shell
