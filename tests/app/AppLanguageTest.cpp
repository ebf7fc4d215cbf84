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

TEST(AppLanguageTest, FollowsQtsFirstInterfaceLanguage) {
  {
    LocaleScope turkish(QLocale(QLocale::Turkish, QLocale::Turkey));
    EXPECT_EQ(preferredLanguage(), Language::turkish);
  }
  {
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(preferredLanguage(), Language::english);
  }
  EXPECT_EQ(preferredLanguage(), Language::english);
}

TEST(AppLanguageTest, TurkishTableIsInstalledOnlyForTurkish) {
  QCoreApplication& app = *QCoreApplication::instance();
  EXPECT_FALSE(installTranslations(app));
  {
    LocaleScope turkish(QLocale(QLocale::Turkish, QLocale::Turkey));
    ASSERT_TRUE(installTranslations(app));
  }
  EXPECT_EQ(QCoreApplication::translate("snoozlet::AppModel", "Cancelled. Nothing was changed."),
            QString("İptal edildi. Hiçbir şey değişmedi."));
  EXPECT_EQ(QCoreApplication::translate("XdgLoginItem", "Couldn’t write %1: %2"), QString("%1 yazılamadı: %2"));
  for (QTranslator* translator : app.findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
  EXPECT_EQ(QCoreApplication::translate("snoozlet::AppModel", "Cancelled. Nothing was changed."),
            QString("Cancelled. Nothing was changed."));
}

}  // namespace
}  // namespace snoozlet
