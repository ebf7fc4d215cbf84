#pragma once

// The look every view shares. Chrome (backgrounds, body text, buttons)
// follows the desktop's palette, light or dark, also when the desktop
// switches while Snoozlet runs: text in a tone (secondary, warning, caution,
// fine) is coloured again whenever its palette changes, and what is painted
// reads the palette as it paints. The night has a fixed palette of its own
// that reads on both: a navy band, amber wakes, a pale battery line. Warning
// and caution keep their meaning in both themes, a shade lighter on a dark
// window. Spacing is a multiple of one unit; sizes that hold text are
// measured in the interface font's characters and lines.

#include "presentation/NightFigures.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>

#include <optional>
#include <string_view>

class QLabel;

namespace snoozlet::views {

// The spacing unit, in device-independent pixels.
inline constexpr int kUnit = 8;
// Page content is no wider than this many average characters, centred in a
// wider window.
inline constexpr double kReadingColumns = 108;

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

// The colours text can take besides the plain window text.
enum class Tone { secondary, warning, caution, fine };
QColor toneColour(Tone tone, const QPalette& palette);
// Colours the widget's text in the tone, now and after every palette change;
// no tone gives it back the plain window text.
void setTone(QWidget* widget, std::optional<Tone> tone);
// A tone for a ratio's band; nothing for an ordinary ratio.
std::optional<Tone> toneOf(presentation::RatioBand band);

// A thin line between two parts of a window, in the window text's colour
// faded far back.
class Separator : public QWidget {
  Q_OBJECT

 public:
  explicit Separator(Qt::Orientation orientation, QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Qt::Orientation orientation_;
};

// A section title: a step larger than the body, semibold.
QFont titleFont(QFont base);
// A page's big title.
QFont pageTitleFont(QFont base);
// The large number of a figure.
QFont figureFont(QFont base);
// A small caption under a figure or beside a row.
QFont captionFont(QFont base);
// A figure beside text: the interface font, its digits of one width.
QFont figuresFont(QFont base);
// A command the user reads before it runs: the system's fixed-width font at
// the size of `base`.
QFont commandFont(const QFont& base);

// Lengths measured in text, so that every size grows with the interface
// font: `n` average characters of `font`, and `n` of its lines.
int columns(const QFont& font, double n);
int lines(const QFont& font, double n);

// A core text as a widget shows it: UTF-8 made a QString, a hyphen between
// two letters (Wi-Fi) made non-breaking, so a name never breaks across lines.
QString shown(std::string_view text);

// A label that wraps and never clips, with the given font and colour role.
QLabel* wrappingLabel(const QString& text, QWidget* parent = nullptr);
// A wrapping label in the semibold weight.
QLabel* strongLabel(const QString& text, QWidget* parent = nullptr);
// Sets a label's text colour to the palette's secondary text.
void makeSecondary(QLabel* label);

}  // namespace snoozlet::views
