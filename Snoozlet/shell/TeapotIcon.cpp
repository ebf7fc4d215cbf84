#include "shell/TeapotIcon.h"

#include <QPainter>
#include <QPixmap>

namespace snoozlet::shell {

namespace {
constexpr double kBox = 18;
}  // namespace

QPainterPath teapotBody() {
  QPainterPath path;
  path.addEllipse(QRectF(6.1, 3.6, 2.9, 2.9));
  path.addEllipse(QRectF(9.3, 3.6, 2.9, 2.9));
  path.addEllipse(QRectF(3.6, 7.0, 11.0, 8.4));
  path.addRoundedRect(QRectF(6.0, 14.2, 6.2, 1.8), 0.6, 0.6);
  path.setFillRule(Qt::WindingFill);
  return path;
}

void paintTeapot(QPainter& painter, double side, const QColor& colour) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(side / kBox, side / kBox);
  painter.fillPath(teapotBody(), colour);
  QPainterPath handle(QPointF(5.0, 12.6));
  handle.cubicTo(QPointF(2.6, 12.2), QPointF(1.6, 9.8), QPointF(1.2, 7.6));
  QPainterPath spout(QPointF(13.8, 8.9));
  spout.cubicTo(QPointF(17.4, 8.7), QPointF(17.4, 13.4), QPointF(13.9, 13.4));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(colour, 1.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(handle);
  painter.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(spout);
  painter.restore();
}

QIcon teapotIcon(const QColor& colour) {
  QIcon icon;
  for (const int side : {18, 22, 24}) {
    for (const int ratio : {1, 2}) {
      QPixmap pixmap(side * ratio, side * ratio);
      pixmap.setDevicePixelRatio(ratio);
      pixmap.fill(Qt::transparent);
      QPainter painter(&pixmap);
      paintTeapot(painter, side, colour);
      painter.end();
      icon.addPixmap(pixmap);
    }
  }
  return icon;
}

}  // namespace snoozlet::shell
