// Shell text smuggled in along every route by which a value reaches a
// command: the settings text pmset prints, the journal file, and a plan built
// by hand. None of it may reach a runner.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "settings/DryRunRunner.h"
#include "settings/FixCatalog.h"
#include "settings/FixJournal.h"
#include "settings/FixPlanner.h"
#include "settings/PmsetCommand.h"
#include "settings/PowerCapabilities.h"
#include "settings/PowerSettings.h"

namespace snoozlet {
namespace {

// Values an attacker (or a corrupt file) could put where a setting's value
// belongs: separators, substitutions, quotes, line breaks, a redirection, a
// glob and a tilde, and four characters of digits (too many).
const std::vector<std::string> kHostile{"0;reboot", "0&&reboot", "0|sh", "$(reboot)", "`reboot`", "$HOME",
                                        "'0'",      "0\"",       "0\\",  "0\nreboot", "0\r",      "0>x",
                                        "*",        "~",         "1000", "٠١٢٣"};

PowerCapabilities allCapabilities() {
  PowerCapabilities capabilities;
  for (const Fix& fix : FixCatalog::all()) capabilities.keys.insert(fix.key);
  return capabilities;
}

// Hands the plan to the recording (dry-run) runner: no command text may reach
// it (an empty plan records only its empty text), and no builder may produce
// the administrator script.
void expectNothingRuns(const FixPlan& plan, const std::string& value) {
  DryRunRunner runner;
  const RunResult result = runner.run(plan);
  for (const std::string& script : runner.scripts()) EXPECT_EQ(script, "") << value;
  if (!plan.empty()) {
    EXPECT_FALSE(result) << value;
    EXPECT_FALSE(PmsetCommand::appleScript(plan)) << value;
  }
}

TEST(CommandInjectionTest, SettingsTextNeverPlansAHostileValue) {
  // Either the hostile value was read (and refused) or the line did not give
  // the key a value at all: both are an unknown current value.
  std::map<FixID, FixPlan::Skip> allUnknown;
  for (FixID id : kAllFixIDs) allUnknown[id] = FixPlan::Skip::unknownCurrentValue;
  for (const std::string& value : kHostile) {
    // Every catalogue key carries the value, in force and in both profiles;
    // the value may also be written as the last word after a blank.
    std::string current = "Currently in use:\n", custom = "Battery Power:\n";
    for (const Fix& fix : FixCatalog::all()) current += " " + fix.key + "                " + value + "\n";
    for (const Fix& fix : FixCatalog::all()) custom += " " + fix.key + " x " + value + "\n";
    custom += "AC Power:\n";
    for (const Fix& fix : FixCatalog::all()) custom += " " + fix.key + "\t" + value + " (remark)\n";

    // A line break ends the line: what precedes it is an ordinary value ("0"), and what follows is a line of its own.
    const bool breaksTheLine = value.find_first_of("\r\n") != std::string::npos;
    for (const auto& customText : {std::optional<std::string_view>(), std::optional<std::string_view>(custom)}) {
      const PowerSettings settings = PowerSettings::parse(current, customText);
      const FixPlan plan =
          FixPlanner::plan({std::begin(kAllFixIDs), std::end(kAllFixIDs)}, settings, allCapabilities());
      if (breaksTheLine) {
        DryRunRunner runner;
        ASSERT_TRUE(runner.run(plan)) << value;
        EXPECT_THAT(runner.scripts().front(), ::testing::Not(::testing::HasSubstr("reboot"))) << value;
        EXPECT_THAT(runner.scripts().front(), ::testing::MatchesRegex("[a-z0-9/ &-]*")) << value;
        continue;
      }
      EXPECT_TRUE(plan.empty()) << value;
      EXPECT_EQ(plan.skipped, allUnknown) << value;
    }
  }
}

TEST(CommandInjectionTest, JournalValuesNeverReachARunner) {
  testing::TempDir dir;
  for (const std::string& value : kHostile) {
    for (const char* field : {"previous", "target", "key"}) {
      nlohmann::json change = {
          {"fix", "wakeForNetworkOff"}, {"key", "womp"}, {"previous", "1"}, {"scope", "-b"}, {"target", "0"}};
      change[field] = value;
      const nlohmann::json journal = {{"records",
                                       {{{"changes", {change}},
                                         {"date", "2026-12-06T07:05:00Z"},
                                         {"dryRun", false},
                                         {"id", "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"}}}}};
      testing::writeFile(dir / "changes.json", journal.dump());
      const FixJournal loaded = FixJournal::load(dir / "changes.json");
      ASSERT_EQ(loaded.records.size(), 1u) << value;

      // The undo runs "previous", a redo of the record (or an undo of the undo) "target"; a hostile key is in both.
      const auto undo = loaded.undoPlan(loaded.records[0].id);
      ASSERT_TRUE(undo);
      FixPlan redo;
      redo.changes = loaded.records[0].changes;
      const bool inPrevious = std::string(field) != "target";
      const bool inTarget = std::string(field) != "previous";
      if (inPrevious) {
        expectNothingRuns(*undo, value);
        EXPECT_FALSE(PmsetCommand::undoShellText(redo)) << field << " " << value;
      }
      if (inTarget) {
        expectNothingRuns(redo, value);
        EXPECT_FALSE(PmsetCommand::undoShellText(*undo)) << field << " " << value;
      }
    }
  }
}

TEST(CommandInjectionTest, HandBuiltPlansWithHostilePartsNeverReachARunner) {
  for (const std::string& value : kHostile) {
    const std::vector<PlannedChange> changes{
        {FixID::wakeForNetworkOff, "womp", PowerScope::battery, "1", value},
        {FixID::powerNapOff, "powernap " + value, PowerScope::battery, "1", "0"},
        {FixID::powerNapOff, value, PowerScope::all, "1", "0"},
    };
    for (const PlannedChange& bad : changes) {
      // After a good change: one bad part refuses the whole plan, so nothing of it runs.
      FixPlan afterGood;
      afterGood.changes = {{FixID::proximityWakeOff, "proximitywake", PowerScope::battery, "1", "0"}, bad};
      expectNothingRuns(afterGood, value);
    }
    // The previous value is what an undo runs.
    expectNothingRuns(FixPlanner::undo({{FixID::wakeForNetworkOff, "womp", PowerScope::battery, value, "0"}}), value);
  }
}

}  // namespace
}  // namespace snoozlet
