#pragma once

// The popover's content: the latest night in brief (the compact morning
// report, three figures and the compact ribbon), "Open Snoozlet", and the
// action menu behind "…". Before the first night it says why there is none.
// The actions that open windows or quit are signals: the tray shell owns
// the windows.

#include <QWidget>

class QMenu;
class QToolButton;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

class MenuBarView : public QWidget {
  Q_OBJECT

 public:
  explicit MenuBarView(AppModel& model, QWidget* parent = nullptr);

  // The action menu, in order: Refresh, Settings…, How It Works, About
  // Snoozlet, Quit Snoozlet.
  QMenu* actionMenu() const { return menu_; }

  void rebuild();

 signals:
  void settingsRequested();
  void welcomeRequested();
  void aboutRequested();
  void quitRequested();
  // The popover should close (after "Open Snoozlet").
  void closeRequested();

 private:
  QWidget* build();

  AppModel& model_;
  QMenu* menu_;
  QWidget* content_ = nullptr;
};

}  // namespace snoozlet::views
