#pragma once

// The status item's teapot, drawn from its geometry in an 18 × 18 point box
// (lid knob, lid, body, base, handle, spout). A tray that does not recolour
// its icons (an XEmbed tray, a host that shows the item's pixmaps) can be
// light or dark whatever the application's palette says, so the teapot is
// drawn in two tones: filled in the palette's text colour and ringed in its
// window colour. One of the two always stands apart from the panel. Where
// the host recolours symbolic icons it uses the themed `snoozlet-symbolic`
// instead (packaging/snoozlet-symbolic.svg, the same outline).

#include <QColor>
#include <QIcon>
#include <QList>
#include <QPainterPath>

class QPainter;

namespace snoozlet::shell {

// The name of the themed symbolic icon in hicolor.
inline constexpr const char* kTeapotIconName = "snoozlet-symbolic";

// The two tones: the fill and the ring around it.
struct TeapotTones {
  QColor fill;
  QColor ring;
};

// The filled parts (knob, lid, body, base) in the 18-point box.
QPainterPath teapotBody();
// The handle and the spout: lines drawn with round ends, and their widths.
struct TeapotStroke {
  QPainterPath path;
  double width;
};
QList<TeapotStroke> teapotStrokes();
// Paints the teapot scaled to `side` points at the painter's origin.
void paintTeapot(QPainter& painter, double side, const TeapotTones& tones);
// The icon, painted afresh at whatever size and pixel ratio is asked for.
QIcon teapotIcon(const TeapotTones& tones);
// The pixel sizes a status item offers its host as pixmaps.
QList<int> teapotPixmapSizes();

}  // namespace snoozlet::shell
