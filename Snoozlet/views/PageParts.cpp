#include "views/PageParts.h"

#include "views/PageFrame.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QPainter>

namespace snoozlet::views {

FigureTile::FigureTile(const QString& name, QWidget* parent)
    : QWidget(parent), value_(new QLabel(this)), caption_(wrappingLabel({}, this)) {
  setObjectName(name);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  value_->setObjectName(QStringLiteral("value"));
  value_->setFont(figuresFont(figureFont(value_->font())));
  column->addWidget(value_);
  caption_->setObjectName(QStringLiteral("caption"));
  caption_->setFont(captionFont(caption_->font()));
  makeSecondary(caption_);
  column->addWidget(caption_);
}

void FigureTile::setFigure(const QString& value, const QString& caption) {
  value_->setText(value);
  caption_->setText(caption);
}

QLabel* FigureTile::line(const QString& name, std::optional<Tone> tone) {
  if (auto* existing = findChild<QLabel*>(name, Qt::FindDirectChildrenOnly)) return existing;
  auto* line = wrappingLabel({}, this);
  line->setObjectName(name);
  line->setFont(captionFont(line->font()));
  if (tone) setTone(line, *tone);
  static_cast<QVBoxLayout*>(layout())->addWidget(line);
  return line;
}

void FigureTile::setLine(const QString& name, const QString& text, std::optional<Tone> tone) {
  QLabel* label = line(name, tone);
  label->setText(text);
  label->setVisible(!text.isEmpty());
  setTone(label, tone);
}

Badge::Badge(Tone tone, QWidget* parent) : QLabel(parent), tone_(tone) {
  setFont(captionFont(font()));
  setContentsMargins(kUnit, 2, kUnit, 2);
  setTone(this, tone);
}

void Badge::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QColor fill = palette().color(QPalette::WindowText);
  fill.setAlphaF(0.14f);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), height() / 2.0, height() / 2.0);
  p.end();
  QLabel::paintEvent(event);
}

DetailRow::DetailRow(QWidget* parent)
    : QWidget(parent),
      title_(strongLabel({}, this)),
      detail_(wrappingLabel({}, this)),
      trailing_(new QLabel(this)),
      badge_(new Badge(Tone::caution, this)) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(kUnit * 2);
  grid->setVerticalSpacing(2);
  grid->addWidget(title_, 0, 0);
  makeSecondary(detail_);
  grid->addWidget(detail_, 1, 0);
  trailing_->setFont(figuresFont(font()));
  trailing_->setAlignment(Qt::AlignRight | Qt::AlignTop);
  grid->addWidget(trailing_, 0, 1, Qt::AlignRight | Qt::AlignTop);
  grid->addWidget(badge_, 2, 0, Qt::AlignLeft);
  grid->setColumnStretch(0, 1);
}

void DetailRow::setContent(const DetailContent& content) {
  setObjectName(content.name);
  title_->setText(content.title);
  detail_->setText(content.detail);
  detail_->setVisible(!content.detail.isEmpty());
  trailing_->setText(content.trailing);
  trailing_->setVisible(!content.trailing.isEmpty());
  badge_->setText(content.badge);
  badge_->setVisible(!content.badge.isEmpty());
}

RowList::RowList(const QString& name, QWidget* parent)
    : QWidget(parent), title_(sectionTitle({}, this)), rowsLayout_(new QVBoxLayout()), none_(wrappingLabel({}, this)) {
  setObjectName(name);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 1.5);
  column->addWidget(title_);
  rowsLayout_->setSpacing(kUnit * 1.5);
  column->addLayout(rowsLayout_);
  none_->setObjectName(QStringLiteral("none"));
  makeSecondary(none_);
  column->addWidget(none_);
}

void RowList::setTitle(const QString& title) { title_->setText(title); }

void RowList::setRows(const std::vector<DetailContent>& rows, const QString& none) {
  while (rows_.size() < rows.size()) {
    rows_.push_back(new DetailRow(this));
    rowsLayout_->addWidget(rows_.back());
  }
  while (rows_.size() > rows.size()) {
    delete rows_.back();
    rows_.pop_back();
  }
  for (std::size_t i = 0; i < rows.size(); ++i) rows_[i]->setContent(rows[i]);
  none_->setText(none);
  none_->setVisible(rows.empty() && !none.isEmpty());
}

}  // namespace snoozlet::views
