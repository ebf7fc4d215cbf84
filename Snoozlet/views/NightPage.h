#pragma once

// The main window's page for one night, top to bottom: the mascot's morning
// report, the row of figures, the night ribbon, what you can do, what woke
// the Mac, who set the alarm, who held the lamp, and where the figures come
// from. It shows the navigator's selected night. Its widgets are made once:
// a refresh or another night changes their contents, and only the part a
// signal concerns (the notice, the suggestions, the text in plain mode), so
// the focus and the scroll position survive.

#include "analysis/NightReport.h"
#include "views/PageFrame.h"

#include <optional>
#include <vector>

class QLabel;
class QVBoxLayout;

namespace snoozlet {
class AppModel;
class ChangeController;
}  // namespace snoozlet

namespace snoozlet::views {

class FigureTile;
class KernelCountsView;
class MorningReportView;
class Navigator;
class NightRibbon;
class RemediesSection;
class RowList;

class NightPage : public PageFrame {
  Q_OBJECT

 public:
  NightPage(AppModel& model, ChangeController& changes, Navigator& navigator, QWidget* parent = nullptr);

  // The night on show; nothing when the navigator has none.
  const std::optional<NightReport>& night() const { return night_; }
  RemediesSection* remedies() const { return remedies_; }

 private:
  // Shows the selected night when it differs from the one on show.
  void update();
  void showNight(const NightReport& night);
  void showReport();

  AppModel& model_;
  Navigator& navigator_;
  std::optional<NightReport> night_;
  MorningReportView* report_;
  FigureTile* asleep_;
  FigureTile* wakes_;
  FigureTile* battery_;
  NightRibbon* ribbon_;
  RemediesSection* remedies_;
  RowList* woke_;
  KernelCountsView* kernel_;
  RowList* alarms_;
  RowList* lamp_;
  QLabel* footnote_;
};

}  // namespace snoozlet::views
