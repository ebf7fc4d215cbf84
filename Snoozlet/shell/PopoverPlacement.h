#pragma once

// Where the popover opens. Qt knows the tray icon's rectangle on most
// desktops; then the popover hangs under it (or sits above it when the panel
// is at the bottom of the screen), its right edge kept on the screen. Where
// Qt does not know it, on X11 the popover opens at the pointer that clicked
// the icon, clamped to the screen's available area; and where even that is
// unknown (Wayland), it is an ordinary small window centred at the top of
// the screen.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace snoozlet::shell {

struct PopoverAnchor {
  // The tray icon's rectangle, when the system tells it.
  std::optional<QRect> icon;
  // The pointer's position at the click, when the platform tells it.
  std::optional<QPoint> cursor;
  // The screen's area less its panels.
  QRect available;
};

struct PopoverPlacement {
  QRect frame;
  // False: shown as an ordinary window, not as a popup.
  bool popup = true;
  bool operator==(const PopoverPlacement&) const = default;
};

// Room between the popover and the icon or the pointer.
inline constexpr int kPopoverGap = 4;

PopoverPlacement placePopover(QSize size, const PopoverAnchor& anchor);

}  // namespace snoozlet::shell
