#pragma once

// The popover's content: the latest night in brief (the compact morning
// report, three figures and the compact ribbon), "Open Snoozlet", and the
// application's menu behind "…". Before the first night it says why there is
// none. It is made once for each opening and updated in place while open.
// Opening the main window is a request: the tray shell owns the windows.

#include "common/Instant.h"

#include <QList>
#include <QWidget>

#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolButton;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

class FigureTile;
class MorningReportView;
class NightRibbon;

class MenuBarView : public QWidget {
  Q_OBJECT

 public:
  // `menu`: the actions behind "…", in order.
  MenuBarView(const AppModel& model, const QList<QAction*>& menu, QWidget* parent = nullptr);

  QMenu* actionMenu() const { return menu_; }
  QPushButton* openButton() const { return open_; }
  QToolButton* moreButton() const { return more_; }

  QSize sizeHint() const override;

 signals:
  // "Open Snoozlet": the main window, on the night shown (none before the first).
  void openRequested(std::optional<Instant> night);

 private:
  void update();

  const AppModel& model_;
  QMenu* menu_;
  QLabel* status_;
  QWidget* night_;
  MorningReportView* report_;
  FigureTile* wakes_;
  FigureTile* awake_;
  FigureTile* battery_;
  QLabel* kernel_;
  NightRibbon* ribbon_;
  QPushButton* open_;
  QToolButton* more_;
  std::optional<Instant> shown_;
};

}  // namespace snoozlet::views
