#include "views/PageFrame.h"

#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>

namespace snoozlet::views {

PageFrame::PageFrame(QWidget* parent) : QScrollArea(parent) {
  setWidgetResizable(true);
  setFrameShape(QFrame::NoFrame);
  // Text wraps to the window's width: only ever a vertical scroll bar.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

QVBoxLayout* PageFrame::begin(const QString& title, const QStringList& lines) {
  auto* outer = new QWidget();
  auto* centre = new QHBoxLayout(outer);
  centre->setContentsMargins(kUnit * 3, kUnit * 3, kUnit * 3, kUnit * 4);
  content_ = new QWidget(outer);
  content_->setMaximumWidth(kReadingWidth);
  centre->addStretch(1);
  centre->addWidget(content_, 100);
  centre->addStretch(1);
  auto* column = new QVBoxLayout(content_);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 2);
  if (!title.isEmpty()) {
    auto* heading = new QLabel(title, content_);
    heading->setObjectName(QStringLiteral("pageTitle"));
    heading->setFont(pageTitleFont(heading->font()));
    column->addWidget(heading);
  }
  for (const QString& line : lines) {
    auto* label = wrappingLabel(line, content_);
    makeSecondary(label);
    column->addWidget(label);
  }
  if (!title.isEmpty() || !lines.isEmpty()) column->addSpacing(kUnit);
  setWidget(outer);  // deletes the previous content
  return column;
}

QLabel* sectionTitle(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFont(titleFont(label->font()));
  return label;
}

}  // namespace snoozlet::views
