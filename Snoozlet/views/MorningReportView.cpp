#include "views/MorningReportView.h"

#include "views/Mascot.h"
#include "views/SpeechBubble.h"
#include "views/Theme.h"

#include <QBoxLayout>

namespace snoozlet::views {

DateLine::DateLine(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setFont(captionFont(font()));
  makeSecondary(this);
}

MorningReportView::MorningReportView(const NightReport& night, const QString& text, const QString& date,
                                     Options options, QWidget* parent)
    : QWidget(parent), text_(text), plain_(options.plain) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(options.compact ? kUnit / 2 : kUnit);
  auto* mascot = new MascotView(night.mood, options.compact ? 0.62 : 1.15, this);
  row->addWidget(mascot, 0, Qt::AlignTop);

  auto* words = wrappingLabel(text, this);
  words->setObjectName(QStringLiteral("morningText"));
  QFont body = font();
  body.setPointSizeF(body.pointSizeF() * (options.compact ? 1.0 : 1.12));
  words->setFont(body);
  auto* dateLine = new DateLine(date, this);

  if (options.plain) {
    // Plain mode: the summary as text beside a small, quiet mascot.
    mascot->setScale(options.compact ? 0.45 : 0.6);
    auto* column = new QVBoxLayout();
    column->setSpacing(kUnit / 2);
    column->addWidget(dateLine);
    column->addWidget(words);
    row->addLayout(column, 1);
    return;
  }
  auto* bubble = new SpeechBubble(BubbleTail::leading, this);
  bubble->setTailOffset(options.compact ? 18 : 34);
  bubble->contentLayout()->addWidget(dateLine);
  bubble->contentLayout()->addWidget(words);
  row->addWidget(bubble, 1);
}

}  // namespace snoozlet::views
