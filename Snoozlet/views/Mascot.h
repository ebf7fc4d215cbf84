#pragma once

// The Snoozlet in its teapot, drawn for the night's mood from our own
// artwork ("MascotSoundAsleep", "MascotRestless", "MascotSleepless", SVG
// resources, crisp at any scale), and the small moon glyph lists use.

#include "analysis/Mood.h"

#include <QWidget>

class QPainter;
class QSvgRenderer;

namespace snoozlet::views {

class MascotView : public QWidget {
  Q_OBJECT

 public:
  explicit MascotView(Mood mood = Mood::soundAsleep, double scale = 1.0, QWidget* parent = nullptr);

  void setMood(Mood mood);
  Mood mood() const { return mood_; }
  // 1.0 draws the mascot 96 pixels square.
  void setScale(double scale);

  // "MascotSoundAsleep", "MascotRestless", "MascotSleepless".
  static QString imageName(Mood mood);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void name();

  Mood mood_;
  double scale_;
  QSvgRenderer* renderer_;
};

// Paints the mood's moon filling `disk`; on a dark background its rim is
// drawn lighter, so a thin crescent still reads as a moon.
void paintMoon(QPainter& painter, const QRectF& disk, Mood mood, bool onDark = false);

// A moon whose lit share is the mood's (a thin crescent for a sound night,
// full for a sleepless one).
class MoodMoon : public QWidget {
  Q_OBJECT

 public:
  explicit MoodMoon(Mood mood = Mood::soundAsleep, double size = 16, QWidget* parent = nullptr);

  void setMood(Mood mood);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Mood mood_;
  double size_;
};

}  // namespace snoozlet::views
