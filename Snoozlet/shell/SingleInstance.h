#pragma once

// One tray application per graphical session. The first `snoozlet` listens
// on a local socket in the user's runtime folder named after the session's
// display; a second one on the same display connects, asks it to show its
// main window, and exits, while one on another display (another seat, a
// nested session, a test's own) runs its own. A socket left behind by a
// crash answers nobody, so it is removed and the new launch becomes the
// first.

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace snoozlet::shell {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // The socket for this session: $XDG_RUNTIME_DIR/snoozlet-<display>, where
  // the display is $WAYLAND_DISPLAY, else $DISPLAY, else "none" (characters
  // other than letters, digits, '.', '-' and '_' become '_'); without a
  // runtime folder, snoozlet-<user id>-<display> in the temporary folder.
  static QString defaultName();

  explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);

  // Asks a running instance to show its main window; true when one answered.
  bool askRunningToShow(int timeoutMs = 1000);
  // Becomes the running instance (replacing a stale socket); false when the
  // socket cannot be made, with the reason in `error`.
  bool listen(QString* error = nullptr);

 signals:
  // Another launch asked for the main window.
  void showRequested();

 private:
  QString name_;
  QLocalServer server_;
};

}  // namespace snoozlet::shell
