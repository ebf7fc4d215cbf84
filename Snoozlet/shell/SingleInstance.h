#pragma once

// One tray application per user. The first `snoozlet` listens on a local
// socket in the runtime folder; a second one connects, asks it to show its
// main window, and exits. A socket left behind by a crash answers nobody, so
// it is removed and the new launch becomes the first.

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace snoozlet::shell {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // The socket's name for this user: "snoozlet-" + the user id.
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
