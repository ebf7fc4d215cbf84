#pragma once

// What the view tests share: the texts a widget shows, and demonstration
// nights with a holder or without requesters.

#include "PreviewModel.h"

#include <QLabel>
#include <QWidget>

#include <string>
#include <vector>

namespace snoozlet::testing {

// The text of every label under `widget`, in creation order.
inline QStringList labelTexts(const QWidget& widget) {
  QStringList texts;
  for (const QLabel* label : widget.findChildren<QLabel*>()) texts << label->text();
  return texts;
}

// One night from 23:00 on 5 December 2026, on battery 90 → 84.
inline DemoLog::Night demoNight(std::vector<DemoLog::Wake> wakes, std::optional<DemoLog::Holder> holder = {}) {
  DemoLog::Night night;
  night.start.year = 2026;
  night.start.month = 12;
  night.start.day = 5;
  night.start.hour = 23;
  night.hours = 8;
  night.batteryFrom = 90;
  night.batteryTo = 84;
  night.wakes = std::move(wakes);
  night.holder = std::move(holder);
  night.endReason = std::string(DemoLog::lid);
  return night;
}

}  // namespace snoozlet::testing
