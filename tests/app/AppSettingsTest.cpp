#include "app/AppSettings.h"

#include "TestSupport.h"

#include <QSettings>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

QString iniPath(const testing::TempDir& dir) { return QString::fromStdString((dir / "preferences.ini").string()); }

TEST(AppSettingsTest, FlagsAreReadOnceAndMissingOnesAreFalse) {
  testing::TempDir dir;
  testing::writeFile(dir / "preferences.ini", "[General]\nplainMode=true\n");
  QSettings store(iniPath(dir), QSettings::IniFormat);
  AppSettings settings(store);
  EXPECT_TRUE(settings.plainMode());
  EXPECT_FALSE(settings.morningNotification());
  EXPECT_FALSE(settings.welcomeCompleted());

  // Changes to the store behind its back are not seen.
  store.setValue("welcomeCompleted", true);
  store.setValue("plainMode", false);
  EXPECT_FALSE(settings.welcomeCompleted());
  EXPECT_TRUE(settings.plainMode());
}

TEST(AppSettingsTest, EverySetIsWrittenAtOnceAndSignalsOnlyAChange) {
  testing::TempDir dir;
  QSettings store(iniPath(dir), QSettings::IniFormat);
  AppSettings settings(store);
  QSignalSpy plain(&settings, &AppSettings::plainModeChanged);
  QSignalSpy morning(&settings, &AppSettings::morningNotificationChanged);
  QSignalSpy welcome(&settings, &AppSettings::welcomeCompletedChanged);

  settings.setMorningNotification(true);
  settings.setPlainMode(false);  // the value it had: written, not signalled
  settings.setWelcomeCompleted(true);
  settings.setWelcomeCompleted(true);

  const std::string file = testing::readFile(dir / "preferences.ini");
  EXPECT_NE(file.find("morningNotification=true"), std::string::npos) << file;
  EXPECT_NE(file.find("plainMode=false"), std::string::npos) << file;
  EXPECT_NE(file.find("welcomeCompleted=true"), std::string::npos) << file;
  EXPECT_EQ(morning.count(), 1);
  EXPECT_EQ(morning.front().front().toBool(), true);
  EXPECT_EQ(plain.count(), 0);
  EXPECT_EQ(welcome.count(), 1);

  // A new object over the same file reads the values back.
  QSettings again(iniPath(dir), QSettings::IniFormat);
  AppSettings reread(again);
  EXPECT_TRUE(reread.morningNotification());
  EXPECT_TRUE(reread.welcomeCompleted());
  EXPECT_FALSE(reread.plainMode());
}

}  // namespace
}  // namespace snoozlet
