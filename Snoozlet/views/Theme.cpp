#include "views/Theme.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>

#include <cmath>

namespace snoozlet::views {

namespace night {
// The charger stretch's navy, sRGB (0.110, 0.141, 0.251); the band a shade lighter so the stretch shows.
QColor band() { return QColor(0x25, 0x2E, 0x52); }
QColor bandOutline() { return QColor(0x3B, 0x47, 0x74); }
QColor charger() { return QColor::fromRgbF(0.110f, 0.141f, 0.251f); }
QColor hatching() { return QColor(0x4A, 0x5A, 0x94); }
QColor wake() { return QColor(0xFF, 0xB5, 0x47); }
QColor batteryLine() { return QColor(0xE6, 0xEC, 0xF8); }
QColor bandText() { return QColor(0xC9, 0xD2, 0xEA); }
}  // namespace night

bool isDark(const QPalette& palette) {
  return palette.color(QPalette::Window).lightnessF() < palette.color(QPalette::WindowText).lightnessF();
}

QColor ratioColor(presentation::RatioBand band, const QPalette& palette) {
  const bool dark = isDark(palette);
  switch (band) {
    case presentation::RatioBand::warning: return dark ? QColor(0xFF, 0x6B, 0x6B) : QColor(0xC9, 0x2A, 0x2A);
    case presentation::RatioBand::caution: return dark ? QColor(0xFF, 0xB2, 0x24) : QColor(0xA8, 0x5B, 0x00);
    case presentation::RatioBand::ordinary: break;
  }
  return palette.color(QPalette::WindowText);
}

QColor secondaryText(const QPalette& palette) {
  QColor text = palette.color(QPalette::WindowText);
  const QColor window = palette.color(QPalette::Window);
  // Two thirds of the way from the background to the text: quieter, still readable.
  return QColor::fromRgbF(window.redF() + (text.redF() - window.redF()) * 0.68f,
                          window.greenF() + (text.greenF() - window.greenF()) * 0.68f,
                          window.blueF() + (text.blueF() - window.blueF()) * 0.68f);
}

QColor toneColour(Tone tone, const QPalette& palette) {
  switch (tone) {
    case Tone::secondary: return secondaryText(palette);
    case Tone::warning: return ratioColor(presentation::RatioBand::warning, palette);
    case Tone::caution: return ratioColor(presentation::RatioBand::caution, palette);
    case Tone::fine: return isDark(palette) ? QColor(0x5C, 0xC8, 0x8A) : QColor(0x2E, 0x8B, 0x57);
  }
  return palette.color(QPalette::WindowText);
}

std::optional<Tone> toneOf(presentation::RatioBand band) {
  switch (band) {
    case presentation::RatioBand::warning: return Tone::warning;
    case presentation::RatioBand::caution: return Tone::caution;
    case presentation::RatioBand::ordinary: break;
  }
  return std::nullopt;
}

namespace {

constexpr const char* kToneProperty = "snoozletTone";

// The palette a toned widget would have without its own text colour: its
// parent's, or the application's for a window.
QPalette basePalette(const QWidget* widget) {
  return widget->parentWidget() != nullptr ? widget->parentWidget()->palette() : QApplication::palette(widget);
}

// Sets the tone's colour when it differs, so the palette change this causes
// ends here.
void applyTone(QWidget* widget, Tone tone) {
  const QColor colour = toneColour(tone, basePalette(widget));
  if (widget->palette().color(QPalette::WindowText) == colour) return;
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  widget->setPalette(palette);
}

// Colours toned widgets again when their palette changes (the desktop went
// dark, or light): one filter on the application for every toned widget.
class ToneFollower : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::PaletteChange && watched->isWidgetType()) {
      const QVariant tone = watched->property(kToneProperty);
      if (tone.isValid()) applyTone(static_cast<QWidget*>(watched), static_cast<Tone>(tone.toInt()));
    }
    return false;
  }
};

void followPalette() {
  static const QString name = QStringLiteral("snoozletToneFollower");
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || app->findChild<QObject*>(name, Qt::FindDirectChildrenOnly) != nullptr) return;
  auto* follower = new ToneFollower(app);
  follower->setObjectName(name);
  app->installEventFilter(follower);
}

}  // namespace

void setTone(QWidget* widget, std::optional<Tone> tone) {
  if (!tone) {
    if (widget->property(kToneProperty).isValid()) {
      widget->setProperty(kToneProperty, QVariant());
      widget->setPalette(QPalette());
    }
    return;
  }
  followPalette();
  widget->setProperty(kToneProperty, static_cast<int>(*tone));
  applyTone(widget, *tone);
}

Separator::Separator(Qt::Orientation orientation, QWidget* parent) : QWidget(parent), orientation_(orientation) {
  setSizePolicy(orientation == Qt::Vertical ? QSizePolicy::Fixed : QSizePolicy::Expanding,
                orientation == Qt::Vertical ? QSizePolicy::Expanding : QSizePolicy::Fixed);
}

QSize Separator::sizeHint() const { return {1, 1}; }

void Separator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QColor line = palette().color(QPalette::WindowText);
  line.setAlphaF(0.12f);
  p.fillRect(rect(), line);
}

QFont titleFont(QFont base) {
  base.setPointSizeF(base.pointSizeF() * 1.25);
  base.setWeight(QFont::DemiBold);
  return base;
}

QFont pageTitleFont(QFont base) {
  base.setPointSizeF(base.pointSizeF() * 1.7);
  base.setWeight(QFont::DemiBold);
  return base;
}

QFont figureFont(QFont base) {
  base.setPointSizeF(base.pointSizeF() * 2.0);
  base.setWeight(QFont::DemiBold);
  return base;
}

QFont captionFont(QFont base) {
  base.setPointSizeF(base.pointSizeF() * 0.88);
  return base;
}

QFont figuresFont(QFont base) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
  base.setFeature(QFont::Tag("tnum"), 1);
#endif
  // Before Qt 6.7 the digits are the font's own, of one width in most interface fonts.
  base.setWeight(QFont::Medium);
  return base;
}

QFont commandFont(const QFont& base) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(base.pointSizeF());
  return font;
}

int columns(const QFont& font, double n) {
  return static_cast<int>(std::lround(QFontMetricsF(font).averageCharWidth() * n));
}

int lines(const QFont& font, double n) { return static_cast<int>(std::lround(QFontMetricsF(font).lineSpacing() * n)); }

QString shown(std::string_view text) {
  QString out = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  for (qsizetype i = 1; i + 1 < out.size(); ++i) {
    if (out[i] == u'-' && out[i - 1].isLetter() && out[i + 1].isLetter()) out[i] = QChar(0x2011);
  }
  return out;
}

QLabel* wrappingLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

QLabel* strongLabel(const QString& text, QWidget* parent) {
  auto* label = wrappingLabel(text, parent);
  QFont font = label->font();
  font.setWeight(QFont::DemiBold);
  label->setFont(font);
  return label;
}

void makeSecondary(QLabel* label) { setTone(label, Tone::secondary); }

}  // namespace snoozlet::views
