#include "shell/DBusMenu.h"

#include <QAction>
#include <QDBusMetaType>
#include <QGuiApplication>
#include <QMenu>

namespace snoozlet::shell {

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayout& item) {
  argument.beginStructure();
  argument << item.id << item.properties;
  argument.beginArray(qMetaTypeId<QDBusVariant>());
  for (const QDBusVariant& child : item.children) argument << child;
  argument.endArray();
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayout& item) {
  argument.beginStructure();
  argument >> item.id >> item.properties;
  item.children.clear();
  argument.beginArray();
  while (!argument.atEnd()) {
    QDBusVariant child;
    argument >> child;
    item.children << child;
  }
  argument.endArray();
  argument.endStructure();
  return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemProperties& item) {
  argument.beginStructure();
  argument << item.id << item.properties;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemProperties& item) {
  argument.beginStructure();
  argument >> item.id >> item.properties;
  argument.endStructure();
  return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event) {
  argument.beginStructure();
  argument << event.id << event.eventId << event.data << event.timestamp;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event) {
  argument.beginStructure();
  argument >> event.id >> event.eventId >> event.data >> event.timestamp;
  argument.endStructure();
  return argument;
}

void DBusMenu::registerTypes() {
  static const bool registered = [] {
    qDBusRegisterMetaType<DBusMenuLayout>();
    qDBusRegisterMetaType<DBusMenuItemProperties>();
    qDBusRegisterMetaType<QList<DBusMenuItemProperties>>();
    qDBusRegisterMetaType<DBusMenuEvent>();
    qDBusRegisterMetaType<QList<DBusMenuEvent>>();
    return true;
  }();
  (void)registered;
}

DBusMenu::DBusMenu(QMenu* menu, QObject* parent) : QObject(parent), menu_(menu) {
  registerTypes();
  const auto follow = [this](QAction* action) { connect(action, &QAction::changed, this, &DBusMenu::changed); };
  for (QAction* action : menu->actions()) follow(action);
}

namespace {

// Qt marks the access key with '&' ("&&" is an ampersand); the host's
// labels mark it with '_' ("__" is an underscore).
QString hostLabel(const QString& text) {
  QString label;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('_')) {
      label += QStringLiteral("__");
    } else if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
      ++i;
      label += text[i] == QLatin1Char('&') ? QStringLiteral("&") : QStringLiteral("_") + text[i];
    } else {
      label += text[i];
    }
  }
  return label;
}

}  // namespace

QString DBusMenu::textDirection() const {
  return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl") : QStringLiteral("ltr");
}

QAction* DBusMenu::action(int id) const {
  if (menu_.isNull() || id < 1) return nullptr;
  const QList<QAction*> actions = menu_->actions();
  return id <= actions.size() ? actions[id - 1] : nullptr;
}

QVariantMap DBusMenu::properties(int id, const QStringList& names) const {
  QVariantMap all;
  if (id == 0) {
    all.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
  } else if (const QAction* item = action(id)) {
    if (item->isSeparator()) {
      all.insert(QStringLiteral("type"), QStringLiteral("separator"));
    } else {
      all.insert(QStringLiteral("label"), hostLabel(item->text()));
    }
    all.insert(QStringLiteral("enabled"), item->isEnabled());
    all.insert(QStringLiteral("visible"), item->isVisible());
  }
  if (names.isEmpty()) return all;
  QVariantMap asked;
  for (const QString& name : names) {
    if (all.contains(name)) asked.insert(name, all.value(name));
  }
  return asked;
}

uint DBusMenu::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                         snoozlet::shell::DBusMenuLayout& layout) {
  layout = {};
  layout.id = parentId;
  layout.properties = properties(parentId, propertyNames);
  if (parentId == 0 && recursionDepth != 0 && !menu_.isNull()) {
    for (int id = 1; id <= menu_->actions().size(); ++id) {
      DBusMenuLayout child;
      child.id = id;
      child.properties = properties(id, propertyNames);
      layout.children << QDBusVariant(QVariant::fromValue(child));
    }
  }
  return revision_;
}

QList<DBusMenuItemProperties> DBusMenu::GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames) {
  QList<DBusMenuItemProperties> result;
  for (const int id : ids) {
    if (id == 0 || action(id) != nullptr) result << DBusMenuItemProperties{id, properties(id, propertyNames)};
  }
  return result;
}

QDBusVariant DBusMenu::GetProperty(int id, const QString& name) {
  return QDBusVariant(properties(id, {name}).value(name));
}

void DBusMenu::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
  QAction* item = action(id);
  if (item == nullptr || eventId != QStringLiteral("clicked") || !item->isEnabled()) return;
  // Triggered after the call returns: the host's reply is not held up by a window opening.
  QMetaObject::invokeMethod(item, &QAction::trigger, Qt::QueuedConnection);
}

QList<int> DBusMenu::EventGroup(const QList<DBusMenuEvent>& events) {
  QList<int> unknown;
  for (const DBusMenuEvent& event : events) {
    if (action(event.id) == nullptr) {
      unknown << event.id;
    } else {
      Event(event.id, event.eventId, event.data, event.timestamp);
    }
  }
  return unknown;
}

bool DBusMenu::AboutToShow(int) { return false; }

QList<int> DBusMenu::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
  idErrors.clear();
  for (const int id : ids) {
    if (id != 0 && action(id) == nullptr) idErrors << id;
  }
  return {};
}

void DBusMenu::changed() { emit LayoutUpdated(++revision_, 0); }

}  // namespace snoozlet::shell
