#include "views/HistoryPage.h"

#include "app/AppModel.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QSortFilterProxyModel>
#include <QTableView>

#include <algorithm>
#include <functional>
#include <unordered_set>

namespace snoozlet::views {

namespace {


const std::string& cell(const presentation::HistoryRow& row, int column) {
  switch (column) {
    case HistoryTableModel::night: return row.night;
    case HistoryTableModel::asleep: return row.asleep;
    case HistoryTableModel::wakes: return row.wakes;
    case HistoryTableModel::awake: return row.awake;
    case HistoryTableModel::battery: return row.battery;
    case HistoryTableModel::mostly: return row.mostly;
    default: return row.mood;
  }
}

// Cells with room on both sides, so neighbouring columns never touch.
class PaddedDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem inset = option;
    initStyleOption(&inset, index);
    // The selection spans the whole cell; only the words move in.
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &inset, painter, widget);
    inset.rect.adjust(kUnit, 0, -kUnit, 0);
    inset.backgroundBrush = Qt::NoBrush;
    inset.state &= ~QStyle::State_HasFocus;
    style->drawControl(QStyle::CE_ItemViewItem, &inset, painter, widget);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(kUnit * 2, 0);
  }
};

bool newestFirst(const std::vector<ArchivedNight>& nights) {
  return std::is_sorted(nights.begin(), nights.end(),
                        [](const ArchivedNight& a, const ArchivedNight& b) { return a.start > b.start; });
}

}  // namespace

HistoryTableModel::HistoryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void HistoryTableModel::reset(const std::vector<ArchivedNight>& nights, const NightFormat& format) {
  beginResetModel();
  nights_ = nights;
  rows_.clear();
  rows_.reserve(nights.size());
  for (const ArchivedNight& n : nights) rows_.push_back(presentation::historyRow(n, format, source_));
  header_ = presentation::historyHeader(format.language());
  endResetModel();
}

void HistoryTableModel::setNights(const std::vector<ArchivedNight>& nights, const NightFormat& format,
                                  NightSource source) {
  const presentation::HistoryRow header = presentation::historyHeader(format.language());
  // Steps need both lists in one order; the archive gives them newest first.
  if (header != header_ || source != source_ || !newestFirst(nights) || !newestFirst(nights_)) {
    source_ = source;
    reset(nights, format);
    return;
  }
  std::unordered_set<Instant> kept;
  for (const ArchivedNight& n : nights) kept.insert(n.start);
  // Nights no longer archived go, last first, a run of rows at a time.
  for (int row = rowCount() - 1; row >= 0;) {
    if (kept.contains(nights_[static_cast<std::size_t>(row)].start)) {
      --row;
      continue;
    }
    int first = row;
    while (first > 0 && !kept.contains(nights_[static_cast<std::size_t>(first - 1)].start)) --first;
    beginRemoveRows({}, first, row);
    nights_.erase(nights_.begin() + first, nights_.begin() + row + 1);
    rows_.erase(rows_.begin() + first, rows_.begin() + row + 1);
    endRemoveRows();
    row = first - 1;
  }
  // New nights come in where they belong; the same night with other figures is a change.
  int changedFirst = -1, changedLast = -1;
  for (std::size_t i = 0; i < nights.size(); ++i) {
    const int row = static_cast<int>(i);
    if (i < nights_.size() && nights_[i].start == nights[i].start) {
      if (!(nights_[i] == nights[i])) {
        nights_[i] = nights[i];
        rows_[i] = presentation::historyRow(nights[i], format, source_);
        if (changedFirst < 0) changedFirst = row;
        changedLast = row;
      }
      continue;
    }
    beginInsertRows({}, row, row);
    nights_.insert(nights_.begin() + row, nights[i]);
    rows_.insert(rows_.begin() + row, presentation::historyRow(nights[i], format, source_));
    endInsertRows();
  }
  if (changedFirst >= 0) emit dataChanged(index(changedFirst, 0), index(changedLast, kColumns - 1));
}

int HistoryTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const auto row = static_cast<std::size_t>(index.row());
  if (role == Qt::DisplayRole) return shown(cell(rows_[row], index.column()));
  if (role == Qt::TextAlignmentRole) {
    const bool number = index.column() == wakes;
    return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
  }
  if (role == kSortRole) {
    const ArchivedNight& n = nights_[row];
    switch (index.column()) {
      case night: return n.start;
      case asleep: return n.duration();
      case wakes: return n.darkWakes;
      case awake: return n.awakeSeconds;
      // A night without a figure sorts below every measured one.
      case battery: return n.perHour.value_or(-1.0);
      // Sound asleep, restless, sleepless: from the calmest night.
      case mood: return static_cast<int>(n.mood);
      default: return shown(rows_[row].mostly);
    }
  }
  return {};
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
  // The count's title stands over its right-aligned numbers.
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(Qt::AlignVCenter | (section == wakes ? Qt::AlignRight : Qt::AlignLeft));
  }
  if (role != Qt::DisplayRole) return {};
  return shown(cell(header_, section));
}

DrainStrip::DrainStrip(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAccessibleName(tr("Battery drain per night"));
  setMouseTracking(true);
}

void DrainStrip::setNights(const std::vector<ArchivedNight>& newestFirst, const std::optional<Baseline>& baseline,
                           const NightFormat& format) {
  nights_ = newestFirst;
  baseline_ = baseline;
  format_ = format;
  lay();
}

QSize DrainStrip::sizeHint() const { return QSize(columns(font(), 80), lines(font(), 7)); }

void DrainStrip::resizeEvent(QResizeEvent*) { lay(); }

double DrainStrip::top() const { return QFontMetricsF(captionFont(font())).height() / 2 + 2; }

double DrainStrip::barsHeight() const {
  // Under the bars, a line for the dates of the first and the last night.
  return height() - top() - QFontMetricsF(captionFont(font())).height() - kUnit / 2.0;
}

double DrainStrip::labelWidth() const {
  if (layout_.referenceLabel.empty()) return 0;
  return QFontMetricsF(captionFont(font())).horizontalAdvance(shown(layout_.referenceLabel)) + kUnit;
}

void DrainStrip::lay() {
  layout_ = {};
  if (format_ && !nights_.empty()) {
    // Room on the right of the bars for the normal's label.
    const std::string label =
        baseline_ ? presentation::layoutDrainStrip({}, baseline_, *format_, {}).referenceLabel : std::string();
    const double room = label.empty() ? 0 : QFontMetricsF(captionFont(font())).horizontalAdvance(shown(label)) + kUnit;
    // A bar no wider than two characters: a week reads as a week, not as seven blocks.
    layout_ = presentation::layoutDrainStrip(nights_, baseline_, *format_,
                                             {std::max(width() - room, 0.0), std::max(barsHeight(), 0.0), 2,
                                              static_cast<double>(columns(font(), 2))});
  }
  setAccessibleDescription(shown(layout_.summary));
  update();
}

bool DrainStrip::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    // The night under the pointer, in words.
    const auto* help = static_cast<QHelpEvent*>(event);
    for (const auto& bar : layout_.bars) {
      if (help->pos().x() >= bar.rect.x && help->pos().x() <= bar.rect.right()) {
        QToolTip::showText(help->globalPos(), shown(bar.label), this);
        return true;
      }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
  }
  return QWidget::event(event);
}

