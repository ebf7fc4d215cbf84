#include "shell/FirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace snoozlet::shell {

Q_LOGGING_CATEGORY(lcTiming, "snoozlet.timing", QtWarningMsg)

namespace {

// Watches the window's first exposure. The paint runs while the exposure is
// handled, so a zero timer started then fires after the pixels were flushed.
class FirstPaintWatch : public QObject {
 public:
  FirstPaintWatch(QWindow* window, QElapsedTimer since, const char* what)
      : QObject(window), since_(since), what_(what) {
    setObjectName(QString::fromLatin1(kName));
  }

  static constexpr const char* kName = "snoozletFirstPaintWatch";

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, this, [this] {
        qCDebug(lcTiming).noquote() << what_ << "painted" << since_.elapsed() << "ms after the request";
        deleteLater();
      });
    }
    return false;
  }

 private:
  QElapsedTimer since_;
  const char* what_;
};

}  // namespace

void reportFirstPaint(QWidget* window, QElapsedTimer since, const char* what) {
  if (!lcTiming().isDebugEnabled() || window == nullptr || window->windowHandle() == nullptr) return;
  // Already on screen, or already watched: nothing new to report.
  if (window->windowHandle()->isExposed() ||
      window->windowHandle()->findChild<QObject*>(QString::fromLatin1(FirstPaintWatch::kName),
                                                  Qt::FindDirectChildrenOnly) != nullptr)
    return;
  auto* watch = new FirstPaintWatch(window->windowHandle(), since, what);
  window->windowHandle()->installEventFilter(watch);
}

}  // namespace snoozlet::shell
