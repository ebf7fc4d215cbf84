#pragma once

// The main window's page for one night, top to bottom: the mascot's morning
// report, the row of figures, the night ribbon, what you can do, what woke
// the Mac, who set the alarm, who held the lamp, and where the figures come
// from. It shows the model's selected night, rebuilds itself when the model
// changes, and scrolls when taller than the window.

#include "analysis/NightReport.h"

#include "views/PageFrame.h"

#include <optional>

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

class NightPage : public PageFrame {
  Q_OBJECT

 public:
  explicit NightPage(AppModel& model, QWidget* parent = nullptr);

  // The night on show; nothing when the model has none.
  const std::optional<NightReport>& night() const { return night_; }

  // Builds the page again from the model.
  void rebuild();

 private:
  void build(const NightReport& night);

  AppModel& model_;
  std::optional<NightReport> night_;
};

}  // namespace snoozlet::views
