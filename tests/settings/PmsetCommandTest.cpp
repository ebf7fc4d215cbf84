#include "settings/PmsetCommand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace snoozlet {
namespace {

using ::testing::HasSubstr;

FixPlan plan(std::vector<PlannedChange> changes) { return FixPlan{std::move(changes), {}}; }

PlannedChange change(std::string key, std::string previous, std::string target) {
  return {FixID::wakeForNetworkOff, std::move(key), PowerScope::battery, std::move(previous), std::move(target)};
}

TEST(PmsetCommandTest, OnlyCatalogueKeysAndShortNumbersAreSafe) {
  // Shell syntax of every kind is refused along every route (CommandInjectionTest); here the character rules.
  const std::tuple<const char*, std::string, bool> cases[] = {
      {"powernap", "0", true},  {"womp", "25", true},
      {"womp", "\u0663", true},  // ARABIC-INDIC DIGIT THREE: numeric, no shell meaning
      {"womp", "\u0663\u0663\u0663", true},  {"womp", "\u00BD", true},  // VULGAR FRACTION ONE HALF
      {"womp", "\u0663\u0663\u0663\u0663", false}, {"womp", "1000", false}, {"womp", "", false},
      {"womp", "-1", false},    {"womp", "+1", false},  {"womp", "1 ", false}, {"womp", "1;", false},
      {"womp", "on", false},    {"womp", "1\n", false}, {"womp", "\xFF", false}, {"womp", std::string("1\0", 2), false},
      {"sleep", "0", false},    {"hibernatemode", "0", false}, {"womp ", "0", false}, {"", "0", false},
  };
  for (const auto& [key, value, safe] : cases) EXPECT_EQ(PmsetCommand::isSafe(key, value), safe) << key << "=" << value;
}

TEST(PmsetCommandTest, LinesAndScripts) {
  EXPECT_EQ(PmsetCommand::line(PowerScope::charger, "womp", "1").value(), "/usr/bin/pmset -c womp 1");
  const auto two = plan({change("womp", "1", "0"), change("proximitywake", "1", "0")});
  EXPECT_EQ(PmsetCommand::shellText(two).value(), "/usr/bin/pmset -b womp 0 && /usr/bin/pmset -b proximitywake 0");
  EXPECT_EQ(PmsetCommand::undoShellText(two).value(), "/usr/bin/pmset -b proximitywake 1 && /usr/bin/pmset -b womp 1");
  EXPECT_EQ(PmsetCommand::appleScript(two).value(),
            "do shell script \"/usr/bin/pmset -b womp 0 && /usr/bin/pmset -b proximitywake 0\" with administrator "
            "privileges");
  EXPECT_EQ(PmsetCommand::shellText(two, "/opt/snoozlet-1.0/bin/snoozlet_pmset").value(),
            "/opt/snoozlet-1.0/bin/snoozlet_pmset -b womp 0 && /opt/snoozlet-1.0/bin/snoozlet_pmset -b "
            "proximitywake 0");
  EXPECT_EQ(PmsetCommand::shellText(FixPlan{}).value(), "");
}

TEST(PmsetCommandTest, RefusalsSpoilOnlyTheDirectionThatUsesTheValueAndNameIt) {
  // Run lines use the targets only, undo lines the previous values.
  const auto hostilePrevious = plan({change("powernap", "0; rm -rf ~", "0"), change("womp", "1", "0")});
  EXPECT_TRUE(PmsetCommand::lines(hostilePrevious));
  EXPECT_FALSE(PmsetCommand::undoShellText(hostilePrevious));
  EXPECT_THAT(PmsetCommand::shellText(plan({change("sleep", "1", "0")})).error().description(), HasSubstr("\"sleep\""));
  const auto badValue = PmsetCommand::shellText(plan({change("womp", "1", "0;\nreboot")}));
  ASSERT_FALSE(badValue);
  EXPECT_THAT(badValue.error().description(), HasSubstr("\"0;\\x0Areboot\""));
  EXPECT_THAT(PmsetCommand::shellText(plan({change("womp", "1", "\"\\")})).error().description(),
              HasSubstr("\"\\\"\\\\\""));
}

TEST(PmsetCommandTest, PmsetPathMustBePlain) {
  const auto ok = plan({change("womp", "1", "0")});
  for (const char* path : {"/usr/bin/pmset", "/home/user/.local/bin/snoozlet-pmset", "/aA_zZ/C.09"})
    EXPECT_TRUE(PmsetCommand::isSafePath(path) && PmsetCommand::shellText(ok, path)) << path;
  for (const char* path : {"", "pmset", "bin/pmset", "/home/John Doe/pmset", "/usr/bin/pmset;reboot", "/tmp/$(reboot)",
                           "/tmp/a\"b", "/tmp/a\\b", "/tmp/x\ny", "/tmp/é", "/tmp/a&b", "~/pmset"})
    EXPECT_FALSE(PmsetCommand::isSafePath(path)) << path;
  EXPECT_THAT(PmsetCommand::shellText(ok, "bin/pmset").error().description(), HasSubstr("pmset path"));
}

}  // namespace
}  // namespace snoozlet
