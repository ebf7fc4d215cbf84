#pragma once

// The application's windows: main, settings, welcome and about, each built
// the first time it is asked for, released when it closes and built anew on
// the next request; asking for an open one raises that same window. The main
// window's geometry is saved under "SnoozletMainWindow" and restored (centred
// the first time). Closing the welcome window marks the welcome completed.

#include <QMainWindow>
#include <QObject>
#include <QPointer>

class QSettings;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::shell {

// The main window: the main view under a menu bar with the application's
// commands. It saves its geometry as it closes.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(AppModel& model, QSettings& store, QWidget* parent = nullptr);

 signals:
  void aboutRequested();
  void settingsRequested();
  void welcomeRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QSettings& store_;
};

class WindowManager : public QObject {
  Q_OBJECT

 public:
  static constexpr const char* kGeometryKey = "SnoozletMainWindow";

  WindowManager(AppModel& model, QSettings& store, QObject* parent = nullptr);
  ~WindowManager() override;

  void showMainWindow();
  void showSettingsWindow();
  void showWelcomeWindow();
  void showAboutWindow();

  QWidget* mainWindow() const { return main_; }
  QWidget* settingsWindow() const { return settings_; }
  QWidget* welcomeWindow() const { return welcome_; }
  QWidget* aboutWindow() const { return about_; }
  // The review of the model's pending change, while one is open.
  QWidget* reviewWindow() const { return review_; }
  // True while one of the windows is visible.
  bool anyVisible() const;

 signals:
  // Quit Snoozlet from a window's menu.
  void quitRequested();

 private:
  void present(QWidget* window);
  // Opens the review window when the model has a review to confirm.
  void showReview();

  AppModel& model_;
  QSettings& store_;
  QPointer<QWidget> main_;
  QPointer<QWidget> settings_;
  QPointer<QWidget> welcome_;
  QPointer<QWidget> about_;
  QPointer<QWidget> review_;
};

}  // namespace snoozlet::shell
