#include "app/AppSettings.h"

#include "TestSupport.h"

#include <QSettings>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(AppSettingsTest, FlagsAreReadOnceAndEverySetIsWrittenAtOnceSignallingOnlyAChange) {
  testing::TempDir dir;
  testing::writeFile(dir / "preferences.ini", "[General]\nplainMode=true\n");
  QSettings store(QString::fromStdString((dir / "preferences.ini").string()), QSettings::IniFormat);
  AppSettings settings(store);
  EXPECT_TRUE(settings.plainMode());
  EXPECT_FALSE(settings.morningNotification()) << "a missing flag is false";
  // Changes to the store behind its back are not seen.
  store.setValue("welcomeCompleted", true);
  EXPECT_FALSE(settings.welcomeCompleted());

  QSignalSpy plain(&settings, &AppSettings::plainModeChanged);
  QSignalSpy morning(&settings, &AppSettings::morningNotificationChanged);
  QSignalSpy welcome(&settings, &AppSettings::welcomeCompletedChanged);
  settings.setMorningNotification(true);
  settings.setPlainMode(true);  // the value it had: written, not signalled
  settings.setWelcomeCompleted(true);
  settings.setWelcomeCompleted(false);
  settings.setWelcomeCompleted(false);
  EXPECT_EQ(morning.count(), 1);
  EXPECT_EQ(morning.front().front().toBool(), true);
  EXPECT_EQ(plain.count(), 0);
  EXPECT_EQ(welcome.count(), 2);
  EXPECT_EQ(welcome.front().front().toBool(), true) << "the first set changed it";

  store.setValue("plainMode", false);  // overwritten by the next set
  settings.setPlainMode(true);
  const std::string file = testing::readFile(dir / "preferences.ini");
  for (const char* line : {"morningNotification=true", "plainMode=true", "welcomeCompleted=false"})
    EXPECT_NE(file.find(line), std::string::npos) << file;
}

}  // namespace
}  // namespace snoozlet
