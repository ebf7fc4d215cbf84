#include "views/BatteryPage.h"

#include "app/AppModel.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>

namespace snoozlet::views {

BatteryPage::BatteryPage(const AppModel& model, QWidget* parent)
    : PageFrame(parent), model_(model), noBattery_(wrappingLabel({}, content())), grid_(new QGridLayout()) {
  noBattery_->setObjectName(QStringLiteral("noBattery"));
  column()->addWidget(noBattery_);
  grid_->setHorizontalSpacing(kUnit * 3);
  grid_->setVerticalSpacing(kUnit * 2.5);
  grid_->setColumnStretch(1, 1);
  column()->addLayout(grid_);
  column()->addStretch(1);
  connect(&model, &AppModel::batteryChanged, this, &BatteryPage::update);
  connect(&model, &AppModel::analysisChanged, this, &BatteryPage::update);
  update();
}

void BatteryPage::update() {
  const NightFormat& format = model_.format();
  const auto& battery = model_.battery();
  const presentation::BatteryHeading heading =
      presentation::batteryHeading(battery.has_value(), format.language(), model_.nightSource());
  setHeading(shown(heading.title), {shown(heading.subtitle)});
  noBattery_->setText(shown(heading.noBattery.value_or("")));
  noBattery_->setVisible(heading.noBattery.has_value());
  const auto baseline = model_.analysis() ? model_.analysis()->baseline : std::nullopt;
  const std::vector<presentation::BatteryRow> rows = heading.noBattery
                                                         ? std::vector<presentation::BatteryRow>()
                                                         : presentation::batteryRows(battery, baseline, format);
  while (rows_.size() < rows.size()) {
    const int row = static_cast<int>(rows_.size());
    RowLabels labels{new QLabel(content()), strongLabel({}, content()), wrappingLabel({}, content())};
    labels.value->setFont(figuresFont(figureFont(labels.value->font())));
    labels.value->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid_->addWidget(labels.value, row, 0, Qt::AlignRight | Qt::AlignTop);
    auto* text = new QWidget(content());
    auto* lines = new QVBoxLayout(text);
    lines->setContentsMargins(0, kUnit / 2, 0, 0);
    lines->setSpacing(2);
    labels.caption->setParent(text);
    labels.detail->setParent(text);
    makeSecondary(labels.detail);
    lines->addWidget(labels.caption);
    lines->addWidget(labels.detail);
    grid_->addWidget(text, row, 1);
    rows_.push_back(labels);
  }
  while (rows_.size() > rows.size()) {
    delete rows_.back().value;
    delete rows_.back().caption->parentWidget();
    rows_.pop_back();
  }
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const presentation::BatteryRow& r = rows[i];
    rows_[i].value->setObjectName(QString::fromStdString(r.name));
    rows_[i].value->setText(shown(r.value));
    rows_[i].caption->setText(shown(r.caption));
    rows_[i].detail->setText(shown(r.detail.value_or("")));
    rows_[i].detail->setVisible(r.detail.has_value());
  }
}

}  // namespace snoozlet::views
