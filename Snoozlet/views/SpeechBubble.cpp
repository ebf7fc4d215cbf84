#include "views/SpeechBubble.h"

#include "views/Theme.h"

#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace snoozlet::views {

namespace {
constexpr int kTail = 10;
constexpr double kRadius = 12;
}  // namespace

SpeechBubble::SpeechBubble(BubbleTail tail, QWidget* parent)
    : QWidget(parent), tail_(tail), layout_(new QVBoxLayout(this)) {
  const int pad = kUnit * 2;
  if (tail == BubbleTail::leading) {
    layout_->setContentsMargins(pad + kTail, pad - 2, pad, pad - 2);
  } else {
    layout_->setContentsMargins(pad, pad - 2 + kTail, pad, pad - 2);
  }
  layout_->setSpacing(kUnit / 2);
}

void SpeechBubble::setTailOffset(int offset) {
  tailOffset_ = offset;
  update();
}

void SpeechBubble::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QPainterPath tail;
  if (tail_ == BubbleTail::leading) {
    box.setLeft(box.left() + kTail);
    const double y = std::min<double>(tailOffset_, box.height() - kRadius - kTail);
    tail.moveTo(box.left() + 1, y);
    tail.lineTo(box.left() - kTail, y + kTail * 0.55);
    tail.lineTo(box.left() + 1, y + kTail * 1.3);
  } else {
    box.setTop(box.top() + kTail);
    const double x = std::min<double>(tailOffset_, box.width() - kRadius - kTail);
    tail.moveTo(x, box.top() + 1);
    tail.lineTo(x + kTail * 0.55, box.top() - kTail);
    tail.lineTo(x + kTail * 1.3, box.top() + 1);
  }
  tail.closeSubpath();
  QPainterPath bubble;
  bubble.addRoundedRect(box, kRadius, kRadius);
  bubble = bubble.united(tail);
  const QPalette& pal = palette();
  QColor border = pal.color(QPalette::WindowText);
  border.setAlphaF(isDark(pal) ? 0.22f : 0.14f);
  p.fillPath(bubble, pal.color(QPalette::Base));
  p.setPen(QPen(border, 1));
  p.drawPath(bubble);
}

}  // namespace snoozlet::views
