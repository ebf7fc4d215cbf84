#include "shell/WindowManager.h"

#include "app/AppModel.h"
#include "shell/FirstPaint.h"
#include "views/FixReviewView.h"
#include "views/MainView.h"
#include "views/SettingsView.h"
#include "views/WelcomeView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace snoozlet::shell {

namespace {

constexpr QSize kMainMinimum(900, 620);
constexpr QSize kMainFirst(1120, 780);

void centre(QWidget* window) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect frame(QPoint(), window->size());
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

// Shortcuts that work in every window: Settings…, Refresh, Close Window, Quit.
void addShortcuts(QWidget* window, WindowManager& windows, AppModel& model) {
  auto* close = new QAction(window);
  close->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  QObject::connect(close, &QAction::triggered, window, &QWidget::close);
  window->addAction(close);
  auto* settings = new QAction(window);
  settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
  QObject::connect(settings, &QAction::triggered, &windows, &WindowManager::showSettingsWindow);
  auto* refresh = new QAction(window);
  refresh->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  QObject::connect(refresh, &QAction::triggered, &model, [&model] { model.refresh(); });
  auto* quit = new QAction(window);
  quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  QObject::connect(quit, &QAction::triggered, &windows, &WindowManager::quitRequested);
  window->addActions({settings, refresh, quit});
}

// A closed window's widgets are freed; the allocator keeps their pages unless
// asked to hand them back.
void trimWhenClosed(QWidget* window) {
  QObject::connect(window, &QObject::destroyed, [] {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
  });
}

}  // namespace

MainWindow::MainWindow(AppModel& model, QSettings& store, QWidget* parent) : QMainWindow(parent), store_(store) {
  setWindowTitle(QStringLiteral("Snoozlet"));
  setMinimumSize(kMainMinimum);
  setCentralWidget(new views::MainView(model, this));
  QMenu* app = menuBar()->addMenu(QStringLiteral("Snoozlet"));
  app->addAction(tr("About Snoozlet"), this, &MainWindow::aboutRequested);
  app->addAction(tr("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma), this, &MainWindow::settingsRequested);
  app->addSeparator();
  app->addAction(tr("Refresh"), QKeySequence(Qt::CTRL | Qt::Key_R), &model, [&model] { model.refresh(); });
  app->addSeparator();
  app->addAction(tr("Close Window"), QKeySequence(Qt::CTRL | Qt::Key_W), this, &QWidget::close);
  app->addAction(tr("Quit Snoozlet"), QKeySequence(Qt::CTRL | Qt::Key_Q), qApp, &QApplication::quit);
  QMenu* help = menuBar()->addMenu(tr("Help"));
  help->addAction(tr("How It Works"), this, &MainWindow::welcomeRequested);
  if (!restoreGeometry(store.value(QString::fromLatin1(WindowManager::kGeometryKey)).toByteArray())) {
    resize(kMainFirst);
    centre(this);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  store_.setValue(QString::fromLatin1(WindowManager::kGeometryKey), saveGeometry());
  QMainWindow::closeEvent(event);
}

WindowManager::WindowManager(AppModel& model, QSettings& store, QObject* parent)
    : QObject(parent), model_(model), store_(store) {
  connect(&model, &AppModel::mainWindowRequested, this, &WindowManager::showMainWindow);
  connect(&model, &AppModel::reviewChanged, this, &WindowManager::showReview);
}

void WindowManager::showReview() {
  const auto& review = model_.review();
  if (!review || review_) return;
  // Modal to the main window when it is open; a window of its own otherwise.
  auto* window = new views::FixReviewView(model_, *review, main_);
  window->setAttribute(Qt::WA_DeleteOnClose);
  trimWhenClosed(window);
  review_ = window;
  present(window);
}

WindowManager::~WindowManager() {
  delete review_.data();
  for (QWidget* window : {main_.data(), settings_.data(), welcome_.data(), about_.data()}) delete window;
}

void WindowManager::present(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

void WindowManager::showMainWindow() {
  QElapsedTimer requested;
  requested.start();
  if (!main_) {
    auto* window = new MainWindow(model_, store_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &MainWindow::aboutRequested, this, &WindowManager::showAboutWindow);
    connect(window, &MainWindow::settingsRequested, this, &WindowManager::showSettingsWindow);
    connect(window, &MainWindow::welcomeRequested, this, &WindowManager::showWelcomeWindow);
    trimWhenClosed(window);
    main_ = window;
  }
  present(main_);
  reportFirstPaint(main_, requested, "main window");
}

void WindowManager::showSettingsWindow() {
  if (!settings_) {
    auto* window = new views::SettingsView(model_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &views::SettingsView::welcomeRequested, this, &WindowManager::showWelcomeWindow);
    connect(window, &views::SettingsView::aboutRequested, this, &WindowManager::showAboutWindow);
    addShortcuts(window, *this, model_);
    window->adjustSize();
    centre(window);
    trimWhenClosed(window);
    settings_ = window;
  }
  present(settings_);
}

void WindowManager::showWelcomeWindow() {
  if (!welcome_) {
    auto* window = new views::WelcomeView(model_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &views::WelcomeView::finished, window, &QWidget::close);
    addShortcuts(window, *this, model_);
    window->resize(window->minimumSize().expandedTo(window->sizeHint()));
    centre(window);
    trimWhenClosed(window);
    welcome_ = window;
  }
  present(welcome_);
}

void WindowManager::showAboutWindow() {
  if (!about_) {
    auto* window = new views::AboutView();
    window->setAttribute(Qt::WA_DeleteOnClose);
    addShortcuts(window, *this, model_);
    window->adjustSize();
    centre(window);
    trimWhenClosed(window);
    about_ = window;
  }
  present(about_);
}

bool WindowManager::anyVisible() const {
  for (const QWidget* window : {main_.data(), settings_.data(), welcome_.data(), about_.data()}) {
    if (window != nullptr && window->isVisible()) return true;
  }
  return false;
}

}  // namespace snoozlet::shell
