#pragma once

// Which kind of system tray the desktop has now, and word when that changes.
// A StatusNotifierItem tray is there when org.kde.StatusNotifierWatcher is on
// the session bus and a host has registered with it (the watcher's own
// IsStatusNotifierHostRegistered); the bus tells when either comes or goes.
// An XEmbed tray (a manager of the _NET_SYSTEM_TRAY selection, X11 only) is
// asked about every second while there is no tray at all. After word from
// the bus the answer is read half a second later, once a starting panel has
// settled. Both are preferred
// in that order: the same panel often hosts both kinds (Xfce's), and the
// StatusNotifierItem host recolours the symbolic icon and draws the menu in
// its own style.
//
// Qt's QSystemTrayIcon decides at its first question whether it will speak
// to a StatusNotifierWatcher, and keeps that answer; the XEmbed tray is
// asked about through it only while no watcher is there, so that its answer
// (and every QSystemTrayIcon after it) stays on XEmbed.

#include <QDBusConnection>
#include <QObject>
#include <QTimer>

#include <functional>

namespace snoozlet::shell {

enum class TrayKind { none, statusNotifier, xembed };

class TrayWatch : public QObject {
  Q_OBJECT

 public:
  // Watches the desktop: the session bus and, on X11, the display.
  explicit TrayWatch(QDBusConnection session, QObject* parent = nullptr);
  // Asks `probe` instead (tests): on check() and every second.
  explicit TrayWatch(std::function<TrayKind()> probe, QObject* parent = nullptr);

  TrayKind available() const { return available_; }

 public Q_SLOTS:
  // Asks again; emits changed() when the answer differs.
  void check();

 Q_SIGNALS:
  void changed(snoozlet::shell::TrayKind available);
  // Another watcher took over (a panel restarted): items must register again.
  void watcherReplaced();

 private:
  TrayKind probeDesktop() const;
  bool statusNotifierHost() const;
  // The unique bus name of the StatusNotifierWatcher; empty without one.
  QString watcherOwner() const;
  // The display is asked again every second only while there is no tray:
  // one that goes away is Qt's to dock into again when it returns.
  void pollWhileNone();

  std::function<TrayKind()> probe_;
  QDBusConnection session_;
  QTimer poll_;
  QTimer settle_;
  bool polls_ = false;
  TrayKind available_ = TrayKind::none;
  QString watcherOwner_;
};

}  // namespace snoozlet::shell
