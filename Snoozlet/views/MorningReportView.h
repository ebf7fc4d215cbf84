#pragma once

// The mascot's morning report: the Snoozlet for the night's mood beside a
// speech bubble holding the model's morning text (the narrator's speech, or
// the plain summary in plain mode), with the night's date line above.

#include "analysis/NightReport.h"

#include <QLabel>
#include <QWidget>

namespace snoozlet::views {

class MascotView;

// The night's title above the report ("Saturday night, 5 December").
class DateLine : public QLabel {
  Q_OBJECT

 public:
  explicit DateLine(const QString& text, QWidget* parent = nullptr);
};

class MorningReportView : public QWidget {
  Q_OBJECT

 public:
  struct Options {
    // The popover's form: a smaller mascot and text, the tail on top.
    bool compact = false;
    // In plain mode the mascot stays quiet: only the summary, no bubble.
    bool plain = false;
  };

  MorningReportView(const NightReport& night, const QString& text, const QString& date, Options options,
                    QWidget* parent = nullptr);

  const QString& text() const { return text_; }
  bool isPlain() const { return plain_; }

 private:
  QString text_;
  bool plain_;
};

}  // namespace snoozlet::views
