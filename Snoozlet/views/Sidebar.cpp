#include "views/Sidebar.h"

#include "app/AppModel.h"
#include "presentation/NightFigures.h"
#include "presentation/PageRows.h"
#include "views/Mascot.h"
#include "views/Theme.h"

#include <QApplication>
#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace snoozlet::views {

namespace {


// Room around a row's text, and between a night's moon and its date.
constexpr int kPadding = kUnit;
constexpr double kMoonShare = 0.8;

// Rows are the same rows (only their words may differ) when each keeps its kind and page.
bool sameShape(const std::vector<SidebarModel::Row>& a, const std::vector<SidebarModel::Row>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
    return x.kind == y.kind && x.page == y.page && x.gap == y.gap;
  });
}

}  // namespace

SidebarModel::SidebarModel(const AppModel& model, QObject* parent) : QAbstractListModel(parent), model_(model) {
  rows_ = rows();
}

std::vector<SidebarModel::Row> SidebarModel::rows() const {
  const NightFormat& format = model_.format();
  const Language language = format.language();
  std::vector<Row> rows;
  const auto nights = [&](const std::vector<NightReport>& reports, const QString& title) {
    if (reports.empty()) return;
    rows.push_back({Kind::header, title, {}, title, std::nullopt, std::nullopt, false});
    for (const NightReport& night : reports) {
      const QString date = shown(format.shortDay(format.nightDay(night.start())));
      const QString drain = shown(presentation::perHourText(night.battery.perHour, format).value_or(""));
      QString accessible = tr("%1, %2").arg(date, shown(mood::title(night.mood, language)));
      if (!drain.isEmpty()) accessible = tr("%1, battery %2").arg(accessible, drain);
      rows.push_back({Kind::night, date, drain, accessible, Page::night(night.start()), night.mood, false});
    }
  };
  if (const auto& analysis = model_.analysis()) {
    nights(analysis->nights(), tr("Nights"));
    nights(analysis->naps(), tr("Daytime naps"));
  }
  // Before the first refresh nothing is known about the pages: no detail rather than a guess.
  const bool read = model_.analysis().has_value();
  const auto page = [&](const QString& title, const std::string& detail, Page target, bool gap) {
    const QString more = read ? shown(detail) : QString();
    rows.push_back(
        {Kind::page, title, more, more.isEmpty() ? title : tr("%1, %2").arg(title, more), target, std::nullopt, gap});
  };
  page(tr("Sleep settings"), presentation::settingsDetail(model_.findings(), language, model_.nightSource()),
       Page::settings(), !rows.empty());
  page(tr("Battery"), presentation::batteryDetail(model_.battery(), format).value_or(""), Page::battery(), false);
  page(tr("History"), presentation::historyDetail(model_.history().size(), language), Page::history(), false);
  return rows;
}

void SidebarModel::update() {
  std::vector<Row> next = rows();
  if (next == rows_) return;
  if (sameShape(next, rows_)) {
    rows_ = std::move(next);
    emit dataChanged(index(0), index(rowCount() - 1));
    return;
  }
  beginResetModel();
  rows_ = std::move(next);
  endResetModel();
}

int SidebarModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant SidebarModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const Row& row = rows_[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: return row.text;
    case Qt::AccessibleTextRole: return row.accessible;
    case kindRole: return static_cast<int>(row.kind);
    case detailRole: return row.detail;
    case moodRole: return row.mood ? QVariant(static_cast<int>(*row.mood)) : QVariant();
    case gapRole: return row.gap;
    default: return {};
  }
}

Qt::ItemFlags SidebarModel::flags(const QModelIndex& index) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return Qt::NoItemFlags;
  // A header names a section; it is neither chosen nor stopped on.
  if (rows_[static_cast<std::size_t>(index.row())].kind == Kind::header) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QModelIndex SidebarModel::indexOf(const Page& page) const {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].page == page) return index(static_cast<int>(i));
  }
  return {};
}

std::optional<Page> SidebarModel::pageAt(const QModelIndex& index) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return std::nullopt;
  return rows_[static_cast<std::size_t>(index.row())].page;
}

void SidebarDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyleOptionViewItem opt = option;
  initStyleOption(&opt, index);
  const auto kind = static_cast<SidebarModel::Kind>(index.data(SidebarModel::kindRole).toInt());
  QRect box = opt.rect;
  if (index.data(SidebarModel::gapRole).toBool()) box.setTop(box.top() + kUnit * 2);
  const QPalette& palette = opt.palette;
  painter->save();
  if (kind == SidebarModel::Kind::header) {
    QFont font = captionFont(opt.font);
    font.setWeight(QFont::DemiBold);
    painter->setFont(font);
    // A header is not chosen, but it is not disabled either: the active colours, not the greyed ones.
    QPalette active = palette;
    active.setCurrentColorGroup(QPalette::Active);
    painter->setPen(secondaryText(active));
    painter->drawText(box.adjusted(kPadding, 0, -kPadding, 0), Qt::AlignLeft | Qt::AlignBottom, opt.text);
    painter->restore();
    return;
  }
  // The selection's panel, as the style draws it, on the row less its gap.
  QStyleOptionViewItem panel = opt;
  panel.rect = box;
  const QWidget* widget = opt.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);
  const bool selected = opt.state & QStyle::State_Selected;
  const QColor text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
  QRect inner = box.adjusted(kPadding, 0, -kPadding, 0);
  if (const QVariant mood = index.data(SidebarModel::moodRole); mood.isValid()) {
    const double side = QFontMetricsF(opt.font).height() * kMoonShare;
    paintMoon(*painter, QRectF(inner.left(), inner.center().y() - side / 2 + 0.5, side, side),
              static_cast<Mood>(mood.toInt()), isDark(palette));
    inner.setLeft(inner.left() + static_cast<int>(side) + kPadding);
  }
  const QString detail = index.data(SidebarModel::detailRole).toString();
  const QFont caption = captionFont(opt.font);
  const int detailWidth = detail.isEmpty() ? 0 : QFontMetrics(caption).horizontalAdvance(detail);
  painter->setFont(opt.font);
  painter->setPen(text);
  const QRect words = inner.adjusted(0, 0, -(detailWidth + (detailWidth > 0 ? kPadding : 0)), 0);
  painter->drawText(words, Qt::AlignLeft | Qt::AlignVCenter,
                    QFontMetrics(opt.font).elidedText(opt.text, Qt::ElideRight, words.width()));
  if (detailWidth > 0) {
    painter->setFont(caption);
    painter->setPen(selected ? text : secondaryText(palette));
    painter->drawText(inner, Qt::AlignRight | Qt::AlignVCenter, detail);
  }
  painter->restore();
}

QSize SidebarDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const auto kind = static_cast<SidebarModel::Kind>(index.data(SidebarModel::kindRole).toInt());
  const int gap = index.data(SidebarModel::gapRole).toBool() ? kUnit * 2 : 0;
  if (kind == SidebarModel::Kind::header) {
    return {0, QFontMetrics(captionFont(option.font)).height() + kUnit * 2};
  }
  return {0, QFontMetrics(option.font).height() + kUnit + gap};
}

QModelIndex SidebarList::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  if ((action != MoveHome && action != MoveEnd) || model() == nullptr) return QListView::moveCursor(action, modifiers);
  const int count = model()->rowCount(rootIndex());
  for (int i = 0; i < count; ++i) {
    const QModelIndex index = model()->index(action == MoveHome ? i : count - 1 - i, 0, rootIndex());
    if (index.flags() & Qt::ItemIsSelectable) return index;
  }
  return {};
}

Sidebar::Sidebar(const AppModel& model, Navigator& navigator, QWidget* parent)
    : QWidget(parent),
      model_(model),
      navigator_(navigator),
      rows_(new SidebarModel(model, this)),
      list_(new SidebarList(this)),
      machine_(new QLabel(this)),
      span_(new QLabel(this)) {
  setFixedWidth(columns(font(), 32));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(kUnit, kUnit * 2, 0, kUnit);
  column->setSpacing(2);
  auto* name = new QLabel(QStringLiteral("Snoozlet"), this);
  name->setFont(titleFont(name->font()));
  name->setContentsMargins(kUnit, 0, 0, 0);
  column->addWidget(name);
  machine_->setText(shown(presentation::thisMachine(model.nightSource(), model.language())));
  machine_->setContentsMargins(kUnit, 0, 0, 0);
  makeSecondary(machine_);
  column->addWidget(machine_);
  span_->setObjectName(QStringLiteral("span"));
  span_->setFont(captionFont(span_->font()));
  span_->setWordWrap(true);
  span_->setContentsMargins(kUnit, kUnit / 2, kUnit, kUnit);
  makeSecondary(span_);
  column->addWidget(span_);
  list_->setModel(rows_);
  list_->setItemDelegate(new SidebarDelegate(list_));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setFrameShape(QFrame::NoFrame);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setUniformItemSizes(false);
  list_->setAccessibleName(tr("Nights and pages"));
  column->addWidget(list_, 1);

  // Only the user's selection chooses a page: the list making a row current
  // when it gets the focus selects nothing.
  connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (selecting_) return;
    const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) return;
    if (const auto page = rows_->pageAt(selected.front())) navigator_.choose(*page);
  });
  for (auto signal : {&AppModel::analysisChanged, &AppModel::findingsChanged, &AppModel::batteryChanged,
                      &AppModel::historyChanged, &AppModel::stateChanged}) {
    connect(&model, signal, this, &Sidebar::update);
  }
  connect(&navigator, &Navigator::pageChanged, this, &Sidebar::selectPage);
  update();
}

void Sidebar::update() {
  span_->setText(
      shown(presentation::logSpan(model_.analysis(), model_.format(), model_.state().failure().has_value())));
  selecting_ = true;
  rows_->update();
  selecting_ = false;
  selectPage();
}

void Sidebar::selectPage() {
  const auto& page = navigator_.page();
  QModelIndex match;
  if (page) {
    const NightReport* night = navigator_.selectedNight();
    match = rows_->indexOf(night ? Page::night(night->start()) : *page);
  }
  selecting_ = true;
  if (match.isValid()) {
    list_->selectionModel()->setCurrentIndex(match, QItemSelectionModel::ClearAndSelect);
    list_->scrollTo(match);
  } else {
    list_->selectionModel()->clearSelection();
  }
  selecting_ = false;
}

}  // namespace snoozlet::views
