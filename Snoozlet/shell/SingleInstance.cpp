#include "shell/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>

#include <unistd.h>

namespace snoozlet::shell {

namespace {
constexpr char kShow[] = "show\n";
}  // namespace

QString SingleInstance::defaultName() {
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  if (display.isEmpty()) display = QStringLiteral("none");
  for (QChar& c : display) {
    if (!c.isLetterOrNumber() && c != u'.' && c != u'-' && c != u'_') c = u'_';
  }
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists())
    return QDir(runtime).filePath(QStringLiteral("snoozlet-") + display);
  // QLocalServer puts a bare name in the temporary folder.
  return QStringLiteral("snoozlet-%1-%2").arg(::getuid()).arg(display);
}

SingleInstance::SingleInstance(QString name, QObject* parent) : QObject(parent), name_(std::move(name)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (socket->readAll().startsWith("show")) emit showRequested();
        socket->disconnectFromServer();
      });
    }
  });
}

bool SingleInstance::askRunningToShow(int timeoutMs) {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(kShow);
  socket.flush();
  socket.waitForBytesWritten(timeoutMs);
  // The running instance closes the connection once it has read the request.
  socket.waitForDisconnected(timeoutMs);
  return true;
}

bool SingleInstance::listen(QString* error) {
  if (server_.listen(name_)) return true;
  // Nobody answered askRunningToShow: what is there is left by a crash.
  QLocalServer::removeServer(name_);
  if (server_.listen(name_)) return true;
  if (error != nullptr) *error = server_.errorString();
  return false;
}

}  // namespace snoozlet::shell
