// settings, history and battery end to end against the simulated Mac, and the
// command line every model-driven command shares.

#include "cli/CommandLine.h"

#include "CliHarness.h"
#include "settings/FixJournal.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

using nlohmann::json;

const json* finding(const json& doc, const std::string& key) {
  for (const json& f : doc["findings"]) {
    if (f["key"] == key) return &f;
  }
  ADD_FAILURE() << "no finding for " << key;
  return nullptr;
}

TEST(ModelCommandsTest, SettingsJsonOffersTheModelsFixes) {
  testing::CliMac mac;
  const testing::Outcome run = testing::runSnoozlet("settings --json " + mac.dataArgument());
  ASSERT_EQ(run.status, 0) << run.err;
  const json doc = json::parse(run.out);
  EXPECT_EQ(doc["language"], "en");
  EXPECT_EQ(doc["changes"], json::array());

  const json* powernap = finding(doc, "powernap");
  ASSERT_NE(powernap, nullptr);
  EXPECT_EQ((*powernap)["status"], "consider");
  EXPECT_EQ((*powernap)["value"], "On (battery)");
  EXPECT_TRUE((*powernap)["tradeOff"].is_string());
  EXPECT_EQ((*powernap)["fix"]["id"], "powerNapOff");
  EXPECT_EQ((*powernap)["fix"]["command"], mac.pmset() + " -b powernap 0");
  EXPECT_EQ((*finding(doc, "tcpkeepalive"))["fix"]["risk"], "notable");
  // Low Power Mode is never offered from a setting; Wake for network access is already off.
  EXPECT_TRUE((*finding(doc, "lowpowermode"))["fix"].is_null());
  EXPECT_TRUE((*finding(doc, "womp"))["fix"].is_null());

  ASSERT_EQ(testing::runSnoozlet("fix powerNapOff --dry-run --yes " + mac.dataArgument()).status, 0);
  const json after = json::parse(testing::runSnoozlet("settings --json " + mac.dataArgument()).out);
  ASSERT_EQ(after["changes"].size(), 1u);
  EXPECT_EQ(after["changes"][0]["dryRun"], true);
  EXPECT_EQ(after["changes"][0]["changes"][0]["key"], "powernap");

  const testing::Outcome text = testing::runSnoozlet("settings --lang tr " + mac.dataArgument());
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(text.out.starts_with("Uyku ayarları\n")) << text.out;
  EXPECT_NE(text.out.find("Düzeltme: Pilde Power Nap’i kapat (snoozlet fix powerNapOff)"), std::string::npos);
  EXPECT_NE(text.out.find(" · deneme, hiçbir şey değişmedi\n"), std::string::npos) << text.out;
}

TEST(ModelCommandsTest, ADamagedArchiveIsKeptAsideAndAnUnreadableJournalIsToldNotHidden) {
  testing::CliMac mac;
  namespace fs = std::filesystem;
  const fs::path archive = mac.dir() / "data" / "nights.sqlite";
  fs::create_directories(archive.parent_path());
  testing::writeFile(archive, "half a restored backup, not a database");
  const testing::Outcome history = testing::runSnoozlet("history --json " + mac.dataArgument());
  ASSERT_EQ(history.status, 0) << "the nights shown are right: " << history.err;
  EXPECT_NE(history.err.find("snoozlet history: The night archive " + archive.string() +
                             " was damaged (SQLite: file is not a database); I kept it as "),
            std::string::npos)
      << history.err;
  const json doc = json::parse(history.out);
  EXPECT_EQ(doc["archiveProblem"]["reason"], "SQLite: file is not a database");
  const fs::path aside = doc["archiveProblem"]["keptAside"].get<std::string>();
  EXPECT_EQ(testing::readFile(aside), "half a restored backup, not a database") << "kept, never deleted";
  EXPECT_EQ(doc["nights"].size(), 7u) << "the log's nights are kept from this refresh on";
  // The next run finds the new archive well, and the nights still there.
  const testing::Outcome again = testing::runSnoozlet("history --json " + mac.dataArgument());
  EXPECT_EQ(again.err, "");
  EXPECT_TRUE(json::parse(again.out)["archiveProblem"].is_null());
  EXPECT_EQ(json::parse(again.out)["nights"].size(), 7u);

  // A data folder that cannot be made: the report still shows the nights, and says they are not kept.
  testing::writeFile(mac.dir() / "blocker", "a file where the folder should be");
  const testing::Outcome report =
      testing::runSnoozlet("report --data-dir '" + (mac.dir() / "blocker" / "data").string() + "'");
  EXPECT_EQ(report.status, 0) << report.err;
  EXPECT_NE(report.out.find("Restless"), std::string::npos);
  EXPECT_NE(report.err.find("snoozlet report: Nights aren’t being kept: "), std::string::npos) << report.err;

  // A journal of changes that cannot be read is said to be so, with its path; never "Nothing yet".
  testing::writeFile(mac.journalFile(), "{\"records\": [{\"id\": \"not a record\"}]}");
  const testing::Outcome undo = testing::runSnoozlet("undo " + mac.dataArgument());
  EXPECT_EQ(undo.status, 0);
  EXPECT_NE(undo.out.find("The list of earlier changes can’t be read: " + mac.journalFile().string() +
                          " (it isn’t a journal Snoozlet can read). At the next change the file will be kept aside"),
            std::string::npos)
      << undo.out;
  EXPECT_EQ(undo.out.find("Nothing yet"), std::string::npos);
  const testing::Outcome fix = testing::runSnoozlet("fix powerNapOff --dry-run --yes " + mac.dataArgument());
  EXPECT_EQ(fix.status, 0) << fix.err;
  EXPECT_NE(fix.out.find("The list of earlier changes can’t be read"), std::string::npos) << "the review says so";
  EXPECT_EQ(FixJournal::load(mac.journalFile()).records.size(), 1u) << "and the change is journalled anew";
}

