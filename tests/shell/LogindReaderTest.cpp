// logind's lid actions, inhibitors and hibernation answer, read over a
// private bus from a stand-in for logind, reach a T440s's findings; a bus
// without logind gives none, and a tree of files never asks this machine's.

#include "PrivateBus.h"
#include "StandInLogind.h"
#include "app/LogindReader.h"
#include "platform/linux/SystemSettingsReader.h"
#include "settings/SystemReport.h"

#include <QProcess>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

namespace fs = std::filesystem;

// Read off the main thread, whose event loop answers for the stand-in.
std::optional<LogindState> readOver(testing::PrivateBus& bus, const QString& name) {
  QDBusConnection connection = bus.connect(name);
  auto future = QtConcurrent::run([connection] { return readLogind(connection, 5000); });
  EXPECT_TRUE(QTest::qWaitFor([&] { return future.isFinished(); }, 20000));
  return future.result();
}

const SettingFinding* finding(const std::vector<SettingFinding>& findings, const std::string& key) {
  for (const SettingFinding& f : findings) {
    if (f.key == key) return &f;
  }
  return nullptr;
}

TEST(LogindReaderTest, TheLidInhibitorsAndHibernationReachTheFindings) {
  testing::TempDir dir;
  testing::PrivateBus bus(dir);
  if (!bus.running()) GTEST_SKIP() << "dbus-daemon is not available";
  EXPECT_FALSE(readOver(bus, QStringLiteral("before"))) << "no logind on the bus";

  testing::StandInLogind logind(bus.connect(QStringLiteral("logind")));
  logind.lidOnBattery = QStringLiteral("ignore");
  logind.lidOnExternalPower = QStringLiteral("ignore");
  logind.inhibitors = {
      {"sleep:idle", "Totem", "Playing a film", "block", 1000, 4242},
      {"handle-lid-switch", "GNOME Shell", "An external screen is connected", "block", 1000, 1650},
      {"sleep", "NetworkManager", "NetworkManager needs to turn off networks", "delay", 0, 812},
      {"shutdown", "Updates", "Installing", "block", 0, 99},
  };
  logind.canSuspendThenHibernate = QStringLiteral("yes");

  const auto state = readOver(bus, QStringLiteral("app"));
  ASSERT_TRUE(state);
  EXPECT_EQ(state->lidOnBattery, "ignore");
  EXPECT_EQ(state->lidOnExternalPower, "ignore");
  EXPECT_EQ(state->lidDocked, "ignore");
  ASSERT_EQ(state->inhibitors.size(), 4u);
  EXPECT_EQ(state->inhibitors[0], (Inhibitor{"sleep:idle", "Totem", "Playing a film", "block", 1000, 4242}));
  EXPECT_EQ(state->canSuspendThenHibernate, "yes");

  SystemSettings settings = readSystemSettings(SystemRoot(testing::fixturePath("system/t440s-lid-ignore")));
  settings.logind = state;
  const auto findings = SystemReport::findings(settings, {}, nullptr, NightFormat(Language::english, TimeZone::utc()));
  ASSERT_FALSE(findings.empty());
  EXPECT_EQ(findings.front().key, "inhibitors") << "who keeps it awake comes first";
  EXPECT_EQ(findings.front().status, SettingStatus::attention);
  EXPECT_EQ(findings.front().value, "Totem, GNOME Shell") << "only what blocks sleep or the lid";
  EXPECT_NE(findings.front().summary.find("Totem (Playing a film)"), std::string::npos) << findings.front().summary;

  const SettingFinding* lid = finding(findings, "lid");
  ASSERT_NE(lid, nullptr);
  EXPECT_EQ(lid->status, SettingStatus::attention) << "a laptop awake in a bag";
  EXPECT_EQ(lid->value, "Nothing");
  ASSERT_TRUE(lid->tradeOff);
  EXPECT_NE(lid->tradeOff->find("HandleLidSwitch=suspend"), std::string::npos);
  EXPECT_NE(lid->tradeOff->find("after a restart"), std::string::npos);

  const SettingFinding* hibernation = finding(findings, "hibernation");
  ASSERT_NE(hibernation, nullptr);
  EXPECT_EQ(hibernation->value, "Possible, not used") << "logind's answer stands over the files";

  // A tree of files stands for another laptop: this machine's logind isn't asked.
  if (qEnvironmentVariableIsEmpty("DBUS_SYSTEM_BUS_ADDRESS")) {
    EXPECT_FALSE(logindReader(SystemRoot(dir.path())));
  }
  EXPECT_TRUE(logindReader(SystemRoot("/")));

  // `snoozlet settings` on the T440s's tree asks the system bus named for the
  // run, and shows the lid and who keeps the laptop awake.
  const fs::path root = dir / "root";
  fs::copy(testing::fixturePath("system/t440s-lid-ignore"), root,
           fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  testing::writeJournal(dir / "week.journal",
                        testing::readFile(testing::fixturePath("journal/laptop-s2idle-week.export")));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* unset : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "LANGUAGE", "SNOOZLET_PMSET"})
    environment.remove(QString::fromLatin1(unset));
  environment.insert(QStringLiteral("HOME"), QString::fromStdString((dir / "home").string()));
  environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
  environment.insert(QStringLiteral("SNOOZLET_SYSTEM_ROOT"), QString::fromStdString(root.string()));
  environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), bus.address());
  QProcess snoozlet;
  snoozlet.setProcessEnvironment(environment);
  snoozlet.start(QString::fromStdString(testing::builtProgram("Snoozlet/snoozlet").string()),
                 {"settings", "--data-dir", QString::fromStdString((dir / "data").string()), "--journal",
                  QString::fromStdString((dir / "week.journal").string())});
  // The stand-in answers on this thread's event loop while the program waits.
  ASSERT_TRUE(QTest::qWaitFor([&] { return snoozlet.state() == QProcess::NotRunning; }, 60000));
  const std::string out = snoozlet.readAllStandardOutput().toStdString();
  EXPECT_EQ(snoozlet.exitCode(), 0) << snoozlet.readAllStandardError().toStdString();
  EXPECT_NE(out.find("What closing the lid does: Nothing\n"), std::string::npos) << out;
  EXPECT_NE(out.find("HandleLidSwitch=suspend"), std::string::npos) << out;
  EXPECT_NE(out.find("Totem, GNOME Shell"), std::string::npos) << out;
}

}  // namespace
}  // namespace snoozlet
