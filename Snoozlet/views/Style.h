#pragma once

// The desktop's own style with a little more room in push buttons, so that a
// label such as "Undo with Password…" never touches the button's edges, and
// check boxes and radio buttons whose edge can be seen on a dark window
// (Fusion draws them in a grey a few shades from the window's). The
// application, the screenshots and the view tests install it once.

#include <QProxyStyle>

namespace snoozlet::views {

class RoomyStyle : public QProxyStyle {
  Q_OBJECT

 public:
  // Wraps a new instance of the named style ("Fusion", or the desktop's).
  explicit RoomyStyle(const QString& base);

  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};

// Wraps the application's style in a RoomyStyle (once).
void useRoomyStyle();

}  // namespace snoozlet::views
