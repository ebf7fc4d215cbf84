#pragma once

// The tray item: the teapot in the panel's text colour (drawn again when the
// desktop's colours change), a tooltip with the latest night, a left click
// that opens or closes the popover (its content, the menu-bar view, is made
// each time it opens), and a right click that shows the application's menu.
// The popover closes when the user clicks elsewhere.

#include "shell/PopoverPlacement.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

class QMenu;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::shell {

class WindowManager;

class StatusItemController : public QObject {
  Q_OBJECT

 public:
  StatusItemController(AppModel& model, WindowManager& windows, QObject* parent = nullptr);
  ~StatusItemController() override;

  // A left click: opens the popover, or closes it when open.
  void toggle();
  // Updates the tooltip from the model.
  void update();
  // Shows the tray icon (where a tray exists).
  void show();

  bool isPopoverOpen() const { return !popover_.isNull() && popover_->isVisible(); }
  QWidget* popover() const { return popover_; }
  QMenu* menu() const { return menu_; }
  QSystemTrayIcon& trayIcon() { return tray_; }

  // Where the popover of `size` opens now.
  PopoverPlacement placement(QSize size) const;

 protected:
  // The desktop's colours changed: the teapot takes the new text colour.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void open();
  void activated(QSystemTrayIcon::ActivationReason reason);
  void paintIcon();

  AppModel& model_;
  WindowManager& windows_;
  QSystemTrayIcon tray_;
  QMenu* menu_;
  QPointer<QWidget> popover_;
  // When the popover last closed: a click on the icon that closed it (as a
  // click outside) must not open it again at once.
  QElapsedTimer closed_;
};

}  // namespace snoozlet::shell
