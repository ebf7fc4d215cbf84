#include "views/MenuBarView.h"

#include "app/AppModel.h"
#include "presentation/KernelRows.h"
#include "presentation/NightFigures.h"
#include "presentation/PageRows.h"
#include "views/MorningReportView.h"
#include "views/NightRibbon.h"
#include "views/PageParts.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>

namespace snoozlet::views {

namespace {

// The popover's width, in average characters of the interface font.
constexpr double kColumns = 52;


// Three dots, the sign of "more": an icon `side` pixels square in `colour`.
QIcon moreIcon(const QColor& colour, int side) {
  QPixmap pixmap(QSize(side, side) * 2);
  pixmap.setDevicePixelRatio(2);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  const double dot = side / 6.0;
  for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(side / 2.0 + (i - 1) * dot * 2, side / 2.0), dot / 2 + 0.5, dot / 2 + 0.5);
  return QIcon(pixmap);
}

// A popover figure: smaller than the page's, centred.
FigureTile* smallFigure(const QString& name, QWidget* parent) {
  auto* tile = new FigureTile(name, parent);
  for (QLabel* label : tile->findChildren<QLabel*>()) label->setAlignment(Qt::AlignHCenter);
  auto* value = tile->findChild<QLabel*>(QStringLiteral("value"));
  QFont big = figuresFont(titleFont(tile->font()));
  big.setPointSizeF(big.pointSizeF() * 1.15);
  value->setFont(big);
  return tile;
}

}  // namespace

MenuBarView::MenuBarView(const AppModel& model, const QList<QAction*>& menu, QWidget* parent)
    : QWidget(parent),
      model_(model),
      menu_(new QMenu(this)),
      status_(wrappingLabel({}, this)),
      night_(new QWidget(this)),
      report_(new MorningReportView(true, night_)),
      wakes_(smallFigure(QStringLiteral("wakes"), night_)),
      awake_(smallFigure(QStringLiteral("awake"), night_)),
      battery_(smallFigure(QStringLiteral("battery"), night_)),
      kernel_(wrappingLabel({}, night_)),
      ribbon_(new NightRibbon(night_)),
      open_(new QPushButton(tr("Open Snoozlet"), this)),
      more_(new QToolButton(this)) {
  setFixedWidth(columns(font(), kColumns));
  menu_->addActions(menu);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kUnit * 2, kUnit * 2, kUnit * 2, kUnit * 1.5);
  layout->setSpacing(kUnit * 1.5);

  status_->setObjectName(QStringLiteral("status"));
  status_->setAlignment(Qt::AlignCenter);
  status_->setMinimumHeight(kUnit * 8);
  layout->addWidget(status_);

  auto* column = new QVBoxLayout(night_);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 1.5);
  column->addWidget(report_);
  auto* row = new QHBoxLayout();
  row->setSpacing(kUnit);
  for (FigureTile* tile : {wakes_, awake_, battery_}) row->addWidget(tile, 1);
  column->addLayout(row);
  // A Linux laptop's kernel counts, in one line; hidden when none were read.
  kernel_->setObjectName(QStringLiteral("kernelLine"));
  kernel_->setFont(captionFont(kernel_->font()));
  makeSecondary(kernel_);
  column->addWidget(kernel_);
  ribbon_->setCompact(true);
  column->addWidget(ribbon_);
  layout->addWidget(night_);

  auto* buttons = new QHBoxLayout();
  buttons->setSpacing(kUnit);
  open_->setObjectName(QStringLiteral("open"));
  open_->setDefault(true);
  connect(open_, &QPushButton::clicked, this, [this] { emit openRequested(shown_); });
  more_->setObjectName(QStringLiteral("more"));
  more_->setIcon(moreIcon(palette().color(QPalette::ButtonText), open_->sizeHint().height() / 2));
  more_->setToolButtonStyle(Qt::ToolButtonIconOnly);
  more_->setToolTip(tr("More"));
  more_->setAccessibleName(tr("More"));
  more_->setPopupMode(QToolButton::InstantPopup);
  more_->setMenu(menu_);
  // As tall as the button beside it, and square; no arrow: the dots say there is a menu.
  more_->setFixedSize(open_->sizeHint().height(), open_->sizeHint().height());
  more_->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
  buttons->addWidget(open_, 1);
  buttons->addWidget(more_);
  layout->addLayout(buttons);

  for (auto signal : {&AppModel::analysisChanged, &AppModel::stateChanged, &AppModel::morningTextChanged}) {
    connect(&model, signal, this, &MenuBarView::update);
  }
  update();
}

QSize MenuBarView::sizeHint() const {
  // Wrapped text is as tall as the fixed width makes it.
  return {width(), std::max(heightForWidth(width()), QWidget::sizeHint().height())};
}

void MenuBarView::update() {
  const NightReport* night = model_.latestNight();
  shown_ = night ? std::optional<Instant>(night->start()) : std::nullopt;
  status_->setVisible(night == nullptr);
  night_->setVisible(night != nullptr);
  if (night == nullptr) {
    status_->setText(
        shown(presentation::emptyNight(model_.analysis(), model_.state().failure(), model_.language()).sentence()));
  } else {
    const NightFormat& format = model_.format();
    report_->setReport(night->mood, shown(model_.morningText(*night)), shown(format.nightTitle(night->start())),
                       model_.plainMode());
    const presentation::PopoverFigures figures = presentation::popoverFigures(*night, format, model_.nightSource());
    wakes_->setFigure(shown(figures.wakes.value), shown(figures.wakes.caption));
    awake_->setFigure(shown(figures.awake.value), shown(figures.awake.caption));
    battery_->setFigure(shown(figures.battery.value), shown(figures.battery.caption));
    const auto kernel = presentation::kernelLine(*night, format);
    kernel_->setText(shown(kernel.value_or("")));
    kernel_->setVisible(kernel.has_value());
    ribbon_->setNight(*night, format);
  }
  updateGeometry();
  adjustSize();
}

}  // namespace snoozlet::views
