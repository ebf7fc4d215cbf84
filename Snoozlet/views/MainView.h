#pragma once

// The main window's content: the sidebar (the application, the log's span,
// the nights, the daytime naps and the three other pages) beside the page
// the model has selected: a night, sleep settings, battery or history; the
// empty page while there is no night to show.

#include "analysis/Mood.h"

#include <QListWidget>
#include <QWidget>

class QLabel;
class QStackedWidget;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

// A sidebar row for the other pages: a title and its detail.
class PlainRow : public QWidget {
  Q_OBJECT

 public:
  PlainRow(const QString& title, const QString& detail, QWidget* parent = nullptr);
};

// A night's row: its moon, its date, and its drain per hour.
class NightRow : public QWidget {
  Q_OBJECT

 public:
  NightRow(const QString& date, const QString& drain, Mood mood, QWidget* parent = nullptr);
};

class Sidebar : public QWidget {
  Q_OBJECT

 public:
  explicit Sidebar(AppModel& model, QWidget* parent = nullptr);

  QListWidget* list() const { return list_; }
  void rebuild();

 private:
  void selectModelPage();

  AppModel& model_;
  QListWidget* list_;
  QLabel* span_;
  bool selecting_ = false;
};

// "Reading last night’s log…", or no long sleep yet and what to do about it.
class EmptyNightPage : public QWidget {
  Q_OBJECT

 public:
  explicit EmptyNightPage(AppModel& model, QWidget* parent = nullptr);
  void rebuild();

 private:
  AppModel& model_;
  QLabel* title_;
  QLabel* line_;
};

class MainView : public QWidget {
  Q_OBJECT

 public:
  explicit MainView(AppModel& model, QWidget* parent = nullptr);

  Sidebar* sidebar() const { return sidebar_; }
  // The page on show.
  QWidget* currentPage() const;

 private:
  void showPage();

  AppModel& model_;
  Sidebar* sidebar_;
  QStackedWidget* pages_;
  QWidget* night_ = nullptr;
  QWidget* empty_ = nullptr;
  QWidget* settings_ = nullptr;
  QWidget* battery_ = nullptr;
  QWidget* history_ = nullptr;
};

}  // namespace snoozlet::views