void DrainStrip::paintEvent(QPaintEvent*) {
  if (layout_.bars.empty()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QFont caption = captionFont(font());
  const QFontMetricsF metrics(caption);
  const double offset = top();
  const double base = offset + std::max(barsHeight(), 0.0);
  const double barsWidth = std::max(width() - labelWidth(), 0.0);
  QColor ordinary = secondaryText(palette());
  ordinary.setAlphaF(0.55f);
  for (const auto& bar : layout_.bars) {
    const QRectF r(bar.rect.x, offset + bar.rect.y, bar.rect.width,
                   std::max(bar.rect.height, bar.perHour ? 1.0 : 0.0));
    const QColor colour = bar.band == presentation::RatioBand::ordinary ? ordinary : ratioColor(bar.band, palette());
    p.fillRect(r, colour);
  }
  const double from = layout_.bars.front().rect.x;
  p.setPen(QPen(secondaryText(palette()), 1));
  p.drawLine(QPointF(from, base - 0.5), QPointF(barsWidth, base - 0.5));
  p.setFont(caption);
  // The first and the last night's dates under the strip's two ends.
  const QRectF dates(from, base + kUnit / 2.0, barsWidth - from, metrics.height());
  p.drawText(dates, Qt::AlignLeft | Qt::AlignTop, shown(layout_.firstDate));
  if (layout_.bars.size() > 1 && metrics.horizontalAdvance(shown(layout_.firstDate)) +
                                         metrics.horizontalAdvance(shown(layout_.lastDate)) + kUnit <
                                     dates.width()) {
    p.drawText(dates, Qt::AlignRight | Qt::AlignTop, shown(layout_.lastDate));
  }
  if (layout_.referenceY) {
    const double y = offset + *layout_.referenceY;
    p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DashLine));
    p.drawLine(QPointF(from, y), QPointF(barsWidth, y));
    p.drawText(QRectF(barsWidth + kUnit / 2.0, y - metrics.height() / 2, labelWidth(), metrics.height()),
               Qt::AlignLeft | Qt::AlignVCenter, shown(layout_.referenceLabel));
  }
}

HistoryPage::HistoryPage(const AppModel& model, QWidget* parent)
    : PageFrame(parent),
      model_(model),
      table_(new HistoryTableModel(this)),
      proxy_(new QSortFilterProxyModel(this)),
      view_(new QTableView(content())),
      none_(wrappingLabel({}, content())),
      stripTitle_(sectionTitle({}, content())),
      strip_(new DrainStrip(content())) {
  proxy_->setSourceModel(table_);
  proxy_->setSortRole(HistoryTableModel::kSortRole);
  view_->setObjectName(QStringLiteral("table"));
  view_->setModel(proxy_);
  view_->setSortingEnabled(true);
  view_->sortByColumn(HistoryTableModel::night, Qt::DescendingOrder);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab moves on to the next control rather than from cell to cell.
  view_->setTabKeyNavigation(false);
  view_->setItemDelegate(new PaddedDelegate(view_));
  view_->setAccessibleName(tr("Archived nights"));
  view_->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { padding: 0 %1px; }").arg(kUnit));
  view_->setShowGrid(false);
  view_->setAlternatingRowColors(true);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setDefaultSectionSize(QFontMetrics(view_->font()).height() + kUnit);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  // Columns fit the rows on show and a few hundred more, not every night ever archived.
  view_->horizontalHeader()->setResizeContentsPrecision(300);
  view_->horizontalHeader()->setStretchLastSection(true);
  view_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  none_->setObjectName(QStringLiteral("noNights"));
  column()->addWidget(none_);
  column()->addWidget(view_);
  column()->addSpacing(kUnit);
  column()->addWidget(stripTitle_);
  column()->addWidget(strip_);
  column()->addStretch(1);
  connect(&model, &AppModel::historyChanged, this, &HistoryPage::update);
  connect(&model, &AppModel::analysisChanged, this, &HistoryPage::update);
  update();
}

void HistoryPage::update() {
  const NightFormat& format = model_.format();
  const auto& nights = model_.history();
  const presentation::HistoryHeading heading = presentation::historyHeading(nights, format, model_.nightSource());
  setHeading(shown(heading.title), {shown(heading.line), shown(heading.since)});
  table_->setNights(nights, format, model_.nightSource());
  none_->setText(shown(heading.empty.value_or("")));
  none_->setVisible(heading.empty.has_value());
  for (QWidget* part :
       {static_cast<QWidget*>(view_), static_cast<QWidget*>(stripTitle_), static_cast<QWidget*>(strip_)}) {
    part->setVisible(!heading.empty);
  }
  // Tall enough for a dozen rows; the table scrolls for the rest.
  const int rows = std::min<int>(static_cast<int>(nights.size()), 12);
  view_->setMinimumHeight(view_->horizontalHeader()->sizeHint().height() +
                          rows * view_->verticalHeader()->defaultSectionSize() + 2);
  stripTitle_->setText(shown(heading.stripTitle));
  strip_->setNights(nights, model_.analysis() ? model_.analysis()->baseline : std::nullopt, format);
}

}  // namespace snoozlet::views
