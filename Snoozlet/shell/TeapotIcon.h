#pragma once

// The status item's teapot, drawn from its geometry in an 18 × 18 point box
// (lid knob, lid, body, base, handle, spout) in one colour, so it can take the
// panel's text colour and read on light and dark panels alike.

#include <QColor>
#include <QIcon>
#include <QPainterPath>

class QPainter;

namespace snoozlet::shell {

// The filled parts (knob, lid, body, base) in the 18-point box.
QPainterPath teapotBody();
// Paints the teapot scaled to `side` points at the painter's origin.
void paintTeapot(QPainter& painter, double side, const QColor& colour);
// The icon at 18 points for device pixel ratios 1 and 2 (and 22 and 24 for
// panels that ask for those), in `colour`.
QIcon teapotIcon(const QColor& colour);

}  // namespace snoozlet::shell
