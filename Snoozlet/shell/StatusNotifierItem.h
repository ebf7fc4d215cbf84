#pragma once

// The status item as a StatusNotifierItem (org.kde.StatusNotifierItem), the
// tray of KDE Plasma, Xfce's panel, GNOME's AppIndicator extension, waybar
// and other Wayland panels. It is ours rather than Qt's because Qt's drops
// the position the host gives with Activate(x, y) and decides once, at its
// first tray icon, whether a watcher exists. The item offers the themed
// icon's name and, for hosts that cannot find it, the teapot as pixmaps at
// every size in `teapotPixmapSizes()`; its menu is the tray menu, published
// as com.canonical.dbusmenu at /MenuBar.

#include "shell/DBusMenu.h"

#include <QDBusConnection>
#include <QIcon>
#include <QObject>
#include <QPoint>

#include <optional>

class QMenu;

namespace snoozlet::shell {

// One image of the icon: ARGB32 in network byte order.
struct NotifierPixmap {
  int width = 0;
  int height = 0;
  QByteArray argb;
};
using NotifierPixmaps = QList<NotifierPixmap>;

struct NotifierToolTip {
  QString iconName;
  NotifierPixmaps pixmaps;
  QString title;
  QString text;
};

class StatusNotifierItem : public QObject {
  Q_OBJECT

 public:
  static constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";
  static constexpr const char* kWatcherPath = "/StatusNotifierWatcher";

  StatusNotifierItem(QDBusConnection bus, QMenu* menu, QObject* parent = nullptr);
  ~StatusNotifierItem() override;

  // The item's bus name, org.kde.StatusNotifierItem-PID-N.
  QString service() const { return service_; }
  // Tells the watcher about the item (again after a new watcher appeared).
  void registerWithWatcher();

  void setIcon(const QString& name, const QIcon& icon);
  void setToolTip(const QString& title);

  QString iconName() const { return iconName_; }
  NotifierPixmaps pixmaps() const { return pixmaps_; }
  QString toolTip() const { return toolTip_; }

  // The icon's pixmaps at `sizes` pixels.
  static NotifierPixmaps pixmapsOf(const QIcon& icon, const QList<int>& sizes);

 Q_SIGNALS:
  // The host activated the item (a left click), at the screen position it
  // gives when it gives one.
  void activated(std::optional<QPoint> at);
  // The host asks the item to show its menu itself.
  void contextMenuRequested(QPoint at);
  // For the adaptor: the properties changed.
  void iconChanged();
  void toolTipChanged();

 private:
  QDBusConnection bus_;
  QString service_;
  DBusMenu* menu_;
  QString iconName_;
  NotifierPixmaps pixmaps_;
  QString toolTip_;
};

}  // namespace snoozlet::shell

Q_DECLARE_METATYPE(snoozlet::shell::NotifierPixmap)
Q_DECLARE_METATYPE(snoozlet::shell::NotifierToolTip)
