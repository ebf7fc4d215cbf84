#pragma once

// The tray item: the teapot (two tones drawn from the application's palette,
// drawn again when it changes; the themed symbolic icon where the host
// recolours), a tooltip with the latest night, a left click that opens or
// closes the popover (its content, the menu-bar view, is made each time it
// opens), and a right click that shows the application's menu. It is shown
// in whichever kind of tray the desktop has (present()): as our own
// StatusNotifierItem, or as Qt's XEmbed tray icon.
//
// The popover hangs under the icon where its rectangle is known (XEmbed), at
// the position the StatusNotifierItem host gives with its activation, else
// at the pointer; on Wayland, where a window cannot be placed, it is a plain
// window the compositor places. It closes when the user clicks elsewhere or
// another window takes the focus.

#include "shell/PopoverPlacement.h"
#include "shell/TeapotIcon.h"
#include "shell/TrayWatch.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>

#include <memory>
#include <optional>

class QMenu;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::shell {

class StatusNotifierItem;
class WindowManager;

class StatusItemController : public QObject {
  Q_OBJECT

 public:
  // `session`: where a StatusNotifierItem is published.
  StatusItemController(AppModel& model, WindowManager& windows, QDBusConnection session, QObject* parent = nullptr);
  ~StatusItemController() override;

  // Shows the item in that kind of tray (none: in no tray).
  void present(TrayKind kind);
  TrayKind presentedIn() const { return kind_; }
  // Tells a new StatusNotifierWatcher about the item.
  void registerAgain();

  // A left click or the host's activation, at the position the host gives.
  void activate(std::optional<QPoint> at = std::nullopt);
  // Opens the popover, or closes it when open.
  void toggle();
  // The application's menu, under the icon (above it on a bottom panel).
  void showMenu();
  // Updates the tooltip from the model.
  void update();

  bool isPopoverOpen() const { return !popover_.isNull() && popover_->isVisible(); }
  QWidget* popover() const { return popover_; }
  QMenu* menu() const { return menu_; }
  QString toolTip() const { return toolTip_; }
  QIcon icon() const { return icon_; }
  // The XEmbed tray icon while the item is shown there.
  QSystemTrayIcon* trayIcon() const { return tray_.get(); }
  // Our StatusNotifierItem while the item is shown there.
  StatusNotifierItem* notifierItem() const { return notifier_.get(); }

  // Where the popover of `size` opens now.
  PopoverPlacement placement(QSize size) const;

 protected:
  // The desktop's colours changed: the teapot takes the new ones.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void open();
  void paintIcon();

  AppModel& model_;
  WindowManager& windows_;
  QDBusConnection session_;
  QMenu* menu_;
  TrayKind kind_ = TrayKind::none;
  std::unique_ptr<QSystemTrayIcon> tray_;
  std::unique_ptr<StatusNotifierItem> notifier_;
  QIcon icon_;
  TeapotTones tones_;
  QString toolTip_;
  // Where the host activated the item, for the popover it opens.
  std::optional<QPoint> activatedAt_;
  QPointer<QWidget> popover_;
  // When the popover last closed: a click on the icon that closed it (as a
  // click outside) must not open it again at once.
  QElapsedTimer closed_;
};

}  // namespace snoozlet::shell
