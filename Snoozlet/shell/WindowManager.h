#pragma once

// The application's windows: main, settings, welcome, about and the review
// of a change. Each is built the first time it is asked for, released when it
// closes and built anew on the next request; asking for an open one raises
// that same window. The manager owns what outlives a window: the navigator
// (which page the main window shows) and the application's actions. The main
// window's geometry is saved under "SnoozletMainWindow" and restored; the
// first time it is sized from the font, no larger than the screen's area
// less its panels with room left for the window manager's frame, and
// centred there.

#include "views/Navigator.h"

#include <QMainWindow>
#include <QObject>
#include <QPointer>

#include <optional>

class QSettings;

namespace snoozlet {
class AppModel;
class ChangeController;
class PreferencesController;
}  // namespace snoozlet

namespace snoozlet::shell {

class AppActions;

// The main window: the main view under a menu bar of the application's
// actions. It saves its geometry as it closes.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(AppModel& model, ChangeController& changes, views::Navigator& navigator, const AppActions& actions,
             QSettings& store, QWidget* parent = nullptr);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QSettings& store_;
};

class WindowManager : public QObject {
  Q_OBJECT

 public:
  static constexpr const char* kGeometryKey = "SnoozletMainWindow";

  // Everything given must outlive the manager.
  WindowManager(AppModel& model, ChangeController& changes, PreferencesController& preferences, QSettings& store,
                QObject* parent = nullptr);
  ~WindowManager() override;

  views::Navigator& navigator() { return navigator_; }
  AppActions& actions() { return *actions_; }

  // Shows the main window, on the page given when one is: the user asked
  // for it (Open Snoozlet, the popover, a second launch).
  void open(std::optional<views::Page> page = std::nullopt);
  void showMainWindow();
  void showSettingsWindow();
  void showWelcomeWindow();
  void showAboutWindow();

  QWidget* mainWindow() const { return main_; }
  QWidget* settingsWindow() const { return settings_; }
  QWidget* welcomeWindow() const { return welcome_; }
  QWidget* aboutWindow() const { return about_; }
  // The review of the pending change, while one is open.
  QWidget* reviewWindow() const { return review_; }
  // True while one of the windows is visible.
  bool anyVisible() const;

 Q_SIGNALS:
  // The user asked for the main window (open()).
  void mainWindowAsked();
  // The main window or the welcome window closed (and was released).
  void mainWindowClosed();
  void welcomeClosed();

 private:
  void present(QWidget* window);
  // Gives a window the shortcuts every window answers and the manager's care.
  void adopt(QWidget* window);
  // Opens the review window when there is a change to confirm.
  void showReview();

  AppModel& model_;
  ChangeController& changes_;
  PreferencesController& preferences_;
  QSettings& store_;
  views::Navigator navigator_;
  AppActions* actions_;
  QPointer<QWidget> main_;
  QPointer<QWidget> settings_;
  QPointer<QWidget> welcome_;
  QPointer<QWidget> about_;
  QPointer<QWidget> review_;
  // Windows released by the destructor tell nobody.
  bool tearingDown_ = false;
};

}  // namespace snoozlet::shell
