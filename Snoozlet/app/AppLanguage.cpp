#include "app/AppLanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

namespace snoozlet {

Language preferredLanguage() {
  const QStringList languages = QLocale().uiLanguages();
  if (languages.isEmpty()) return language::preferred();
  return language::fromLocaleName(languages.first().toStdString());
}

bool installTranslations(QCoreApplication& app) {
  if (preferredLanguage() != Language::turkish) return false;
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral(":/i18n/snoozlet_tr.qm")) || !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

}  // namespace snoozlet
