#pragma once

// A menu's actions published on the session bus as com.canonical.dbusmenu,
// the menu a StatusNotifierItem host shows for the item when it is
// right-clicked (it draws the menu itself, in the panel's own style). The
// menu is flat: item ids are the positions of the actions plus one, 0 is the
// root. A "clicked" event triggers the action; any change of an action's
// text, enabled state or visibility publishes a new layout revision.

#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariantMap>

class QMenu;
class QAction;

namespace snoozlet::shell {

// One item of the layout: its id, its properties and its children (each a
// variant holding a DBusMenuLayout).
struct DBusMenuLayout {
  int id = 0;
  QVariantMap properties;
  QList<QDBusVariant> children;
};

struct DBusMenuItemProperties {
  int id = 0;
  QVariantMap properties;
};

struct DBusMenuEvent {
  int id = 0;
  QString eventId;
  QDBusVariant data;
  uint timestamp = 0;
};

class DBusMenu : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
  Q_PROPERTY(uint Version READ version)
  Q_PROPERTY(QString TextDirection READ textDirection)
  Q_PROPERTY(QString Status READ status)
  Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

 public:
  explicit DBusMenu(QMenu* menu, QObject* parent = nullptr);

  static void registerTypes();

  uint version() const { return 3; }
  QString textDirection() const;
  QString status() const { return QStringLiteral("normal"); }
  QStringList iconThemePath() const { return {}; }

  // The properties of item `id` (0: the root), limited to `names` when any are given.
  QVariantMap properties(int id, const QStringList& names = {}) const;

 public Q_SLOTS:
  // QtDBus finds the types of slots by name: they are spelled in full.
  uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                 snoozlet::shell::DBusMenuLayout& layout);
  QList<snoozlet::shell::DBusMenuItemProperties> GetGroupProperties(const QList<int>& ids,
                                                                    const QStringList& propertyNames);
  QDBusVariant GetProperty(int id, const QString& name);
  void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
  QList<int> EventGroup(const QList<snoozlet::shell::DBusMenuEvent>& events);
  bool AboutToShow(int id);
  QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

 Q_SIGNALS:
  void LayoutUpdated(uint revision, int parent);
  void ItemActivationRequested(int id, uint timestamp);

 private:
  QAction* action(int id) const;
  void changed();

  QPointer<QMenu> menu_;
  uint revision_ = 1;
};

}  // namespace snoozlet::shell

Q_DECLARE_METATYPE(snoozlet::shell::DBusMenuLayout)
Q_DECLARE_METATYPE(snoozlet::shell::DBusMenuItemProperties)
Q_DECLARE_METATYPE(snoozlet::shell::DBusMenuEvent)
