#pragma once

// A private message bus for one test, run by dbus-daemon in a temporary
// folder; connections to it are named and closed with it.

#include "TestSupport.h"

#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace snoozlet::testing {

class PrivateBus {
 public:
  explicit PrivateBus(const TempDir& dir) {
    const QString program = QStandardPaths::findExecutable("dbus-daemon");
    if (program.isEmpty()) return;
    const std::string config = (dir / "bus.conf").string();
    writeFile(config,
              "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
              " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
              "<busconfig><type>session</type><listen>unix:path=" +
                  (dir / "bus").string() +
                  "</listen><auth>EXTERNAL</auth>"
                  "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                  "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                  "</busconfig>\n");
    daemon_.start(program, {"--config-file", QString::fromStdString(config), "--nofork", "--print-address"});
    if (daemon_.waitForReadyRead(10000)) address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
  }
  ~PrivateBus() {
    for (const QString& name : names_) QDBusConnection::disconnectFromBus(name);
    if (daemon_.state() != QProcess::NotRunning) {
      daemon_.kill();
      daemon_.waitForFinished(5000);
    }
  }
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  bool running() const { return !address_.isEmpty(); }
  // The bus's address, for a program started by the test.
  const QString& address() const { return address_; }
  QDBusConnection connect(const QString& name) {
    names_.push_back(name);
    return QDBusConnection::connectToBus(address_, name);
  }

 private:
  QProcess daemon_;
  QString address_;
  QStringList names_;
};

}  // namespace snoozlet::testing
