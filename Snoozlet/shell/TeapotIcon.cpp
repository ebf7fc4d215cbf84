#include "shell/TeapotIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace snoozlet::shell {

namespace {

constexpr double kBox = 18;
// The ring's width in the 18-point box: about a pixel at 16 px, more on
// larger panels.
constexpr double kRing = 1.3;

// Draws the teapot at any size asked for, so a large or HiDPI panel gets a
// sharp icon rather than a small one scaled up.
class TeapotEngine : public QIconEngine {
 public:
  explicit TeapotEngine(TeapotTones tones) : tones_(std::move(tones)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    const double side = std::min(rect.width(), rect.height());
    painter->save();
    painter->translate(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2);
    paintTeapot(*painter, side, tones_);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
    QPixmap pixmap(size * scale);
    pixmap.fill(Qt::transparent);
    pixmap.setDevicePixelRatio(scale);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(), size), mode, state);
    return pixmap;
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (const int side : teapotPixmapSizes()) sizes << QSize(side, side);
    return sizes;
  }

  QIconEngine* clone() const override { return new TeapotEngine(tones_); }
  QString key() const override { return QStringLiteral("snoozlet-teapot"); }

 private:
  TeapotTones tones_;
};

}  // namespace

QPainterPath teapotBody() {
  QPainterPath body;
  body.addEllipse(QRectF(6.1, 3.6, 2.9, 2.9));
  body.addEllipse(QRectF(9.3, 3.6, 2.9, 2.9));
  body.addEllipse(QRectF(3.6, 7.0, 11.0, 8.4));
  body.addRoundedRect(QRectF(6.0, 14.2, 6.2, 1.8), 0.6, 0.6);
  body.setFillRule(Qt::WindingFill);
  return body;
}

QList<TeapotStroke> teapotStrokes() {
  QPainterPath handle(QPointF(5.0, 12.6));
  handle.cubicTo(QPointF(2.6, 12.2), QPointF(1.6, 9.8), QPointF(1.2, 7.6));
  QPainterPath spout(QPointF(13.8, 8.9));
  spout.cubicTo(QPointF(17.4, 8.7), QPointF(17.4, 13.4), QPointF(13.9, 13.4));
  return {{handle, 1.7}, {spout, 1.5}};
}

void paintTeapot(QPainter& painter, double side, const TeapotTones& tones) {
  static const QPainterPath body = teapotBody();
  static const QList<TeapotStroke> strokes = teapotStrokes();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  // The box is scaled a little inside the side so the ring is not cut off.
  const double scale = side / (kBox + kRing);
  painter.scale(scale, scale);
  painter.translate(kRing / 2, kRing / 2);
  // Every ring first, then every fill over them: where two parts meet, the
  // fill covers the ring between them.
  painter.setBrush(Qt::NoBrush);
  painter.strokePath(body, QPen(tones.ring, kRing, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  for (const auto& [path, width] : strokes) {
    painter.strokePath(path, QPen(tones.ring, width + kRing, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  }
  painter.fillPath(body, tones.fill);
  for (const auto& [path, width] : strokes) {
    painter.strokePath(path, QPen(tones.fill, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  }
  painter.restore();
}

QIcon teapotIcon(const TeapotTones& tones) { return QIcon(new TeapotEngine(tones)); }

QList<int> teapotPixmapSizes() { return {16, 22, 24, 32, 48, 64}; }

}  // namespace snoozlet::shell
