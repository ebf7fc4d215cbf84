#pragma once

// "What you can do": the advisor's suggestions for the night, each with what
// it would change and what it costs, and a button that opens the review of
// that fix ("Review All" from two fixes on); the two nothing-to-fix
// sentences; and the model's pending notice with its "Dismiss" button.

#include "analysis/NightReport.h"
#include "settings/Suggestion.h"

#include <QWidget>

#include <functional>

class QPushButton;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

// A one-line message with a button that clears it.
class NoticeLine : public QWidget {
  Q_OBJECT

 public:
  NoticeLine(const QString& text, std::function<void()> dismiss, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class SuggestionRow : public QWidget {
  Q_OBJECT

 public:
  SuggestionRow(AppModel& model, const Suggestion& suggestion, QWidget* parent = nullptr);

  // The button that opens the review; only on a fix.
  QPushButton* reviewButton() const { return review_; }

 private:
  QPushButton* review_ = nullptr;
};

class RemediesSection : public QWidget {
  Q_OBJECT

 public:
  RemediesSection(AppModel& model, const NightReport& night, QWidget* parent = nullptr);

  // "Review All n"; only with two fixes or more.
  QPushButton* reviewAllButton() const { return reviewAll_; }

 private:
  QPushButton* reviewAll_ = nullptr;
};

}  // namespace snoozlet::views
