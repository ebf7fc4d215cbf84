#include "settings/FixPlanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/FixCatalog.h"

namespace snoozlet {
namespace {

PowerCapabilities allCapabilities() {
  return {{"tcpkeepalive", "powernap", "womp", "proximitywake", "ttyskeepawake", "lowpowermode"}};
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
  EXPECT_EQ(plan, (FixPlan{{{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"}}, {}}));
}

TEST(FixPlannerTest, SkipReasons) {
  PowerSettings settings;
  settings.current = {
      {"womp", "2"}, {"tcpkeepalive", "on"}, {"powernap", "1000"}, {"proximitywake", "0"}, {"lowpowermode", "0"}};
  const std::vector<FixID> all(std::begin(kAllFixIDs), std::end(kAllFixIDs));
  using enum FixPlan::Skip;

  std::map<FixID, FixPlan::Skip> allUnsupported;
  for (FixID id : all) allUnsupported[id] = notSupported;
  EXPECT_EQ(FixPlanner::plan(all, settings, {}), (FixPlan{{}, allUnsupported}));

  const auto plan = FixPlanner::plan(all, settings, allCapabilities());
  EXPECT_THAT(plan.changes, ::testing::ElementsAre(
                                PlannedChange{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "2", "0"},
                                PlannedChange{FixID::lowPowerModeOn, "lowpowermode", PowerScope::battery, "0", "1"}));
  EXPECT_EQ(plan.skipped, (std::map<FixID, FixPlan::Skip>{{FixID::tcpKeepAliveOff, unknownCurrentValue},
                                                          {FixID::powerNapOff, unknownCurrentValue},
                                                          {FixID::proximityWakeOff, alreadySet},
                                                          {FixID::remoteSessionAwakeOff, unknownCurrentValue}}));

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
