#include "shell/AppActions.h"

#include "app/AppModel.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

namespace snoozlet::shell {

AppActions::AppActions(AppModel& model, QObject* parent)
    : QObject(parent),
      open_(make(tr("Open Snoozlet"))),
      refresh_(make(tr("Refresh"), QKeySequence(Qt::CTRL | Qt::Key_R))),
      settings_(make(tr("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma))),
      howItWorks_(make(tr("How It Works"))),
      about_(make(tr("About Snoozlet"))),
      close_(make(tr("Close Window"), QKeySequence(Qt::CTRL | Qt::Key_W))),
      quit_(make(tr("Quit Snoozlet"), QKeySequence(Qt::CTRL | Qt::Key_Q))),
      firstSeparator_(separator()),
      secondSeparator_(separator()) {
  settings_->setMenuRole(QAction::PreferencesRole);
  about_->setMenuRole(QAction::AboutRole);
  quit_->setMenuRole(QAction::QuitRole);
  connect(refresh_, &QAction::triggered, &model, [&model] { model.refresh(); });
  const auto loading = [this, &model] { refresh_->setEnabled(!model.state().isLoading()); };
  connect(&model, &AppModel::stateChanged, this, loading);
  loading();
  connect(close_, &QAction::triggered, this, [] {
    if (QWidget* window = QApplication::activeWindow()) window->close();
  });
  connect(quit_, &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

QAction* AppActions::make(const QString& text, const QKeySequence& shortcut) {
  auto* action = new QAction(text, this);
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    // Every window that carries the action answers its shortcut.
    action->setShortcutContext(Qt::WindowShortcut);
  }
  return action;
}

QAction* AppActions::separator() {
  auto* action = new QAction(this);
  action->setSeparator(true);
  return action;
}

QList<QAction*> AppActions::trayMenu() const {
  return {open_, refresh_, firstSeparator_, settings_, howItWorks_, about_, secondSeparator_, quit_};
}

QList<QAction*> AppActions::popoverMenu() const {
  return {refresh_, settings_, howItWorks_, about_, secondSeparator_, quit_};
}

QList<QAction*> AppActions::windowShortcuts() const { return {settings_, refresh_, close_, quit_}; }

}  // namespace snoozlet::shell
