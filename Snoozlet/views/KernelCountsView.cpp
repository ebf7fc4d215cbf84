#include "views/KernelCountsView.h"

#include "views/PageFrame.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>

namespace snoozlet::views {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

KernelCountsView::KernelCountsView(const presentation::KernelSection& section, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("kernelCounts"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 1.5);
  column->addWidget(sectionTitle(q(section.title), this));
  auto* grid = new QGridLayout();
  grid->setHorizontalSpacing(kUnit * 2);
  grid->setVerticalSpacing(kUnit);
  int row = 0;
  for (const presentation::KernelWakeRow& wake : section.rows) {
    grid->addWidget(strongLabel(q(wake.label), this), row, 0);
    auto* count = new QLabel(q(wake.count), this);
    count->setFont(digitsFont(12));
    grid->addWidget(count, row++, 1, Qt::AlignRight);
  }
  grid->setColumnStretch(0, 1);
  column->addLayout(grid);
  for (const auto& line : {section.none, section.hardwareLine}) {
    if (line) column->addWidget(wrappingLabel(q(*line), this));
  }
  auto* footnote = wrappingLabel(q(section.footnote), this);
  footnote->setFont(captionFont(footnote->font()));
  makeSecondary(footnote);
  column->addWidget(footnote);
}

KernelCountsView::KernelCountsView(const std::string& line, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("kernelLine"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  auto* label = wrappingLabel(q(line), this);
  label->setFont(captionFont(label->font()));
  makeSecondary(label);
  column->addWidget(label);
}

}  // namespace snoozlet::views
