#pragma once

// "What you can do" on the night page: the model's notice with its "Dismiss"
// button (how a change ended), then the advisor's suggestions for the night
// (presentation::remedyList), each with what it would change and what it
// costs and a button that opens the review of that fix, "Review All" from two
// fixes on, or the sentence that stands when there is nothing to suggest.
// The notice and the suggestions update separately: a new notice leaves the
// suggestions' widgets (and the focus among them) alone, and a refresh that
// suggests the same leaves them too.

#include "analysis/NightReport.h"
#include "presentation/RemedyRows.h"

#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace snoozlet {
class AppModel;
class ChangeController;
}  // namespace snoozlet

namespace snoozlet::views {

// A one-line message with a button that clears it.
class NoticeLine : public QWidget {
  Q_OBJECT

 public:
  explicit NoticeLine(QWidget* parent = nullptr);
  void setText(const QString& text);
  QLabel* label() const { return label_; }
  QPushButton* dismissButton() const { return dismiss_; }

 signals:
  void dismissed();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QLabel* label_;
  QPushButton* dismiss_;
};

class SuggestionRow : public QWidget {
  Q_OBJECT

 public:
  SuggestionRow(ChangeController& changes, const presentation::RemedyRow& row, QWidget* parent = nullptr);

  // The button that opens the review; only on a fix.
  QPushButton* reviewButton() const { return review_; }

 private:
  QPushButton* review_ = nullptr;
};

class RemediesSection : public QWidget {
  Q_OBJECT

 public:
  RemediesSection(AppModel& model, ChangeController& changes, QWidget* parent = nullptr);

  // Shows the suggestions for the night; nothing changes when they are the same.
  void setNight(const NightReport& night);

  // "Review All n"; only with two fixes or more.
  QPushButton* reviewAllButton() const;
  NoticeLine* notice() const { return notice_; }

 private:
  void showNotice();

  AppModel& model_;
  ChangeController& changes_;
  QLabel* title_;
  NoticeLine* notice_;
  QWidget* rows_ = nullptr;
  QLabel* nothing_;
  QPushButton* reviewAll_;
  std::optional<presentation::RemedyList> shown_;
};

}  // namespace snoozlet::views
