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
  auto* outer = new QWidget();
  auto* centre = new QHBoxLayout(outer);
  centre->setContentsMargins(kUnit * 3, kUnit * 3, kUnit * 3, kUnit * 4);
  content_ = new QWidget(outer);
  content_->setMaximumWidth(columns(font(), kReadingColumns));
  // Left-aligned, so a scroll bar that comes and goes does not move the page sideways.
  centre->addWidget(content_, 100);
  centre->addStretch(1);
  auto* page = new QVBoxLayout(content_);
  page->setContentsMargins(0, 0, 0, 0);
  page->setSpacing(kUnit);
  title_ = new QLabel(content_);
  title_->setObjectName(QStringLiteral("pageTitle"));
  title_->setFont(pageTitleFont(title_->font()));
  title_->hide();
  page->addWidget(title_);
  lines_ = new QWidget(content_);
  auto* lines = new QVBoxLayout(lines_);
  lines->setContentsMargins(0, 0, 0, kUnit);
  lines->setSpacing(kUnit);
  lines_->hide();
  page->addWidget(lines_);
  column_ = new QVBoxLayout();
  column_->setSpacing(kUnit * 2);
  page->addLayout(column_, 1);
  setWidget(outer);
}

void PageFrame::setHeading(const QString& title, const QStringList& lines) {
  // The page can take the focus (to scroll with the keyboard): its title is its name.
  setAccessibleName(title);
  title_->setText(title);
  title_->setVisible(!title.isEmpty());
  QList<QLabel*> labels = lines_->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
  while (labels.size() < lines.size()) {
    auto* label = wrappingLabel({}, lines_);
    makeSecondary(label);
    lines_->layout()->addWidget(label);
    labels << label;
  }
  for (qsizetype i = 0; i < labels.size(); ++i) {
    labels[i]->setText(i < lines.size() ? lines[i] : QString());
    labels[i]->setVisible(i < lines.size() && !lines[i].isEmpty());
  }
  lines_->setVisible(!lines.isEmpty());
}

QLabel* sectionTitle(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setFont(titleFont(label->font()));
  return label;
}

}  // namespace snoozlet::views
