// The view tests run in a QApplication on the offscreen platform, with the
// Fusion style, in English unless a test says otherwise.

#include "views/Accessibility.h"
#include "views/Style.h"

#include <QApplication>
#include <QLocale>
#include <QStyleFactory>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  snoozlet::views::useRoomyStyle();
  snoozlet::views::installAccessibleRoles();
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
  return RUN_ALL_TESTS();
}
