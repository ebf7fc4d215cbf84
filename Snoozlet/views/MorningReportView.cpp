#include "views/MorningReportView.h"

#include "views/Mascot.h"
#include "views/SpeechBubble.h"
#include "views/Theme.h"

#include <QBoxLayout>

namespace snoozlet::views {

namespace {

QLabel* words(bool compact, QWidget* parent) {
  auto* label = wrappingLabel({}, parent);
  label->setObjectName(QStringLiteral("morningText"));
  QFont body = label->font();
  body.setPointSizeF(body.pointSizeF() * (compact ? 1.0 : 1.12));
  label->setFont(body);
  return label;
}

}  // namespace

DateLine::DateLine(QWidget* parent) : QLabel(parent) {
  setFont(captionFont(font()));
  makeSecondary(this);
}

MorningReportView::MorningReportView(bool compact, QWidget* parent)
    : QWidget(parent),
      compact_(compact),
      mascot_(new MascotView(Mood::soundAsleep, compact ? 0.62 : 1.15, this)),
      bubble_(new SpeechBubble(BubbleTail::leading, this)),
      plain_(new QWidget(this)),
      bubbleDate_(new DateLine()),
      bubbleWords_(words(compact, nullptr)),
      plainDate_(new DateLine()),
      plainWords_(words(compact, nullptr)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(compact ? kUnit / 2 : kUnit);
  row->addWidget(mascot_, 0, Qt::AlignTop);
  // Both forms are made once; the one not in use is hidden.
  row->addWidget(bubble_, 1);
  row->addWidget(plain_, 1);
  bubble_->setTailOffset(compact ? 18 : 34);
  // The date and the words keep together, centred in a bubble as tall as the
  // mascot: two lines of words sit as close under the date as three do.
  bubble_->contentLayout()->addStretch(1);
  bubble_->contentLayout()->addWidget(bubbleDate_);
  bubble_->contentLayout()->addWidget(bubbleWords_);
  bubble_->contentLayout()->addStretch(1);
  auto* column = new QVBoxLayout(plain_);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit / 2);
  column->addWidget(plainDate_);
  column->addWidget(plainWords_);
  column->addStretch(1);
  plain_->hide();
}

void MorningReportView::setReport(Mood mood, const QString& text, const QString& date, bool plain) {
  text_ = text;
  isPlain_ = plain;
  mascot_->setMood(mood);
  // Plain mode: a small, quiet mascot.
  mascot_->setScale(plain ? (compact_ ? 0.45 : 0.6) : (compact_ ? 0.62 : 1.15));
  for (QLabel* label : {bubbleWords_, plainWords_}) label->setText(text);
  for (QLabel* label : {static_cast<QLabel*>(bubbleDate_), static_cast<QLabel*>(plainDate_)}) label->setText(date);
  bubble_->setHidden(plain);
  plain_->setHidden(!plain);
}

}  // namespace snoozlet::views
