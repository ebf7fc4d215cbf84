#include "shell/WindowManager.h"

#include "app/AppModel.h"
#include "app/ChangeController.h"
#include "shell/AppActions.h"
#include "shell/FirstPaint.h"
#include "views/FixReviewView.h"
#include "views/MainView.h"
#include "views/SettingsView.h"
#include "views/Theme.h"
#include "views/WelcomeView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace snoozlet::shell {

namespace {

// The main window's smallest and first sizes, in lines and average
// characters of the interface font, so a larger font gets a larger window.
QSize mainMinimum(const QFont& font) { return {views::columns(font, 120), views::lines(font, 34)}; }
QSize mainFirst(const QFont& font) { return {views::columns(font, 150), views::lines(font, 44)}; }
// Room for the window manager's frame, which is known only once the window
// is on screen: a title bar of about two lines and a border of about one
// character on every side.
QSize frameAllowance(const QFont& font) { return {views::columns(font, 2), views::lines(font, 2.5)}; }

// The screen a new window opens on: the one under the pointer.
const QScreen* currentScreen() {
  const QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
  return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

// Centres the window with a frame `frame` larger than it in the screen's
// available area (its top left corner kept inside).
void centre(QWidget* window, QSize frame = {}) {
  const QScreen* screen = currentScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  QRect outer(QPoint(), window->size() + frame);
  outer.moveCenter(area.center());
  window->move(std::max(outer.left(), area.left()), std::max(outer.top(), area.top()));
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

MainWindow::MainWindow(AppModel& model, ChangeController& changes, views::Navigator& navigator,
                       const AppActions& actions, QSettings& store, QWidget* parent)
    : QMainWindow(parent), store_(store) {
  setWindowTitle(QStringLiteral("Snoozlet"));
  setMinimumSize(mainMinimum(font()));
  setCentralWidget(new views::MainView(model, changes, navigator, this));
  QMenu* app = menuBar()->addMenu(QStringLiteral("Snoozlet"));
  app->addActions({actions.about(), actions.settings()});
  app->addSeparator();
  app->addAction(actions.refresh());
  app->addSeparator();
  app->addActions({actions.closeWindow(), actions.quit()});
  QMenu* help = menuBar()->addMenu(tr("Help"));
  help->addAction(actions.howItWorks());
  if (!restoreGeometry(store.value(QString::fromLatin1(WindowManager::kGeometryKey)).toByteArray())) {
    QSize first = mainFirst(font());
    // A first size that fits the screen with its frame, panels left out.
    const QSize frame = frameAllowance(font());
    if (const QScreen* screen = currentScreen()) first = first.boundedTo(screen->availableGeometry().size() - frame);
    resize(first.expandedTo(minimumSizeHint()));
    centre(this, frame);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  store_.setValue(QString::fromLatin1(WindowManager::kGeometryKey), saveGeometry());
  QMainWindow::closeEvent(event);
}

WindowManager::WindowManager(AppModel& model, ChangeController& changes, PreferencesController& preferences,
                             QSettings& store, QObject* parent)
    : QObject(parent),
      model_(model),
      changes_(changes),
      preferences_(preferences),
      store_(store),
      navigator_(model),
      actions_(new AppActions(model, this)) {
  connect(actions_->open(), &QAction::triggered, this, [this] { open(); });
  connect(actions_->settings(), &QAction::triggered, this, &WindowManager::showSettingsWindow);
  connect(actions_->howItWorks(), &QAction::triggered, this, &WindowManager::showWelcomeWindow);
  connect(actions_->about(), &QAction::triggered, this, &WindowManager::showAboutWindow);
  connect(&changes, &ChangeController::reviewChanged, this, &WindowManager::showReview);
}

WindowManager::~WindowManager() {
  tearingDown_ = true;
  delete review_.data();
  for (QWidget* window : {main_.data(), settings_.data(), welcome_.data(), about_.data()}) delete window;
}

void WindowManager::present(QWidget* window) {
  // A minimised window comes back as it was before.
  if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->show();
  window->raise();
  window->activateWindow();
}

void WindowManager::adopt(QWidget* window) {
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->addActions(actions_->windowShortcuts());
  trimWhenClosed(window);
}

void WindowManager::showReview() {
  if (!changes_.review() || review_) return;
  // Modal to the main window when it is open; a window of its own otherwise.
  auto* window = new views::FixReviewView(changes_, main_);
  adopt(window);
  review_ = window;
  present(window);
}

void WindowManager::open(std::optional<views::Page> page) {
  if (page) navigator_.choose(*page);
  showMainWindow();
  emit mainWindowAsked();
}

void WindowManager::showMainWindow() {
  QElapsedTimer requested;
  requested.start();
  if (!main_) {
    auto* window = new MainWindow(model_, changes_, navigator_, *actions_, store_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    trimWhenClosed(window);
    connect(window, &QObject::destroyed, this, [this] {
      if (!tearingDown_) emit mainWindowClosed();
    });
    main_ = window;
  }
  present(main_);
  reportFirstPaint(main_, requested, "main window");
}

void WindowManager::showSettingsWindow() {
  if (!settings_) {
    auto* window = new views::SettingsView(preferences_, model_.nightSource(), model_.language());
    connect(window, &views::SettingsView::welcomeRequested, this, &WindowManager::showWelcomeWindow);
    connect(window, &views::SettingsView::aboutRequested, this, &WindowManager::showAboutWindow);
    adopt(window);
    window->adjustSize();
    centre(window);
    settings_ = window;
  }
  present(settings_);
}

void WindowManager::showWelcomeWindow() {
  if (!welcome_) {
    auto* window = new views::WelcomeView(model_, preferences_);
    connect(window, &views::WelcomeView::finished, window, &QWidget::close);
    connect(window, &QObject::destroyed, this, [this] {
      if (!tearingDown_) emit welcomeClosed();
    });
    adopt(window);
    window->resize(window->minimumSize().expandedTo(window->sizeHint()));
    centre(window);
    welcome_ = window;
  }
  present(welcome_);
}

void WindowManager::showAboutWindow() {
  if (!about_) {
    auto* window = new views::AboutView();
    adopt(window);
    window->adjustSize();
    centre(window);
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
