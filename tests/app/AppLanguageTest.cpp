#include "app/AppLanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

// Restores the test's English default when done.
struct LocaleScope {
  explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
  ~LocaleScope() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
};

TEST(AppLanguageTest, QtsFirstInterfaceLanguageChoosesTurkishAndOnlyThenItsTable) {
  QCoreApplication& app = *QCoreApplication::instance();
  {
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(preferredLanguage(), Language::english);
    EXPECT_FALSE(installTranslations(app));
  }
  {
    LocaleScope turkish(QLocale(QLocale::Turkish, QLocale::Turkey));
    EXPECT_EQ(preferredLanguage(), Language::turkish);
    ASSERT_TRUE(installTranslations(app));
  }
  EXPECT_EQ(QCoreApplication::translate("snoozlet::shell::AppActions", "Quit Snoozlet"), QString("Snoozlet’ten Çık"));
  for (QTranslator* translator : app.findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
  EXPECT_EQ(QCoreApplication::translate("snoozlet::shell::AppActions", "Quit Snoozlet"), QString("Quit Snoozlet"));
}

}  // namespace
}  // namespace snoozlet
