#include "views/BatteryPage.h"

#include "app/AppModel.h"
#include "presentation/PageRows.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>

namespace snoozlet::views {

namespace {
QString q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

BatteryPage::BatteryPage(AppModel& model, QWidget* parent) : PageFrame(parent), model_(model) {
  connect(&model, &AppModel::batteryChanged, this, &BatteryPage::rebuild);
  connect(&model, &AppModel::analysisChanged, this, &BatteryPage::rebuild);
  rebuild();
}

void BatteryPage::rebuild() {
  const NightFormat& format = model_.format();
  const auto& battery = model_.battery();
  const presentation::BatteryHeading heading =
      presentation::batteryHeading(battery.has_value(), format.language(), model_.nightSource());
  QVBoxLayout* column = begin(q(heading.title), {q(heading.subtitle)});
  if (heading.noBattery) {
    auto* none = wrappingLabel(q(*heading.noBattery), content());
    none->setObjectName(QStringLiteral("noBattery"));
    column->addWidget(none);
    column->addStretch(1);
    return;
  }
  const auto baseline = model_.analysis() ? model_.analysis()->baseline : std::nullopt;
  auto* grid = new QGridLayout();
  grid->setHorizontalSpacing(kUnit * 3);
  grid->setVerticalSpacing(kUnit * 2.5);
  int row = 0;
  for (const presentation::BatteryRow& r : presentation::batteryRows(battery, baseline, format)) {
    auto* value = new QLabel(q(r.value), content());
    value->setObjectName(q(r.name));
    value->setFont(figureFont(value->font()));
    value->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(value, row, 0, Qt::AlignRight | Qt::AlignTop);
    auto* text = new QWidget(content());
    auto* lines = new QVBoxLayout(text);
    lines->setContentsMargins(0, kUnit / 2, 0, 0);
    lines->setSpacing(2);
    auto* caption = wrappingLabel(q(r.caption), text);
    QFont strong = caption->font();
    strong.setWeight(QFont::DemiBold);
    caption->setFont(strong);
    lines->addWidget(caption);
    if (r.detail) {
      auto* detail = wrappingLabel(q(*r.detail), text);
      makeSecondary(detail);
      lines->addWidget(detail);
    }
    grid->addWidget(text, row, 1);
    ++row;
  }
  grid->setColumnStretch(1, 1);
  column->addLayout(grid);
  column->addStretch(1);
}

}  // namespace snoozlet::views
