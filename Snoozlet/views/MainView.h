#pragma once

// The main window's content: the sidebar beside the page the navigator has
// chosen: a night, sleep settings, battery or history; the empty page while
// there is no night to show. Each page is made the first time it is shown,
// then kept, and kept current by the model's signals. Above every page, one
// sentence says when the nights are not being kept (a damaged or unwritable
// archive), with the file's path and why.

#include <QWidget>

class QLabel;
class QStackedWidget;

namespace snoozlet {
class AppModel;
class ChangeController;
}  // namespace snoozlet

namespace snoozlet::views {

class Navigator;
class Sidebar;

// "Reading last night’s log…", why the log could not be read, or no long
// sleep yet and what to do about it.
class EmptyNightPage : public QWidget {
  Q_OBJECT

 public:
  explicit EmptyNightPage(const AppModel& model, QWidget* parent = nullptr);

 private:
  void update();

  const AppModel& model_;
  QLabel* title_;
  QLabel* line_;
};

class MainView : public QWidget {
  Q_OBJECT

 public:
  MainView(AppModel& model, ChangeController& changes, Navigator& navigator, QWidget* parent = nullptr);

  Sidebar* sidebar() const { return sidebar_; }
  // The sentence about the archive; hidden while the archive is well.
  QLabel* archiveProblem() const { return archive_; }
  // The page on show.
  QWidget* currentPage() const;

 private:
  void showPage();
  void showArchiveProblem();

  AppModel& model_;
  ChangeController& changes_;
  Navigator& navigator_;
  Sidebar* sidebar_;
  QLabel* archive_;
  QStackedWidget* pages_;
  QWidget* night_ = nullptr;
  QWidget* empty_ = nullptr;
  QWidget* settings_ = nullptr;
  QWidget* battery_ = nullptr;
  QWidget* history_ = nullptr;
};

}  // namespace snoozlet::views
