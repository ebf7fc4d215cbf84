#include "views/HistoryPage.h"

#include "app/AppModel.h"
#include "presentation/DrainStripLayout.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QSortFilterProxyModel>
#include <QTableView>

namespace snoozlet::views {

namespace {

constexpr int kStripHeight = 96;
QString q(const std::string& text) { return QString::fromStdString(text); }

const std::string& cell(const presentation::HistoryRow& row, int column) {
  switch (column) {
    case HistoryTableModel::night: return row.night;
    case HistoryTableModel::asleep: return row.asleep;
    case HistoryTableModel::wakes: return row.wakes;
    case HistoryTableModel::awake: return row.awake;
    case HistoryTableModel::battery: return row.battery;
    default: return row.mostly;
  }
}

}  // namespace

HistoryTableModel::HistoryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void HistoryTableModel::setNights(const std::vector<ArchivedNight>& nights, const NightFormat& format,
                                  NightSource source) {
  beginResetModel();
  nights_ = nights;
  rows_.clear();
  rows_.reserve(nights.size());
  for (const ArchivedNight& n : nights) rows_.push_back(presentation::historyRow(n, format, source));
  header_ = presentation::historyHeader(format.language());
  endResetModel();
}

int HistoryTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HistoryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  if (role == Qt::DisplayRole) return q(cell(rows_[row], index.column()));
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
      default: return q(rows_[row].mostly);
    }
  }
  return {};
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
  return q(cell(header_, section));
}

DrainStrip::DrainStrip(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  setAccessibleName(tr("Battery drain per night"));
}

void DrainStrip::setNights(const std::vector<ArchivedNight>& newestFirst, const std::optional<Baseline>& baseline,
                           const NightFormat& format) {
  nights_ = newestFirst;
  baseline_ = baseline;
  format_ = format;
  update();
}

QSize DrainStrip::sizeHint() const { return QSize(600, kStripHeight); }

void DrainStrip::paintEvent(QPaintEvent*) {
  if (!format_ || nights_.empty()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QFont caption = captionFont(font());
  const QFontMetricsF metrics(caption);
  // Room above the bars, and on the right of them for the normal's label.
  const double top = metrics.height() / 2 + 2;
  const QString label =
      baseline_ ? q(presentation::layoutDrainStrip({}, baseline_, *format_, {}).referenceLabel) : QString();
  const double labelWidth = label.isEmpty() ? 0 : metrics.horizontalAdvance(label) + kUnit;
  const double barsWidth = std::max(width() - labelWidth, 0.0);
  const auto strip = presentation::layoutDrainStrip(nights_, baseline_, *format_, {barsWidth, height() - top, 2});
  QColor ordinary = secondaryText(palette());
  ordinary.setAlphaF(0.55f);
  for (const auto& bar : strip.bars) {
    const QRectF r(bar.rect.x, top + bar.rect.y, bar.rect.width, std::max(bar.rect.height, bar.perHour ? 1.0 : 0.0));
    const QColor colour = bar.band == presentation::RatioBand::ordinary ? ordinary : ratioColor(bar.band, palette());
    p.fillRect(r, colour);
  }
  QPen base(secondaryText(palette()), 1);
  p.setPen(base);
  p.drawLine(QPointF(0, height() - 0.5), QPointF(barsWidth, height() - 0.5));
  if (strip.referenceY) {
    const double y = top + *strip.referenceY;
    QPen dashed(palette().color(QPalette::WindowText), 1, Qt::DashLine);
    p.setPen(dashed);
    p.drawLine(QPointF(0, y), QPointF(barsWidth, y));
    p.setFont(caption);
    p.drawText(QRectF(barsWidth + kUnit / 2.0, y - metrics.height() / 2, labelWidth, metrics.height()),
               Qt::AlignLeft | Qt::AlignVCenter, label);
  }
}

HistoryPage::HistoryPage(AppModel& model, QWidget* parent)
    : PageFrame(parent), model_(model), table_(new HistoryTableModel(this)) {
  connect(&model, &AppModel::historyChanged, this, &HistoryPage::rebuild);
  connect(&model, &AppModel::analysisChanged, this, &HistoryPage::rebuild);
  rebuild();
}

void HistoryPage::rebuild() {
  const NightFormat& format = model_.format();
  const auto& nights = model_.history();
  const presentation::HistoryHeading heading = presentation::historyHeading(nights, format, model_.nightSource());
  QVBoxLayout* column = begin(q(heading.title), {q(heading.line), q(heading.since)});
  table_->setNights(nights, format, model_.nightSource());
  if (heading.empty) {
    auto* none = wrappingLabel(q(*heading.empty), content());
    none->setObjectName(QStringLiteral("noNights"));
    column->addWidget(none);
    column->addStretch(1);
    return;
  }
  auto* proxy = new QSortFilterProxyModel(content());
  proxy->setSourceModel(table_);
  proxy->setSortRole(HistoryTableModel::kSortRole);
  auto* view = new QTableView(content());
  view->setObjectName(QStringLiteral("table"));
  view->setModel(proxy);
  view->setSortingEnabled(true);
  view->sortByColumn(HistoryTableModel::night, Qt::DescendingOrder);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setShowGrid(false);
  view->setAlternatingRowColors(true);
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(QFontMetrics(view->font()).height() + kUnit);
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  // Columns fit the rows on show and a few hundred more, not every night ever archived.
  view->horizontalHeader()->setResizeContentsPrecision(300);
  view->horizontalHeader()->setStretchLastSection(true);
  view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Tall enough for a dozen rows; the table scrolls for the rest.
  const int rows = std::min<int>(static_cast<int>(nights.size()), 12);
  view->setMinimumHeight(view->horizontalHeader()->sizeHint().height() +
                         rows * view->verticalHeader()->defaultSectionSize() + 2);
  column->addWidget(view);
  column->addSpacing(kUnit);
  column->addWidget(sectionTitle(q(heading.stripTitle), content()));
  auto* strip = new DrainStrip(content());
  strip->setNights(nights, model_.analysis() ? model_.analysis()->baseline : std::nullopt, format);
  column->addWidget(strip);
  column->addStretch(1);
}

}  // namespace snoozlet::views
