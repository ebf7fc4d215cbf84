#pragma once

// The tray item: the teapot in the panel's text colour, a tooltip with the
// latest night, a left click that opens or closes the popover (the popover's
// content, the menu-bar view, is made each time it opens), and a right click
// that shows the menu. The popover closes when the user clicks elsewhere.

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

// The tooltip: "Snoozlet" with no night, else "Snoozlet — Restless · 354 · 8 h".
QString trayTooltip(const AppModel& model);

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

 signals:
  void quitRequested();

 private:
  void open();
  void activated(QSystemTrayIcon::ActivationReason reason);

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
