#pragma once

// The look every view shares. Chrome (backgrounds, body text, buttons)
// follows the desktop's palette, light or dark; the night has a fixed
// palette of its own that reads on both: a navy band, amber wakes, a pale
// battery line. Warning and caution keep their meaning in both themes, a
// shade lighter on a dark window. Sizes are multiples of one spacing unit.

#include "presentation/NightFigures.h"

#include <QColor>
#include <QFont>
#include <QPalette>

class QLabel;
class QWidget;

namespace snoozlet::views {

// The spacing unit, in device-independent pixels.
inline constexpr int kUnit = 8;
// Page content is no wider than this, centred in a wider window.
inline constexpr int kReadingWidth = 760;

namespace night {
// The band: the night from closing the lid to opening it.
QColor band();
QColor bandOutline();
// A stretch on the charger and its hatching.
QColor charger();
QColor hatching();
// A dark wake, drawn at its own opacity.
QColor wake();
QColor batteryLine();
// Labels drawn on the band.
QColor bandText();
}  // namespace night

// True when the window's background is darker than its text.
bool isDark(const QPalette& palette);
// The colour of a ratio's band on this palette.
QColor ratioColor(presentation::RatioBand band, const QPalette& palette);
// Secondary text: the window text, faded.
QColor secondaryText(const QPalette& palette);

// A section title: a step larger than the body, semibold.
QFont titleFont(QFont base);
// A page's big title.
QFont pageTitleFont(QFont base);
// The large number of a figure.
QFont figureFont(QFont base);
// A small caption under a figure or beside a row.
QFont captionFont(QFont base);
// Digits that line up: the system's fixed-width font at `pointSize`.
QFont digitsFont(double pointSize);

// A label that wraps and never clips, with the given font and colour role.
QLabel* wrappingLabel(const QString& text, QWidget* parent = nullptr);
// A wrapping label in the semibold weight.
QLabel* strongLabel(const QString& text, QWidget* parent = nullptr);
// Sets a label's text colour to the palette's secondary text.
void makeSecondary(QLabel* label);

}  // namespace snoozlet::views
