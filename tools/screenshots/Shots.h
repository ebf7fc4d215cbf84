#pragma once

// Rendering views into PNG files the way a person would see them: a light or
// dark desktop palette, English or Turkish, at a device pixel ratio of 1 or 2.

#include "sessions/Language.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace snoozlet::shots {

enum class Theme { light, dark };

// Applies the theme's palette to the application.
void applyTheme(Theme theme);
// Sets the language of the model's texts and of the views' translations.
void applyLanguage(Language language);

// Renders a widget at its own size (or the given one) onto the window colour.
QImage render(QWidget& widget, double ratio);

struct Writer {
  QString folder;
  int written = 0;
  int failed = 0;
  // Saves `image` as folder/name.png and reports it.
  void save(const QImage& image, const QString& name);
};

}  // namespace snoozlet::shots
