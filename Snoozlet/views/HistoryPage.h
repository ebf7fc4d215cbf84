#pragma once

// The history page: every archived night in a sortable table (Night, Asleep,
// Wakes, Awake, Battery, Mostly) and the battery drain per night as a strip
// of bars against this Mac's normal.

#include "analysis/Baseline.h"
#include "archive/ArchivedNight.h"
#include "narration/NightFormat.h"
#include "presentation/PageRows.h"
#include "views/PageFrame.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

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
  enum Column { night, asleep, wakes, awake, battery, mostly, kColumns };
  static constexpr int kSortRole = Qt::UserRole;

  explicit HistoryTableModel(QObject* parent = nullptr);

  void setNights(const std::vector<ArchivedNight>& nights, const NightFormat& format,
                 NightSource source = NightSource::pmset);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<ArchivedNight> nights_;
  std::vector<presentation::HistoryRow> rows_;
  presentation::HistoryRow header_;
};

// One bar per archived night's drain per hour, oldest on the left, with the
// normal as a line.
class DrainStrip : public QWidget {
  Q_OBJECT

 public:
  explicit DrainStrip(QWidget* parent = nullptr);
  void setNights(const std::vector<ArchivedNight>& newestFirst, const std::optional<Baseline>& baseline,
                 const NightFormat& format);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<ArchivedNight> nights_;
  std::optional<Baseline> baseline_;
  std::optional<NightFormat> format_;
};

class HistoryPage : public PageFrame {
  Q_OBJECT

 public:
  explicit HistoryPage(AppModel& model, QWidget* parent = nullptr);
  void rebuild();

  HistoryTableModel* tableModel() const { return table_; }

 private:
  AppModel& model_;
  HistoryTableModel* table_;
};

}  // namespace snoozlet::views
