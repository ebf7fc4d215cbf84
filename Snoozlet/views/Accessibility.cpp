#include "views/Accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include <cstring>

namespace snoozlet::views {

namespace {

QAccessibleInterface* roleFor(const QString& className, QObject* object) {
  if (!object->isWidgetType()) return nullptr;
  const QByteArray name = className.toLatin1();
  struct Known {
    const char* name;
    QAccessible::Role role;
  };
  static constexpr Known kKnown[] = {{"snoozlet::views::MascotView", QAccessible::Graphic},
                                     {"snoozlet::views::MoodMoon", QAccessible::Graphic},
                                     {"snoozlet::views::StatusMark", QAccessible::Graphic},
                                     {"snoozlet::views::PageDots", QAccessible::Graphic},
                                     {"snoozlet::views::NightRibbon", QAccessible::Chart},
                                     {"snoozlet::views::DrainStrip", QAccessible::Chart},
                                     {"snoozlet::views::Separator", QAccessible::Separator}};
  for (const Known& known : kKnown) {
    if (std::strcmp(name.constData(), known.name) == 0) {
      return new QAccessibleWidget(static_cast<QWidget*>(object), known.role);
    }
  }
  return nullptr;
}

}  // namespace

void installAccessibleRoles() {
  static bool installed = false;
  if (installed) return;
  QAccessible::installFactory(roleFor);
  installed = true;
}

}  // namespace snoozlet::views
