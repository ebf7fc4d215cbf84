#include "settings/FixPlanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/FixCatalog.h"
#include "settings/PmsetCommand.h"

namespace snoozlet {
namespace {

PowerCapabilities allCapabilities() {
  return {{"tcpkeepalive", "powernap", "womp", "proximitywake", "ttyskeepawake", "lowpowermode"}};
}

TEST(FixCatalogTest, EnumerationsRoundTrip) {
  for (FixID id : kAllFixIDs) EXPECT_EQ(fixIDFromString(toString(id)), id);
  for (PowerScope scope : kAllPowerScopes) EXPECT_EQ(powerScopeFromString(toString(scope)), scope);
  EXPECT_EQ(toString(FixID::remoteSessionAwakeOff), "remoteSessionAwakeOff");
  EXPECT_EQ(toString(PowerScope::charger), "-c");
  EXPECT_EQ(toString(PowerScope::all), "-a");
  EXPECT_FALSE(fixIDFromString("PowerNapOff"));
  EXPECT_FALSE(powerScopeFromString("b"));
  EXPECT_EQ(fixRiskFromString("notable"), Fix::Risk::notable);
  EXPECT_EQ(toString(Fix::Risk::low), "low");
  EXPECT_EQ(fixPlanSkipFromString("unknownCurrentValue"), FixPlan::Skip::unknownCurrentValue);
  EXPECT_EQ(toString(FixPlan::Skip::alreadySet), "alreadySet");
}

TEST(FixCatalogTest, HoldsSixBatteryFixesInOrder) {
  const auto& all = FixCatalog::all();
  ASSERT_EQ(all.size(), 6u);
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].id, kAllFixIDs[i]);
    EXPECT_EQ(all[i].scope, PowerScope::battery);
    EXPECT_EQ(FixCatalog::fix(all[i].id), all[i]);
  }
  EXPECT_EQ(FixCatalog::fix(FixID::tcpKeepAliveOff),
            (Fix{FixID::tcpKeepAliveOff, "tcpkeepalive", "0", PowerScope::battery, Fix::Risk::notable}));
  EXPECT_EQ(FixCatalog::fix(FixID::lowPowerModeOn).target, "1");
  EXPECT_EQ(FixCatalog::fix(FixID::remoteSessionAwakeOff).key, "ttyskeepawake");
  EXPECT_EQ(FixCatalog::fix(FixID::powerNapOff).risk, Fix::Risk::low);
}

TEST(FixCatalogTest, EveryFixHasDistinctTextsInBothLanguages) {
  EXPECT_EQ(FixCatalog::fix(FixID::powerNapOff).title(Language::english), "Turn off Power Nap on battery");
  EXPECT_EQ(FixCatalog::title(FixCatalog::fix(FixID::proximityWakeOff), Language::english),
            "Don’t wake when my iPhone or Watch is near");
  EXPECT_EQ(FixCatalog::whatChanges(FixID::remoteSessionAwakeOff, Language::turkish),
            "Açık bir SSH oturumu pildeyken Mac’i uyanık tutmaz.");
  for (FixID id : kAllFixIDs) {
    for (Language language : kAllLanguages) {
      EXPECT_FALSE(FixCatalog::title(id, language).empty());
      EXPECT_FALSE(FixCatalog::whatChanges(id, language).empty());
      EXPECT_NE(FixCatalog::giveUp(id, language), FixCatalog::whatChanges(id, language));
    }
    EXPECT_NE(FixCatalog::title(id, Language::english), FixCatalog::title(id, Language::turkish));
    EXPECT_NE(FixCatalog::giveUp(id, Language::english), FixCatalog::giveUp(id, Language::turkish));
  }
}

TEST(FixCatalogTest, AvailableFixes) {
  PowerSettings settings;
  settings.current = {{"powernap", "1"}, {"womp", "0"}, {"tcpkeepalive", "1"}, {"lowpowermode", "0"}};
  settings.battery = {{"tcpkeepalive", "0"}};
  EXPECT_TRUE(FixCatalog::available(settings, {}).empty());
  const auto fixes = FixCatalog::available(settings, allCapabilities());
  std::vector<FixID> ids;
  for (const Fix& fix : fixes) ids.push_back(fix.id);
  // tcpkeepalive is already off on battery; womp already off; proximitywake unknown.
  EXPECT_THAT(ids, ::testing::ElementsAre(FixID::powerNapOff, FixID::lowPowerModeOn));
  EXPECT_TRUE(FixCatalog::available(settings, {{"womp", "tcpkeepalive"}}).empty());
}

TEST(FixPlannerTest, CurrentValueByScope) {
  PowerSettings settings;
  settings.current = {{"womp", "1"}};
  settings.ac = {{"womp", "2"}};
  EXPECT_EQ(FixPlanner::currentValue(settings, "womp", PowerScope::battery), "1");
  EXPECT_EQ(FixPlanner::currentValue(settings, "womp", PowerScope::charger), "2");
  settings.battery = {{"womp", "3"}, {"other", "1"}};
  EXPECT_EQ(FixPlanner::currentValue(settings, "womp", PowerScope::battery), "3");
  EXPECT_EQ(FixPlanner::currentValue(settings, "womp", PowerScope::all), "1");
  settings.battery = {{"other", "1"}};
  EXPECT_EQ(FixPlanner::currentValue(settings, "womp", PowerScope::battery), "1");
  EXPECT_FALSE(FixPlanner::currentValue(settings, "powernap", PowerScope::battery));
}

