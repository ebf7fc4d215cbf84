#pragma once

// The battery page: the battery's health in rows (capacity, cycles, charge,
// temperature, voltage) and this Mac's normal drain, each a value with its
// caption and a detail line; one sentence on a Mac without a battery. A
// refresh changes the rows' words; rows are made or removed only when the
// battery reports more or fewer of them.

#include "presentation/PageRows.h"
#include "views/PageFrame.h"

#include <vector>

class QGridLayout;
class QLabel;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

class BatteryPage : public PageFrame {
  Q_OBJECT

 public:
  explicit BatteryPage(const AppModel& model, QWidget* parent = nullptr);

 private:
  struct RowLabels {
    QLabel* value;
    QLabel* caption;
    QLabel* detail;
  };

  void update();

  const AppModel& model_;
  QLabel* noBattery_;
  QGridLayout* grid_;
  std::vector<RowLabels> rows_;
};

}  // namespace snoozlet::views
