#pragma once

// The application's one answer to "which language?", used for every core
// text it shows (reports, findings, suggestions) and for its own Qt tables.

#include "sessions/Language.h"

class QCoreApplication;

namespace snoozlet {

// Turkish when the first of Qt's user-interface languages (QLocale's, so
// QLocale::setDefault overrides the system) begins with "tr", else English;
// the core's own rule when Qt reports none.
Language preferredLanguage();

// Installs the Turkish translation table into the application when the
// preferred language is Turkish. Called by whoever creates the application
// object; true when a table was installed.
bool installTranslations(QCoreApplication& app);

}  // namespace snoozlet