TEST(FixPlannerTest, PlansAgainstTheBatteryProfile) {
  PowerSettings settings;
  settings.battery = {{"powernap", "1"}};
  settings.current = {{"powernap", "0"}};
  const auto plan = FixPlanner::plan({FixID::powerNapOff}, settings, {{"powernap"}});
  ASSERT_EQ(plan.changes.size(), 1u);
  EXPECT_EQ(plan.changes[0], (PlannedChange{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"}));
  EXPECT_TRUE(plan.skipped.empty());
  EXPECT_THAT(PmsetCommand::lines(plan).value(), ::testing::ElementsAre("/usr/bin/pmset -b powernap 0"));
  EXPECT_THAT(PmsetCommand::undoLines(plan).value(), ::testing::ElementsAre("/usr/bin/pmset -b powernap 1"));

  // Without a battery profile the value in force is read, but -b is still set.
  PowerSettings noProfile;
  noProfile.current = {{"powernap", "1"}};
  EXPECT_EQ(PmsetCommand::shellText(FixPlanner::plan({FixID::powerNapOff}, noProfile, {{"powernap"}})).value(),
            "/usr/bin/pmset -b powernap 0");
}

TEST(FixPlannerTest, SkipReasons) {
  PowerSettings settings;
  settings.current = {
      {"womp", "2"}, {"tcpkeepalive", "on"}, {"powernap", "1000"}, {"proximitywake", "0"}, {"lowpowermode", "0"}};
  const std::vector<FixID> all(std::begin(kAllFixIDs), std::end(kAllFixIDs));

  const auto unsupported = FixPlanner::plan(all, settings, {});
  EXPECT_TRUE(unsupported.empty());
  ASSERT_EQ(unsupported.skipped.size(), 6u);
  for (const auto& [id, skip] : unsupported.skipped) EXPECT_EQ(skip, FixPlan::Skip::notSupported);

  const auto plan = FixPlanner::plan(all, settings, allCapabilities());
  EXPECT_THAT(plan.changes, ::testing::ElementsAre(
                                PlannedChange{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "2", "0"},
                                PlannedChange{FixID::lowPowerModeOn, "lowpowermode", PowerScope::battery, "0", "1"}));
  EXPECT_EQ(plan.skipped.at(FixID::tcpKeepAliveOff), FixPlan::Skip::unknownCurrentValue);
  EXPECT_EQ(plan.skipped.at(FixID::powerNapOff), FixPlan::Skip::unknownCurrentValue);
  EXPECT_EQ(plan.skipped.at(FixID::proximityWakeOff), FixPlan::Skip::alreadySet);
  EXPECT_EQ(plan.skipped.at(FixID::remoteSessionAwakeOff), FixPlan::Skip::unknownCurrentValue);
  EXPECT_EQ(plan.skipped.count(FixID::wakeForNetworkOff), 0u);

  // Supported but missing from the capability set.
  const auto partial = FixPlanner::plan({FixID::wakeForNetworkOff, FixID::lowPowerModeOn}, settings, {{"womp"}});
  EXPECT_EQ(partial.changes.size(), 1u);
  EXPECT_EQ(partial.skipped.at(FixID::lowPowerModeOn), FixPlan::Skip::notSupported);

  // A fix requested twice is planned twice.
  EXPECT_EQ(FixPlanner::plan({FixID::wakeForNetworkOff, FixID::wakeForNetworkOff}, settings, {{"womp"}}).changes.size(),
            2u);
}

TEST(FixPlannerTest, UndoReversesAndSwaps) {
  const std::vector<PlannedChange> changes = {
      {FixID::wakeForNetworkOff, "womp", PowerScope::battery, "1", "0"},
      {FixID::powerNapOff, "powernap", PowerScope::charger, "2", "0"},
      {FixID::lowPowerModeOn, "lowpowermode", PowerScope::all, "0", "1"},
  };
  const auto undo = FixPlanner::undo(changes);
  EXPECT_THAT(undo.changes,
              ::testing::ElementsAre(PlannedChange{FixID::lowPowerModeOn, "lowpowermode", PowerScope::all, "1", "0"},
                                     PlannedChange{FixID::powerNapOff, "powernap", PowerScope::charger, "0", "2"},
                                     PlannedChange{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "0", "1"}));
  EXPECT_TRUE(undo.skipped.empty());
  EXPECT_TRUE(FixPlanner::undo({}).empty());
  EXPECT_EQ(FixPlanner::undo(undo.changes).changes, changes);
}

TEST(FixPlannerTest, StillApplied) {
  FixPlan plan;
  plan.changes = {{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "1", "0"},
                  {FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"},
                  {FixID::lowPowerModeOn, "lowpowermode", PowerScope::battery, "0", "1"}};
  plan.skipped[FixID::tcpKeepAliveOff] = FixPlan::Skip::alreadySet;
  PowerSettings after;
  after.battery = {{"womp", "0"}, {"powernap", "1"}};
  const auto applied = FixPlanner::stillApplied(plan, after);
  EXPECT_EQ(applied, (std::map<std::string, bool>{{"lowpowermode", false}, {"powernap", false}, {"womp", true}}));

  // A key planned twice keeps the later answer.
  plan.changes.push_back({FixID::wakeForNetworkOff, "womp", PowerScope::battery, "0", "1"});
  EXPECT_FALSE(FixPlanner::stillApplied(plan, after).at("womp"));
}

}  // namespace
}  // namespace snoozlet
