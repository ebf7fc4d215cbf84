#include "app/LogindReader.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QVariantMap>

namespace snoozlet {

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

std::optional<QDBusMessage> ask(const QDBusConnection& bus, QDBusMessage call, int timeoutMs) {
  QDBusMessage reply = bus.call(call, QDBus::Block, timeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return std::nullopt;
  return reply;
}

QDBusMessage managerCall(const QString& method) {
  return QDBusMessage::createMethodCall(kService, kPath, kManager, method);
}

// ListInhibitors' a(ssssuu): what, who, why, mode, uid, pid.
std::vector<Inhibitor> inhibitors(const QVariant& value) {
  std::vector<Inhibitor> out;
  if (!value.canConvert<QDBusArgument>()) return out;
  const QDBusArgument list = value.value<QDBusArgument>();
  if (list.currentSignature() != QLatin1String("a(ssssuu)")) return out;
  list.beginArray();
  while (!list.atEnd()) {
    QString what, who, why, mode;
    uint uid = 0, pid = 0;
    list.beginStructure();
    list >> what >> who >> why >> mode >> uid >> pid;
    list.endStructure();
    out.push_back({what.toStdString(), who.toStdString(), why.toStdString(), mode.toStdString(), uid, pid});
  }
  list.endArray();
  return out;
}

}  // namespace

std::optional<LogindState> readLogind(const QDBusConnection& bus, int timeoutMs) {
  if (!bus.isConnected() || bus.interface() == nullptr) return std::nullopt;
  // Only a logind already running: asking would otherwise start one.
  const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(kService);
  if (!registered.isValid() || !registered.value()) return std::nullopt;

  QDBusMessage getAll = QDBusMessage::createMethodCall(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("GetAll"));
  getAll << kManager;
  const auto properties = ask(bus, getAll, timeoutMs);
  if (!properties) return std::nullopt;
  const QVariant first = properties->arguments().constFirst();
  QVariantMap map;
  if (first.canConvert<QDBusArgument>()) {
    first.value<QDBusArgument>() >> map;
  } else {
    map = first.toMap();
  }
  const auto text = [&](const char* name) {
    QVariant v = map.value(QString::fromLatin1(name));
    if (v.canConvert<QDBusVariant>()) v = v.value<QDBusVariant>().variant();
    return v.toString().toStdString();
  };
  LogindState state;
  state.lidOnBattery = text("HandleLidSwitch");
  state.lidOnExternalPower = text("HandleLidSwitchExternalPower");
  state.lidDocked = text("HandleLidSwitchDocked");
  if (state.lidOnBattery.empty()) return std::nullopt;
  // An older logind without one of these still says what the lid does.
  if (const auto listed = ask(bus, managerCall(QStringLiteral("ListInhibitors")), timeoutMs))
    state.inhibitors = inhibitors(listed->arguments().constFirst());
  if (const auto can = ask(bus, managerCall(QStringLiteral("CanSuspendThenHibernate")), timeoutMs))
    state.canSuspendThenHibernate = can->arguments().constFirst().toString().toStdString();
  return state;
}

std::function<std::optional<LogindState>()> logindReader(const SystemRoot& root) {
  if (!root.isMachine() && qEnvironmentVariableIsEmpty("DBUS_SYSTEM_BUS_ADDRESS")) return {};
  return [] { return readLogind(QDBusConnection::systemBus()); };
}

}  // namespace snoozlet
