#pragma once

// The battery page: the battery's health in rows (capacity, cycles, charge,
// temperature, voltage) and this Mac's normal drain, each a value with its
// caption and a detail line; one sentence on a Mac without a battery.

#include "views/PageFrame.h"

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

class BatteryPage : public PageFrame {
  Q_OBJECT

 public:
  explicit BatteryPage(AppModel& model, QWidget* parent = nullptr);
  void rebuild();

 private:
  AppModel& model_;
};

}  // namespace snoozlet::views
