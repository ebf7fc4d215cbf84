// The app tests run inside a QCoreApplication (queued calls, D-Bus, the
// translation tables), in English unless a test says otherwise.

#include <QCoreApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
  return RUN_ALL_TESTS();
}
