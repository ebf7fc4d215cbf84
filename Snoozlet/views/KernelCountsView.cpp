#include "views/KernelCountsView.h"

#include "views/PageParts.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>

namespace snoozlet::views {

KernelCountsView::KernelCountsView(QWidget* parent)
    : QWidget(parent),
      rows_(new RowList(QStringLiteral("kernelRows"), this)),
      hardware_(wrappingLabel({}, this)),
      footnote_(wrappingLabel({}, this)) {
  setObjectName(QStringLiteral("kernelCounts"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 1.5);
  column->addWidget(rows_);
  hardware_->setObjectName(QStringLiteral("hardwareSleep"));
  column->addWidget(hardware_);
  footnote_->setFont(captionFont(footnote_->font()));
  makeSecondary(footnote_);
  column->addWidget(footnote_);
  hide();
}

void KernelCountsView::setSection(const std::optional<presentation::KernelSection>& section) {
  setVisible(section.has_value());
  if (!section) return;
  rows_->setTitle(shown(section->title));
  std::vector<DetailContent> rows;
  for (const presentation::KernelWakeRow& wake : section->rows) rows.push_back({shown(wake.label), {}, shown(wake.count), {}, {}});
  rows_->setRows(rows, shown(section->none.value_or("")));
  hardware_->setText(shown(section->hardwareLine.value_or("")));
  hardware_->setVisible(section->hardwareLine.has_value());
  footnote_->setText(shown(section->footnote));
}

}  // namespace snoozlet::views
