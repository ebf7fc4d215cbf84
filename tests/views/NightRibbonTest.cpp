// The ribbon's pixels at points its layout computes (inside a wake, inside a
// charger stretch between its hatching, on the battery line), away from
// anti-aliased edges and text; and painting at any size without a crash.

#include "Nights.h"
#include "views/Mascot.h"
#include "views/NightRibbon.h"
#include "views/Theme.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace snoozlet::views {
namespace {

using namespace snoozlet::testing;

QImage paint(NightRibbon& ribbon, QSize size, double ratio = 1) {
  ribbon.resize(size);
  QImage image(size * ratio, QImage::Format_ARGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  QPainter painter(&image);
  ribbon.render(&painter);
  return image;
}

int distance(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

TEST(NightRibbonTest, PixelsAtPointsTheLayoutComputes) {
  SleepSession s = session(8);
  s.darkWakes = {wake(120, 600)};  // ten minutes: wide enough to hit, opacity 0.95
  s.battery = {reading(0, 90), reading(240, 80), reading(300, 80, true), reading(420, 95), reading(480, 93)};
  NightRibbon ribbon;
  ribbon.setNight(report(s), kEnglish);
  const QImage image = paint(ribbon, QSize(900, ribbon.sizeHint().height()));
  const QPointF origin = ribbon.bandRect().topLeft();
  const auto& layout = ribbon.layout();
  const auto pixel = [&](double x, double y) {
    return image.pixelColor(QPointF(origin.x() + x, origin.y() + y).toPoint());
  };

  ASSERT_EQ(layout.wakes.size(), 1u);
  const auto& w = layout.wakes[0].rect;
  const QColor inWake = pixel(w.x + w.width / 2, w.y + 3);
  EXPECT_LT(distance(inWake, night::wake()), 40) << inWake.name().toStdString();

  ASSERT_EQ(layout.stretches.size(), 1u);
  const auto& stretch = layout.stretches[0];
  // Between two hatching lines: they lie on x + y = height + k·spacing, so a
  // point half a spacing off that is clear of them.
  const double spacing = presentation::kHatchSpacing;
  const double y = layout.band.height / 2;
  double x = stretch.rect.x + 10;
  const double off = std::fmod(x + y - layout.band.height + 100 * spacing, spacing);
  x += std::fmod(spacing / 2 - off + 2 * spacing, spacing);
  const QColor inStretch = pixel(x, y);
  EXPECT_LT(distance(inStretch, night::charger()), 30) << inStretch.name().toStdString();
  EXPECT_LT(distance(pixel(stretch.rect.x - 20, y), night::band()), 30) << "the band outside the stretch";

  // On the battery line, halfway along its first (falling) segment.
  const auto& a = layout.battery[0];
  const auto& b = layout.battery[1];
  const QColor onLine = pixel((a.x + b.x) / 2, (a.y + b.y) / 2);
  EXPECT_GT(onLine.lightness(), 150) << onLine.name().toStdString();
  // Well below the line, nothing pale.
  EXPECT_LT(pixel((a.x + b.x) / 2 + 40, layout.band.height - 9).lightness(), 100);
}

TEST(NightRibbonTest, PaintsAtAnySizeAndRatio) {
  SleepSession s = session(0.1);
  s.darkWakes = {wake(1, std::nullopt), wake(3, 70)};
  s.battery = {reading(0, 50), reading(6, 50, true)};
  for (const bool compact : {false, true}) {
    NightRibbon ribbon;
    ribbon.setCompact(compact);
    ribbon.setNight(report(s), kTurkish);
    for (const int width : {0, 1, 2, 3, 360, 1600}) {
      for (const double ratio : {1.0, 2.0}) paint(ribbon, QSize(width, std::max(ribbon.sizeHint().height(), 1)), ratio);
      EXPECT_EQ(ribbon.layout().wakes.size(), 2u) << "every wake at width " << width;
    }
    NightRibbon empty;  // no night yet
    paint(empty, QSize(200, 80));
  }
}

TEST(NightRibbonTest, MascotArtworkForEveryMood) {
  for (const Mood mood : {Mood::soundAsleep, Mood::restless, Mood::sleepless}) {
    const QString name = MascotView::imageName(mood);
    MascotView mascot(mood, 0.5);
    mascot.resize(mascot.sizeHint());
    QImage image(mascot.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    mascot.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_GT(qAlpha(image.pixel(24, 30)), 200) << name.toStdString() << ": the teapot's middle is drawn";
  }

  // The moon is lit more the worse the night: a thin crescent, then about half, then full.
  std::vector<int> lit;
  for (const Mood mood : {Mood::soundAsleep, Mood::restless, Mood::sleepless}) {
    MoodMoon moon(mood, 40);
    moon.resize(40, 40);
    QImage image(moon.size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    moon.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    int count = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) count += QColor(image.pixel(x, y)).lightness() > 180 ? 1 : 0;
    }
    lit.push_back(count);
  }
  EXPECT_LT(lit[0], lit[1]);
  EXPECT_LT(lit[1], lit[2]);
  EXPECT_GT(lit[0], 40) << "a crescent is still visible";
  EXPECT_GT(lit[2], 1000) << "a full moon fills most of its 40 × 40 box";
}

}  // namespace
}  // namespace snoozlet::views