TEST(ModelCommandsTest, HistoryAndBatteryPages) {
  testing::CliMac mac;
  const testing::Outcome history = testing::runSnoozlet("history --json " + mac.dataArgument());
  ASSERT_EQ(history.status, 0) << history.err;
  const json doc = json::parse(history.out);
  ASSERT_EQ(doc["nights"].size(), 7u);
  double previous = 1e12;
  for (const json& night : doc["nights"]) {
    EXPECT_LT(night["start"].get<double>(), previous) << "newest first";
    previous = night["start"].get<double>();
    EXPECT_LT(night["start"].get<double>(), night["end"].get<double>());
    EXPECT_EQ(night["kind"], "night");
    EXPECT_TRUE(night["mood"].is_string());
    EXPECT_GT(night["darkWakes"].get<int>(), 0);
    EXPECT_TRUE(night["reasons"].is_object());
    EXPECT_TRUE(night["topCategory"].is_string());
  }
  EXPECT_EQ(doc["baseline"]["nights"], 7);

  const testing::Outcome text = testing::runSnoozlet("history " + mac.dataArgument());
  ASSERT_EQ(text.status, 0) << text.err;
  for (const char* piece : {"This Mac · since Sunday, 29 November\n", "Sat 5 Dec ", "normal 0.4/h\n"}) {
    EXPECT_NE(text.out.find(piece), std::string::npos) << piece << "\n" << text.out;
  }

  const testing::Outcome battery = testing::runSnoozlet("battery --json " + mac.dataArgument());
  ASSERT_EQ(battery.status, 0) << battery.err;
  const json health = json::parse(battery.out);
  ASSERT_TRUE(health.contains("battery"));
  ASSERT_TRUE(health["rows"].is_array());
  // The machine running the tests may or may not have a battery.
  EXPECT_EQ(health["rows"].empty(), health["battery"].is_null());
  EXPECT_EQ(health["baseline"]["nights"], 7);
  if (health["battery"].is_null()) {
    EXPECT_NE(testing::runSnoozlet("battery " + mac.dataArgument()).out.find("This Mac has no battery"),
              std::string::npos);
  }
}

TEST(ModelCommandsTest, FailuresAndNoCommand) {
  testing::CliMac mac;
  testing::ScopedEnv fail("SNOOZLET_PMSET_FAIL", "log");
  const testing::Outcome failed = testing::runSnoozlet("settings " + mac.dataArgument());
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err, "snoozlet settings: pmset exited with 1: \n");
  EXPECT_EQ(testing::runSnoozlet("history stray " + mac.dataArgument()).status, 2);

  // No command is the tray application; without a display it says what to run instead.
  const testing::ScopedEnv noX("DISPLAY", nullptr), noWayland("WAYLAND_DISPLAY", nullptr),
      noPlatform("QT_QPA_PLATFORM", nullptr);
  const auto bare = testing::runSnoozlet("");
  EXPECT_EQ(bare.status, 1);
  EXPECT_NE(bare.err.find("no display to show the tray on"), std::string::npos) << bare.err;
}

TEST(ModelCommandsTest, GlobalSwitchesStandAnywhere) {
  const auto index = [](std::vector<std::string> args) { return cli::commandIndex(args); };
  EXPECT_EQ(index({"settings"}), 0u);
  EXPECT_EQ(index({"--data-dir", "history", "battery"}), 2u) << "a switch's value is not the command";
  EXPECT_EQ(index({"--lang", "tr", "--json", "fix"}), 3u);
  EXPECT_EQ(index({"--help"}), std::nullopt);

  const auto line = cli::parseCommandLine(
      {"--data-dir=/tmp/d", "--json", "powerNapOff", "--lang", "tr", "--pmset", "/opt/pmset", "-h", "womp",
       "--log=/tmp/a=b.log", "--last", "3"},
      {"--json"}, {"--log", "--last"});
  ASSERT_TRUE(line) << line.error().description();
  EXPECT_EQ(line->dataDir, "/tmp/d");
  EXPECT_EQ(line->pmset, "/opt/pmset");
  EXPECT_EQ(line->language, Language::turkish);
  EXPECT_TRUE(line->has("--json"));
  EXPECT_TRUE(line->help());
  EXPECT_EQ(line->operands, (std::vector<std::string>{"powerNapOff", "womp"}));
  EXPECT_EQ(line->value("--log"), "/tmp/a=b.log");
  EXPECT_EQ(line->value("--last"), "3");

  for (const auto& [arguments, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--yes"}, "unknown argument '--yes'"},
           {{"--lang", "fr"}, "--lang needs en or tr"},
           {{"--lang"}, "--lang needs en or tr"},
           {{"--pmset"}, "--pmset needs the path of a pmset executable"},
           {{"--data-dir="}, "--data-dir needs a folder"},
           {{"--json=1"}, "unknown argument '--json=1'"},
           {{"--log="}, "--log needs a value"}}) {
    EXPECT_EQ(cli::parseCommandLine(arguments, {"--json"}, {"--log"}).error().description(), message)
        << arguments.front();
  }
}

}  // namespace
}  // namespace snoozlet
