#pragma once

// What the view tests share: the texts a widget shows, and demonstration
// nights with a holder or without requesters.

#include "PreviewModel.h"

#include <QLabel>
#include <QWidget>

#include <stdexcept>
#include <string>
#include <vector>

namespace snoozlet::testing {

// The text of every label under `widget`, in creation order.
inline QStringList labelTexts(const QWidget& widget) {
  QStringList texts;
  for (const QLabel* label : widget.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

// The descendant of `parent` of type T named `name` (of any name when empty). A missing one throws, which
// fails the test, so callers need no guard.
template <typename T>
T& child(const QObject& parent, const QString& name = {}) {
  if (T* found = parent.findChild<T*>(name)) return *found;
  throw std::runtime_error("no child " + name.toStdString() + " of " + T::staticMetaObject.className());
}

// One night from 23:00 on 5 December 2026, on battery 90 → 84.
inline DemoLog::Night demoNight(std::vector<DemoLog::Wake> wakes, std::optional<DemoLog::Holder> holder = {}) {
  return {.start = {2026, 12, 5, 23, {}, {}}, .hours = 8, .batteryFrom = 90, .batteryTo = 84, .wakes = std::move(wakes),
          .holder = std::move(holder), .endReason = std::string(DemoLog::lid)};
}

}  // namespace snoozlet::testing
