#include "views/Theme.h"

#include <QFontDatabase>
#include <QLabel>

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

QFont digitsFont(double pointSize) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSizeF(pointSize);
  font.setWeight(QFont::Medium);
  return font;
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

void makeSecondary(QLabel* label) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, secondaryText(palette));
  label->setPalette(palette);
}

}  // namespace snoozlet::views
