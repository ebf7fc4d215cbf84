#pragma once

// Every command of the application, made once. The main window's menu bar,
// the tray menu, the popover's "…" menu and the shortcuts of every window are
// views of this one set, so each label is translated once and each shortcut
// and enabled state exists once (Refresh is disabled while a refresh runs).
// The window manager connects the commands that open windows; Quit ends the
// application and Close Window closes the active window.

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::shell {

class AppActions : public QObject {
  Q_OBJECT

 public:
  explicit AppActions(AppModel& model, QObject* parent = nullptr);

  QAction* open() const { return open_; }
  QAction* refresh() const { return refresh_; }
  QAction* settings() const { return settings_; }
  QAction* howItWorks() const { return howItWorks_; }
  QAction* about() const { return about_; }
  QAction* closeWindow() const { return close_; }
  QAction* quit() const { return quit_; }

  // Open, Refresh, —, Settings…, How It Works, About Snoozlet, —, Quit.
  QList<QAction*> trayMenu() const;
  // Refresh, Settings…, How It Works, About Snoozlet, —, Quit.
  QList<QAction*> popoverMenu() const;
  // The shortcuts every window answers: Settings…, Refresh, Close Window, Quit.
  QList<QAction*> windowShortcuts() const;

 private:
  QAction* make(const QString& text, const QKeySequence& shortcut = {});
  QAction* separator();

  QAction* open_;
  QAction* refresh_;
  QAction* settings_;
  QAction* howItWorks_;
  QAction* about_;
  QAction* close_;
  QAction* quit_;
  QAction* firstSeparator_;
  QAction* secondSeparator_;
};

}  // namespace snoozlet::shell
