#pragma once

// The mascot's morning report: the Snoozlet for the night's mood beside a
// speech bubble holding the morning text (the narrator's speech), with the
// night's date line above; in plain mode the plain summary beside a small,
// quiet mascot, without the bubble. A new night, a new text or a switch of
// plain mode updates the report in place.

#include "analysis/Mood.h"

#include <QLabel>
#include <QWidget>

namespace snoozlet::views {

class MascotView;
class SpeechBubble;

// The night's title above the report ("Saturday night, 5 December").
class DateLine : public QLabel {
  Q_OBJECT

 public:
  explicit DateLine(QWidget* parent = nullptr);
};

class MorningReportView : public QWidget {
  Q_OBJECT

 public:
  // `compact`: the popover's form, a smaller mascot and text.
  explicit MorningReportView(bool compact, QWidget* parent = nullptr);

  void setReport(Mood mood, const QString& text, const QString& date, bool plain);

  const QString& text() const { return text_; }
  bool isPlain() const { return isPlain_; }

 private:
  bool compact_;
  QString text_;
  bool isPlain_ = false;
  MascotView* mascot_;
  SpeechBubble* bubble_;
  QWidget* plain_;
  DateLine* bubbleDate_;
  QLabel* bubbleWords_;
  DateLine* plainDate_;
  QLabel* plainWords_;
};

}  // namespace snoozlet::views
