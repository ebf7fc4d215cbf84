#include "views/Mascot.h"

#include "app/AppLanguage.h"
#include "views/Theme.h"

#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <cmath>

namespace snoozlet::views {

namespace {

constexpr double kMascotSize = 96;

QString resource(Mood mood) { return QStringLiteral(":/art/%1.svg").arg(MascotView::imageName(mood)); }

}  // namespace

MascotView::MascotView(Mood mood, double scale, QWidget* parent)
    : QWidget(parent), mood_(mood), scale_(scale), renderer_(new QSvgRenderer(resource(mood), this)) {
  name();
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void MascotView::name() {
  // A screen reader hears the mascot and its mood: "The Snoozlet, Restless".
  const std::string_view words = mood::title(mood_, preferredLanguage());
  setAccessibleName(tr("The Snoozlet, %1").arg(shown(words)));
}

QString MascotView::imageName(Mood mood) {
  switch (mood) {
    case Mood::soundAsleep: return QStringLiteral("MascotSoundAsleep");
    case Mood::restless: return QStringLiteral("MascotRestless");
    case Mood::sleepless: return QStringLiteral("MascotSleepless");
  }
  return QStringLiteral("MascotSoundAsleep");
}

void MascotView::setMood(Mood mood) {
  if (mood == mood_) return;
  mood_ = mood;
  renderer_->load(resource(mood));
  name();
  update();
}

void MascotView::setScale(double scale) {
  scale_ = scale;
  updateGeometry();
  update();
}

QSize MascotView::sizeHint() const {
  const int side = static_cast<int>(std::lround(kMascotSize * scale_));
  return QSize(side, side);
}

void MascotView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const double side = std::min(width(), height());
  renderer_->render(&p, QRectF((width() - side) / 2, (height() - side) / 2, side, side));
}

MoodMoon::MoodMoon(Mood mood, double size, QWidget* parent) : QWidget(parent), mood_(mood), size_(size) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void MoodMoon::setMood(Mood mood) {
  mood_ = mood;
  update();
}

QSize MoodMoon::sizeHint() const {
  const int side = static_cast<int>(std::ceil(size_));
  return QSize(side, side);
}

void paintMoon(QPainter& p, const QRectF& disk, Mood mood, bool onDark) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath whole;
  whole.addEllipse(disk);
  p.fillPath(whole, night::band());
  // The lit part: the disk less a copy of it shifted left by the lit share of its width
  // (tangent, so wholly lit, at a share of 1).
  QPainterPath shadow;
  shadow.addEllipse(disk.translated(-disk.width() * mood::moonFill(mood), 0));
  p.fillPath(whole.subtracted(shadow), QColor(0xF6, 0xE3, 0xA1));
  QColor rim = onDark ? night::bandText() : night::bandOutline();
  if (onDark) rim.setAlphaF(0.7f);
  p.setPen(QPen(rim, 1));
  p.drawPath(whole);
  p.restore();
}

void MoodMoon::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const double side = std::min(width(), height()) - 1.0;
  paintMoon(p, QRectF((width() - side) / 2, (height() - side) / 2, side, side), mood_, isDark(palette()));
}

}  // namespace snoozlet::views
