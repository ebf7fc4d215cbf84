#pragma once

// The history page: every archived night in a sortable table (Night, Asleep,
// Wakes, Awake, Battery, Mostly, Mood) and the battery drain per night as a strip
// of bars against this Mac's normal. The table view, its sort proxy and the
// strip live as long as the page; a refresh updates the table's model row by
// row, so the user's sort order, scroll position and selection survive it.

#include "analysis/Baseline.h"
#include "archive/ArchivedNight.h"
#include "narration/NightFormat.h"
#include "presentation/DrainStripLayout.h"
#include "presentation/PageRows.h"
#include "views/PageFrame.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

// The archived nights as table rows, newest first. The display role is the
// text the terminal's history shows too; the sort role the raw value.
class HistoryTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { night, asleep, wakes, awake, battery, mostly, mood, kColumns };
  static constexpr int kSortRole = Qt::UserRole;

  explicit HistoryTableModel(QObject* parent = nullptr);

  // Updates the rows in steps: nights no longer archived are removed, new
  // ones inserted where they belong, changed ones reported changed, so views
  // keep their selection and scroll position.
  void setNights(const std::vector<ArchivedNight>& newestFirst, const NightFormat& format,
                 NightSource source = NightSource::pmset);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  void reset(const std::vector<ArchivedNight>& nights, const NightFormat& format);

  std::vector<ArchivedNight> nights_;
  std::vector<presentation::HistoryRow> rows_;
  presentation::HistoryRow header_;
  NightSource source_ = NightSource::pmset;
};

// One bar per archived night's drain per hour, oldest on the left, with the
// normal as a line and the first and last nights' dates under it; a bar's
// night and figure are its tooltip, and the strip's accessible description
// says what it shows. Its geometry is computed when the nights or the size
// change, not as it paints.
class DrainStrip : public QWidget {
  Q_OBJECT

 public:
  explicit DrainStrip(QWidget* parent = nullptr);
  void setNights(const std::vector<ArchivedNight>& newestFirst, const std::optional<Baseline>& baseline,
                 const NightFormat& format);
  QSize sizeHint() const override;
  // The geometry as painted now.
  const presentation::DrainStripLayout& layout() const { return layout_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void lay();
  double top() const;
  double barsHeight() const;
  double labelWidth() const;

  std::vector<ArchivedNight> nights_;
  std::optional<Baseline> baseline_;
  std::optional<NightFormat> format_;
  presentation::DrainStripLayout layout_;
};

class HistoryPage : public PageFrame {
  Q_OBJECT

 public:
  explicit HistoryPage(const AppModel& model, QWidget* parent = nullptr);

  HistoryTableModel* tableModel() const { return table_; }
  QTableView* tableView() const { return view_; }
  QSortFilterProxyModel* sortedModel() const { return proxy_; }

 private:
  void update();

  const AppModel& model_;
  HistoryTableModel* table_;
  QSortFilterProxyModel* proxy_;
  QTableView* view_;
  QLabel* none_;
  QLabel* stripTitle_;
  DrainStrip* strip_;
};

}  // namespace snoozlet::views
