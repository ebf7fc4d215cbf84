#include "shell/PopoverPlacement.h"

#include <algorithm>

namespace snoozlet::shell {

namespace {

// Moves the rectangle inside `area` (its top left corner wins when it is larger).
QRect clamped(QRect frame, const QRect& area) {
  frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())));
  frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
  return frame;
}

}  // namespace

PopoverPlacement placePopover(QSize size, const PopoverAnchor& anchor) {
  const QRect& area = anchor.available;
  if (anchor.icon && anchor.icon->isValid() && !anchor.icon->isEmpty()) {
    const QRect& icon = *anchor.icon;
    // Centred under the icon; above it when the icon is in the lower half (a bottom panel).
    QRect frame(QPoint(icon.center().x() - size.width() / 2, icon.bottom() + 1 + kPopoverGap), size);
    if (icon.center().y() > area.center().y()) frame.moveBottom(icon.top() - 1 - kPopoverGap);
    return {clamped(frame, area), true};
  }
  if (anchor.cursor) {
    QRect frame(QPoint(anchor.cursor->x() - size.width() / 2, anchor.cursor->y() + kPopoverGap), size);
    if (anchor.cursor->y() > area.center().y()) frame.moveBottom(anchor.cursor->y() - kPopoverGap);
    return {clamped(frame, area), true};
  }
  const QRect frame(QPoint(area.center().x() - size.width() / 2 + 1, area.top() + kPopoverGap * 8), size);
  return {clamped(frame, area), false};
}

}  // namespace snoozlet::shell
