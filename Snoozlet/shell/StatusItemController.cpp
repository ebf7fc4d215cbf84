#include "shell/StatusItemController.h"

#include "app/AppModel.h"
#include "presentation/NightFigures.h"
#include "shell/AppActions.h"
#include "shell/FirstPaint.h"
#include "shell/TeapotIcon.h"
#include "shell/WindowManager.h"
#include "views/MenuBarView.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>

namespace snoozlet::shell {

namespace {

// A click on the icon that closed the popover arrives this soon after.
constexpr qint64 kReopenGuardMs = 300;

// The popup that holds the popover's content; it tells when it closes.
class Popover : public QWidget {
 public:
  explicit Popover(std::function<void()> closed) : QWidget(nullptr, Qt::Popup), closed_(std::move(closed)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAccessibleName(QStringLiteral("Snoozlet"));
  }

 protected:
  void hideEvent(QHideEvent* event) override {
    QWidget::hideEvent(event);
    if (closed_) closed_();
    close();
  }

 private:
  std::function<void()> closed_;
};

}  // namespace

StatusItemController::StatusItemController(AppModel& model, WindowManager& windows, QObject* parent)
    : QObject(parent), model_(model), windows_(windows), menu_(new QMenu()) {
  paintIcon();
  menu_->addActions(windows.actions().trayMenu());
  tray_.setContextMenu(menu_);
  connect(&tray_, &QSystemTrayIcon::activated, this, &StatusItemController::activated);
  connect(&model, &AppModel::published, this, &StatusItemController::update);
  connect(&model, &AppModel::analysisChanged, this, &StatusItemController::update);
  qApp->installEventFilter(this);
  update();
}

StatusItemController::~StatusItemController() {
  delete popover_.data();
  delete menu_;
}

void StatusItemController::show() { tray_.show(); }

void StatusItemController::update() {
  tray_.setToolTip(QString::fromStdString(presentation::trayTooltip(model_.latestNight(), model_.format())));
}

void StatusItemController::paintIcon() {
  tray_.setIcon(teapotIcon(QApplication::palette().color(QPalette::WindowText)));
}

bool StatusItemController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) paintIcon();
  return false;
}

void StatusItemController::activated(QSystemTrayIcon::ActivationReason reason) {
  // The right button shows the context menu by itself and never the popover.
  if (reason == QSystemTrayIcon::Trigger) toggle();
}

void StatusItemController::toggle() {
  if (isPopoverOpen()) {
    popover_->close();
    return;
  }
  if (closed_.isValid() && closed_.elapsed() < kReopenGuardMs) return;
  QElapsedTimer clicked;
  clicked.start();
  open();
  reportFirstPaint(popover_, clicked, "popover");
}

PopoverPlacement StatusItemController::placement(QSize size) const {
  PopoverAnchor anchor;
  const QRect icon = const_cast<QSystemTrayIcon&>(tray_).geometry();
  if (icon.isValid() && !icon.isEmpty()) anchor.icon = icon;
  if (QGuiApplication::platformName() == QStringLiteral("xcb")) anchor.cursor = QCursor::pos();
  const QPoint near = anchor.icon ? anchor.icon->center() : anchor.cursor.value_or(QPoint());
  const QScreen* screen = QGuiApplication::screenAt(near);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  anchor.available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  return placePopover(size, anchor);
}

void StatusItemController::open() {
  auto* popover = new Popover([this] { closed_.start(); });
  auto* layout = new QVBoxLayout(popover);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* view = new views::MenuBarView(model_, windows_.actions().popoverMenu(), popover);
  layout->addWidget(view);
  connect(view, &views::MenuBarView::openRequested, this, [this, popover](std::optional<Instant> night) {
    popover->close();
    windows_.open(night ? std::optional<views::Page>(views::Page::night(*night)) : std::nullopt);
  });
  // A command from the "…" menu closes the popover, as any menu command does.
  connect(view->actionMenu(), &QMenu::triggered, popover, &QWidget::close);
  popover->adjustSize();
  const PopoverPlacement place = placement(popover->size());
  if (!place.popup) {
    // No anchor at all: an ordinary small window.
    popover->setWindowFlags(Qt::Window);
    popover->setWindowTitle(QStringLiteral("Snoozlet"));
  }
  popover->setGeometry(place.frame);
  popover_ = popover;
  popover->show();
  popover->activateWindow();
}

}  // namespace snoozlet::shell
