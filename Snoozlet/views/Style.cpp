#include "views/Style.h"

#include "views/Theme.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace snoozlet::views {

RoomyStyle::RoomyStyle(const QString& base) : QProxyStyle(QStyleFactory::create(base)) {}

QSize RoomyStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                   const QWidget* widget) const {
  QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
  // A unit and a half on each side of a button's words.
  if (type == CT_PushButton) result.rwidth() += kUnit * 2;
  return result;
}

void RoomyStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
  QProxyStyle::drawPrimitive(element, option, painter, widget);
  const bool indicator = element == PE_IndicatorCheckBox || element == PE_IndicatorRadioButton;
  if (!indicator || !isDark(option->palette)) return;
  // An edge in the text's colour, half strength: seen on the dark window,
  // quieter than the label beside it.
  QColor edge = option->palette.color(QPalette::WindowText);
  edge.setAlphaF((option->state & State_Enabled) ? 0.5f : 0.25f);
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->setPen(QPen(edge, 1));
  painter->setBrush(Qt::NoBrush);
  const QRectF box = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
  if (element == PE_IndicatorRadioButton) {
    painter->drawEllipse(box);
  } else {
    painter->drawRoundedRect(box, 2, 2);
  }
  painter->restore();
}

void useRoomyStyle() {
  if (qobject_cast<RoomyStyle*>(QApplication::style()) != nullptr) return;
  QApplication::setStyle(new RoomyStyle(QApplication::style()->name()));
}

}  // namespace snoozlet::views
