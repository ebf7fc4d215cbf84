#pragma once

// "How It Works": five pages, each a title, a body and an illustration,
// paged with Skip, Back, Next and Start. Finishing (Skip or Start) marks the
// welcome completed in the preferences.

#include "common/NightSource.h"
#include "sessions/Language.h"

#include <QDialog>
#include <QWidget>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace snoozlet {
class AppModel;
class PreferencesController;
}  // namespace snoozlet

namespace snoozlet::views {

// A row of dots, the current one filled.
class PageDots : public QWidget {
  Q_OBJECT

 public:
  PageDots(int current, int count, QWidget* parent = nullptr);
  void setCurrent(int current);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int current_;
  int count_;
};

// The two optional extras: the morning notification and opening at login,
// each with a "Turn On" button whose state becomes "On" or "Not allowed".
class OptionsPanel : public QWidget {
  Q_OBJECT

 public:
  // The notification's lines name the machine's system after `source`.
  OptionsPanel(PreferencesController& preferences, NightSource source, Language language, QWidget* parent = nullptr);

  QPushButton* notificationButton() const { return notification_; }
  QPushButton* loginButton() const { return login_; }

 private:
  QPushButton* notification_;
  QPushButton* login_;
};

class WelcomeView : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPages = 5;

  WelcomeView(const AppModel& model, PreferencesController& preferences, QWidget* parent = nullptr);

  int page() const { return page_; }
  void setPage(int page);
  QPushButton* skipButton() const { return skip_; }
  QPushButton* backButton() const { return back_; }
  QPushButton* nextButton() const { return next_; }

 signals:
  // Skip or Start: the welcome is completed.
  void finished();

 protected:
  // Closing the window (or Escape) marks the welcome completed too.
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void finish();

  PreferencesController& preferences_;
  int page_ = 0;
  QLabel* header_;
  QStackedWidget* pages_;
  PageDots* dots_;
  QPushButton* skip_;
  QPushButton* back_;
  QPushButton* next_;
};

}  // namespace snoozlet::views
