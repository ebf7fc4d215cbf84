#include "Shots.h"

#include "app/AppLanguage.h"

#include <QApplication>
#include <QLocale>
#include <QPainter>
#include <QStyle>
#include <QTranslator>

#include <iostream>

namespace snoozlet::shots {

namespace {

QPalette darkPalette() {
  QPalette p;
  const QColor window(0x1F, 0x20, 0x24), base(0x2A, 0x2B, 0x30), text(0xE8, 0xE8, 0xEA);
  p.setColor(QPalette::Window, window);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, base);
  p.setColor(QPalette::AlternateBase, QColor(0x26, 0x27, 0x2C));
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, QColor(0x34, 0x35, 0x3B));
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::Highlight, QColor(0x5B, 0x8D, 0xEF));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, base);
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::PlaceholderText, QColor(0x8A, 0x8B, 0x90));
  p.setColor(QPalette::Light, QColor(0x4A, 0x4B, 0x52));
  p.setColor(QPalette::Midlight, QColor(0x3A, 0x3B, 0x41));
  p.setColor(QPalette::Mid, QColor(0x2E, 0x2F, 0x34));
  p.setColor(QPalette::Dark, QColor(0x18, 0x19, 0x1C));
  p.setColor(QPalette::Shadow, Qt::black);
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x7A, 0x7B, 0x80));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7A, 0x7B, 0x80));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x7A, 0x7B, 0x80));
  return p;
}

QTranslator* translator() {
  static auto* turkish = [] {
    auto* t = new QTranslator(qApp);
    if (!t->load(QStringLiteral(":/i18n/snoozlet_tr.qm"))) std::cerr << "snoozlet-screenshots: no Turkish table\n";
    return t;
  }();
  return turkish;
}

}  // namespace

void applyTheme(Theme theme) {
  QApplication::setPalette(theme == Theme::dark ? darkPalette() : QApplication::style()->standardPalette());
}

void applyLanguage(Language language) {
  if (language == Language::turkish) {
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    QCoreApplication::installTranslator(translator());
  } else {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    QCoreApplication::removeTranslator(translator());
  }
}

QImage render(QWidget& widget, double ratio) {
  // Pending layouts first, as the event loop would run them before a paint.
  QCoreApplication::sendPostedEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  widget.ensurePolished();
  const QSize size = widget.size();
  QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(widget.palette().color(QPalette::Window));
  QPainter painter(&image);
  widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
  return image;
}

void Writer::save(const QImage& image, const QString& name) {
  const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
  if (image.save(path)) {
    ++written;
  } else {
    ++failed;
    std::cerr << "snoozlet-screenshots: could not write " << path.toStdString() << "\n";
  }
}

}  // namespace snoozlet::shots
