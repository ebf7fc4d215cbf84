#include "views/MenuBarView.h"

#include "app/AppModel.h"
#include "presentation/NightFigures.h"
#include "views/KernelCountsView.h"
#include "views/MorningReportView.h"
#include "views/NightRibbon.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace snoozlet::views {

namespace {

constexpr int kPopoverWidth = 360;

QString q(const std::string& text) { return QString::fromStdString(text); }

QWidget* smallFigure(const presentation::Figure& figure, const QString& name, QWidget* parent) {
  auto* tile = new QWidget(parent);
  tile->setObjectName(name);
  auto* column = new QVBoxLayout(tile);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  auto* value = new QLabel(q(figure.value), tile);
  value->setObjectName(QStringLiteral("value"));
  QFont big = titleFont(value->font());
  big.setPointSizeF(big.pointSizeF() * 1.15);
  value->setFont(big);
  value->setAlignment(Qt::AlignHCenter);
  auto* caption = new QLabel(q(figure.caption), tile);
  caption->setObjectName(QStringLiteral("caption"));
  caption->setFont(captionFont(caption->font()));
  caption->setAlignment(Qt::AlignHCenter);
  makeSecondary(caption);
  column->addWidget(value);
  column->addWidget(caption);
  return tile;
}

}  // namespace

MenuBarView::MenuBarView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model), menu_(new QMenu(this)) {
  setFixedWidth(kPopoverWidth);
  menu_->addAction(tr("Refresh"), this, [this] { model_.refresh(); });
  menu_->addAction(tr("Settings…"), this, &MenuBarView::settingsRequested);
  menu_->addAction(tr("How It Works"), this, &MenuBarView::welcomeRequested);
  menu_->addAction(tr("About Snoozlet"), this, &MenuBarView::aboutRequested);
  menu_->addSeparator();
  menu_->addAction(tr("Quit Snoozlet"), this, &MenuBarView::quitRequested);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kUnit * 2, kUnit * 2, kUnit * 2, kUnit * 1.5);
  for (auto signal : {&AppModel::analysisChanged, &AppModel::stateChanged}) {
    connect(&model, signal, this, &MenuBarView::rebuild);
  }
  connect(&model.settings(), &AppSettings::plainModeChanged, this, &MenuBarView::rebuild);
  rebuild();
}

void MenuBarView::rebuild() {
  QWidget* next = build();
  if (content_ != nullptr) {
    layout()->replaceWidget(content_, next);
    delete content_;
  } else {
    layout()->addWidget(next);
  }
  content_ = next;
  // Wrapped text is as tall as the fixed width makes it.
  resize(kPopoverWidth, std::max(heightForWidth(kPopoverWidth), sizeHint().height()));
}

QWidget* MenuBarView::build() {
  auto* content = new QWidget(this);
  auto* column = new QVBoxLayout(content);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 1.5);

  const auto& analysis = model_.analysis();
  const NightReport* night = analysis ? analysis->lastNight() : nullptr;
  if (night == nullptr) {
    QString message;
    if (!analysis && model_.state().kind() == AppModel::LoadState::Kind::failed) {
      message = tr("Couldn’t read the sleep log: %1").arg(q(model_.state().message()));
    } else if (!analysis) {
      message = tr("Reading last night’s log…");
    } else {
      message = tr("No long sleep in the log yet");
    }
    auto* label = wrappingLabel(message, content);
    label->setObjectName(QStringLiteral("status"));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumHeight(kUnit * 8);
    column->addWidget(label);
  } else {
    const NightFormat& format = model_.format();
    MorningReportView::Options options;
    options.compact = true;
    options.plain = model_.settings().plainMode();
    column->addWidget(new MorningReportView(*night, q(model_.morningText(*night)), q(format.nightTitle(night->start())),
                                            options, content));
    const presentation::PopoverFigures figures = presentation::popoverFigures(*night, format, model_.nightSource());
    auto* row = new QHBoxLayout();
    row->setSpacing(kUnit);
    row->addWidget(smallFigure(figures.wakes, QStringLiteral("wakes"), content), 1);
    row->addWidget(smallFigure(figures.awake, QStringLiteral("awake"), content), 1);
    row->addWidget(smallFigure(figures.battery, QStringLiteral("battery"), content), 1);
    column->addLayout(row);
    if (auto line = presentation::kernelLine(*night, format)) column->addWidget(new KernelCountsView(*line, content));
    auto* ribbon = new NightRibbon(content);
    ribbon->setCompact(true);
    ribbon->setNight(*night, format);
    column->addWidget(ribbon);
  }

  auto* buttons = new QHBoxLayout();
  buttons->setSpacing(kUnit);
  auto* open = new QPushButton(tr("Open Snoozlet"), content);
  open->setObjectName(QStringLiteral("open"));
  open->setDefault(true);
  const std::optional<Instant> start = night ? std::optional<Instant>(night->start()) : std::nullopt;
  connect(open, &QPushButton::clicked, this, [this, start] {
    model_.openPage(start ? std::optional<AppModel::Page>(AppModel::Page::night(*start)) : std::nullopt);
    emit closeRequested();
  });
  auto* more = new QToolButton(content);
  more->setObjectName(QStringLiteral("more"));
  more->setText(QStringLiteral("…"));
  more->setToolTip(tr("More"));
  more->setAccessibleName(tr("More"));
  more->setPopupMode(QToolButton::InstantPopup);
  more->setMenu(menu_);
  more->setAutoRaise(true);
  more->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
  buttons->addWidget(open, 1);
  buttons->addWidget(more);
  column->addLayout(buttons);
  return content;
}

}  // namespace snoozlet::views
