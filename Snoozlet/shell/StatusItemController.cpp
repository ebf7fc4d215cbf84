#include "shell/StatusItemController.h"

#include "app/AppModel.h"
#include "presentation/NightFigures.h"
#include "shell/AppActions.h"
#include "shell/FirstPaint.h"
#include "shell/StatusNotifierItem.h"
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

bool onWayland() { return QGuiApplication::platformName().startsWith(QStringLiteral("wayland")); }

// The window that holds the popover's content; it tells when it closes. As a
// popup it closes on a click elsewhere; as a plain window (Wayland) it closes
// when another window takes the focus.
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

  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    // Its own "…" menu takes no focus away from it.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible() &&
        QApplication::activePopupWidget() == nullptr) {
      close();
    }
  }

 private:
  std::function<void()> closed_;
};

}  // namespace

StatusItemController::StatusItemController(AppModel& model, WindowManager& windows, QDBusConnection session,
                                           QObject* parent)
    : QObject(parent), model_(model), windows_(windows), session_(std::move(session)), menu_(new QMenu()) {
  menu_->addActions(windows.actions().trayMenu());
  paintIcon();
  connect(&model, &AppModel::published, this, &StatusItemController::update);
  connect(&model, &AppModel::analysisChanged, this, &StatusItemController::update);
  qApp->installEventFilter(this);
  update();
}

StatusItemController::~StatusItemController() {
  delete popover_.data();
  tray_.reset();
  notifier_.reset();
  delete menu_;
}

void StatusItemController::present(TrayKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  tray_.reset();
  notifier_.reset();
  if (kind == TrayKind::xembed) {
    tray_ = std::make_unique<QSystemTrayIcon>();
    tray_->setIcon(icon_);
    tray_->setToolTip(toolTip_);
    // The right button shows the menu (hung under the icon as the popover is,
    // where Qt would open it at the pointer over the icon), never the popover.
    connect(tray_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
      if (reason == QSystemTrayIcon::Trigger) activate();
      if (reason == QSystemTrayIcon::Context) showMenu();
    });
    tray_->show();
  } else if (kind == TrayKind::statusNotifier) {
    notifier_ = std::make_unique<StatusNotifierItem>(session_, menu_);
    notifier_->setIcon(QString::fromLatin1(kTeapotIconName), icon_);
    notifier_->setToolTip(toolTip_);
    connect(notifier_.get(), &StatusNotifierItem::activated, this, &StatusItemController::activate);
    connect(notifier_.get(), &StatusNotifierItem::contextMenuRequested, menu_, [this](QPoint at) { menu_->popup(at); });
    notifier_->registerWithWatcher();
  }
}

void StatusItemController::registerAgain() {
  if (notifier_) notifier_->registerWithWatcher();
}

void StatusItemController::update() {
  toolTip_ = QString::fromStdString(presentation::trayTooltip(model_.latestNight(), model_.format()));
  if (tray_) tray_->setToolTip(toolTip_);
  if (notifier_) notifier_->setToolTip(toolTip_);
}

void StatusItemController::paintIcon() {
  const QPalette palette = QApplication::palette();
  const TeapotTones tones{palette.color(QPalette::WindowText), palette.color(QPalette::Window)};
  // Qt announces palette changes that change none of these colours: the tray is told only of real ones.
  if (!icon_.isNull() && tones.fill == tones_.fill && tones.ring == tones_.ring) return;
  tones_ = tones;
  icon_ = teapotIcon(tones);
  if (tray_) tray_->setIcon(icon_);
  if (notifier_) notifier_->setIcon(QString::fromLatin1(kTeapotIconName), icon_);
}

bool StatusItemController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange) paintIcon();
  return false;
}

void StatusItemController::activate(std::optional<QPoint> at) {
  activatedAt_ = at;
  toggle();
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
  if (!onWayland()) {
    const QRect icon = tray_ ? tray_->geometry() : QRect();
    if (icon.isValid() && !icon.isEmpty()) anchor.icon = icon;
    if (activatedAt_) {
      anchor.cursor = activatedAt_;
    } else if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
      anchor.cursor = QCursor::pos();
    }
  }
  const QPoint near = anchor.icon ? anchor.icon->center() : anchor.cursor.value_or(QPoint());
  const QScreen* screen = QGuiApplication::screenAt(near);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  anchor.available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
  return placePopover(size, anchor);
}

void StatusItemController::showMenu() {
  activatedAt_.reset();
  menu_->popup(placement(menu_->sizeHint()).frame.topLeft());
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
    // Nowhere to hang it: a small frameless window, placed by the window system.
    popover->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    popover->setWindowTitle(QStringLiteral("Snoozlet"));
  }
  popover->setGeometry(place.frame);
  popover_ = popover;
  popover->show();
  popover->activateWindow();
}

}  // namespace snoozlet::shell
