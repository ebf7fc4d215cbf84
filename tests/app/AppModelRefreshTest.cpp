#include "ModelHarness.h"

#include "settings/Advisor.h"
#include "settings/DryRunRunner.h"
#include "settings/FixCatalog.h"
#include "settings/SettingsReport.h"

#include <QCoreApplication>
#include <QLocale>
#include <QScopeGuard>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(AppModelRefreshTest, ModelDestroyedWhileWorkingDropsTheResults) {
  testing::ModelHarness h;
  h.mac.setLog(testing::demoLog());
  AppModel& model = h.make(std::make_shared<DryRunRunner>());
  ASSERT_TRUE(h.refresh());
  h.changes->reviewFixes({FixID::powerNapOff});
  ASSERT_TRUE(model.refresh());
  ASSERT_TRUE(h.changes->applyReview());
  h.changes.reset();
  h.model.reset();
  QCoreApplication::processEvents();  // the posted results find no model
  EXPECT_EQ(h.mac.count("-g log"), 2);
}

TEST(AppModelRefreshTest, PublishesEveryFieldOnceSignalsOnlyWhatChangedAndKeepsItWhenALoadFails) {
  testing::ModelHarness h;
  const std::string log = testing::demoLog();
  h.mac.setLog(log);
  AppModel& model = h.make();
  QSignalSpy states(&model, &AppModel::stateChanged), published(&model, &AppModel::published);
  QSignalSpy finished(&model, &AppModel::refreshFinished);

  // Two refreshes in a row start one loading step.
  EXPECT_TRUE(model.refresh());
  EXPECT_EQ(model.state(), LoadState::loading());
  EXPECT_FALSE(model.refresh());
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_EQ(model.state(), LoadState::idle());
  EXPECT_EQ(states.count(), 2);  // idle → loading → idle
  EXPECT_EQ(h.mac.count("-g log"), 1);
  EXPECT_EQ(h.mac.count("-g cap"), 1);
  EXPECT_EQ(published.count(), 1);

  EXPECT_EQ(model.analysis()->nights().size(), 7u);
  EXPECT_EQ(model.latestNight()->start(), testing::lastNightOf(log).start());
  EXPECT_EQ(model.powerSettings()->battery.at("powernap"), "1");
  EXPECT_TRUE(model.capabilities()->contains("tcpkeepalive"));
  EXPECT_EQ(model.findings(), SettingsReport::findings(*model.powerSettings(), Language::english));
  EXPECT_EQ(model.history().size(), 7u);
  EXPECT_EQ(model.lastRefresh(), h.now);
  // The reader moved on to the end of the log, so the next read starts there.
  EXPECT_TRUE(model.reader().cursor());

  // Fields that stay the same do not signal.
  QSignalSpy settings(&model, &AppModel::powerSettingsChanged), capabilities(&model, &AppModel::capabilitiesChanged),
      findings(&model, &AppModel::findingsChanged), lastRefresh(&model, &AppModel::lastRefreshChanged);
  ASSERT_TRUE(h.refresh());
  EXPECT_EQ(settings.count() + capabilities.count() + findings.count() + lastRefresh.count(), 0);
  h.mac.change("-b", "powernap", "0");
  h.now += 60;
  ASSERT_TRUE(h.refresh());
  EXPECT_EQ(settings.count(), 1);
  EXPECT_EQ(findings.count(), 1);
  EXPECT_EQ(lastRefresh.count(), 1);

  // A failed load keeps what was published; the next refresh starts again from the failed state.
  const auto analysis = model.analysis();
  const auto history = model.history();
  h.mac.fail("log");
  ASSERT_TRUE(h.refresh());
  EXPECT_EQ(model.state(), LoadState::failed("pmset exited with 1: "));
  EXPECT_EQ(model.analysis(), analysis);
  EXPECT_EQ(model.history(), history);
  EXPECT_EQ(published.count(), 3);
  h.mac.fail("");
  ASSERT_TRUE(h.refresh());
  EXPECT_EQ(model.state(), LoadState::idle());
}

TEST(AppModelRefreshTest, ADamagedArchiveIsToldBesideTheNightsUntilANewOneIsWell) {
  testing::ModelHarness h;
  h.mac.setLog(testing::demoLog());
  AppModel& model = h.make();
  testing::writeFile(*model.storage().archive, std::string(8192, 'x'));
  ASSERT_TRUE(h.refresh());
  ASSERT_TRUE(model.archiveProblem() && model.archiveProblem()->keptAside);
  EXPECT_EQ(model.history().size(), 7u) << "the log's nights are kept in the new archive";
  ASSERT_TRUE(h.refresh());
  EXPECT_FALSE(model.archiveProblem()) << "the new archive is well";
}

TEST(AppModelRefreshTest, FixForASettingNeedsTheSettingsAndIsNeverLowPowerMode) {
  testing::ModelHarness h;
  AppModel& model = h.make();
  EXPECT_FALSE(model.fixFor("powernap")) << "no settings read yet";
  ASSERT_TRUE(h.refresh());
  EXPECT_EQ(model.latestNight(), nullptr);

  // A fix for a setting needs the settings, and is never Low Power Mode.
  const auto available = FixCatalog::available(*model.powerSettings(), *model.capabilities());
  ASSERT_TRUE(
      std::any_of(available.begin(), available.end(), [](const Fix& fix) { return fix.id == FixID::lowPowerModeOn; }));
  EXPECT_FALSE(model.fixFor("lowpowermode"));
  EXPECT_EQ(model.fixFor("powernap"), FixCatalog::fix(FixID::powerNapOff));
  EXPECT_FALSE(model.fixFor("womp"));  // already off on battery
}

TEST(AppModelRefreshTest, CoreTextsFollowTheLanguage) {
  testing::ModelHarness h;
  h.mac.setLog(testing::demoLog());
  AppModel& model = h.make();
  ASSERT_TRUE(h.refresh());

  // The core texts follow the preferred language.
  const NightReport night = *model.analysis()->lastNight();
  QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
  const auto english = qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); });
  EXPECT_EQ(model.language(), Language::turkish);
  h.mac.change("-b", "powernap", "0");
  ASSERT_TRUE(h.refresh());
  EXPECT_EQ(model.findings(), SettingsReport::findings(*model.powerSettings(), Language::turkish));
  const auto suggestions = model.suggestions(night);
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
  EXPECT_EQ(suggestions, Advisor::suggestions(night, model.powerSettings(), model.capabilities(),
                                              NightFormat(Language::turkish, TimeZone::utc())));
  EXPECT_NE(model.suggestions(night), suggestions);
}

}  // namespace
}  // namespace snoozlet
