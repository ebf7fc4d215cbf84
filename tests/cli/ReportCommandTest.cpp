#include "cli/ReportCommand.h"

#include "CliHarness.h"
#include "archive/NightArchive.h"
#include "demo/DemoLog.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <unistd.h>

#include <sstream>

namespace snoozlet {
namespace {

using nlohmann::json;
using testing::Outcome;
using testing::runSnoozlet;

Outcome inProcess(const std::vector<std::string>& arguments) {
  std::ostringstream out, err;
  const int status = cli::runReport(arguments, out, err);
  return {status, out.str(), err.str()};
}

const std::string kTwoNights = testing::fixturePath("demo/two-nights-london.txt").string();

TEST(ReportCommandTest, JsonCarriesEveryNightWithItsSessionAndTexts) {
  const Outcome run = runSnoozlet("report --log " + kTwoNights + " --tz Europe/London --json --lang en");
  ASSERT_EQ(run.status, 0) << run.err;
  const json doc = json::parse(run.out);
  ASSERT_EQ(doc["reports"].size(), 2u);
  EXPECT_EQ(doc["baseline"]["nights"], 2);
  EXPECT_TRUE(doc["coveredFrom"].is_number());
  const json& first = doc["reports"][0];
  EXPECT_EQ(first["ending"], "fullWake");
  EXPECT_EQ(first["kind"], "night");
  EXPECT_EQ(first["mood"], "sleepless");
  EXPECT_EQ(first["wokeBy"]["category"], "lid");
  EXPECT_EQ(first["culprit"]["process"], "Backup");
  EXPECT_EQ(first["moodReasons"].back()["case"], "culprit");
  EXPECT_EQ(first["battery"]["first"]["percent"], 90);
  EXPECT_TRUE(first["tcpKeepAlive"] == "active");
  EXPECT_TRUE(first["ratio"].is_number());
  EXPECT_EQ(first["darkWakes"].size(), first["darkWakeCount"].get<std::size_t>());
  bool sawRequest = false;
  for (const auto& wake : first["darkWakes"]) sawRequest |= wake["request"].is_object();
  EXPECT_TRUE(sawRequest) << "background and maintenance wakes carry their fired request";
  EXPECT_EQ(first["speech"].get<std::string>().rfind("I didn’t sleep a wink!", 0), 0u);
  EXPECT_FALSE(first["plainSummary"].get<std::string>().empty());
  EXPECT_TRUE(doc["reports"][1]["failures"].is_array());

  // The same log on standard input.
  const Outcome piped = runSnoozlet("report --log - --tz Europe/London --json", kTwoNights);
  ASSERT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(json::parse(piped.out)["reports"].size(), 2u);
}

TEST(ReportCommandTest, TextReportAndDemoMoods) {
  const Outcome run = inProcess({"--log", kTwoNights, "--tz", "Europe/London", "--lang", "tr"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("31 Mart Salı gecesi — Huzursuz\nGünaydın… sayılır.", 0), 0u) << run.out;
  // The table of nights has the history's columns.
  EXPECT_NE(run.out.find("\nGece         Uyku  Uyanma  Uyanık  Pil           En çok              Ruh hâli\n"
                         "28 Mart Cmt  8 sa       7  1 dk    −10 · 1,3/sa  Wi-Fi ve Bluetooth  Uykusuz\n"),
            std::string::npos)
      << run.out;
  const Outcome demo = inProcess({"--demo", "sleepless", "--json", "--tz", "Asia/Tokyo"});
  ASSERT_EQ(demo.status, 0) << demo.err;
  const json doc = json::parse(demo.out);
  ASSERT_EQ(doc["reports"].size(), 7u);
  EXPECT_EQ(doc["reports"][6]["mood"], "sleepless");
}

TEST(ReportCommandTest, BadInputGetsOneClearLine) {
  testing::TempDir dir;
  const Outcome missing = runSnoozlet("report --log " + (dir / "nope.log").string());
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err,
            "snoozlet report: cannot read " + (dir / "nope.log").string() + ": No such file or directory\n");
  const Outcome directory = runSnoozlet("report --log " + dir.path().string());
  EXPECT_EQ(directory.status, 2);
  EXPECT_EQ(directory.err, "snoozlet report: cannot read " + dir.path().string() + ": Is a directory\n");
  if (geteuid() != 0) {  // root reads anything
    testing::writeFile(dir / "secret.log", "x");
    std::filesystem::permissions(dir / "secret.log", std::filesystem::perms::none);
    const Outcome unreadable = runSnoozlet("report --log " + (dir / "secret.log").string());
    EXPECT_EQ(unreadable.status, 2);
    EXPECT_NE(unreadable.err.find("Permission denied"), std::string::npos);
  }
  testing::writeFile(dir / "notes.txt", "Dear diary,\n\x01\x02 nothing to see \xFF\n");
  const Outcome notALog = runSnoozlet("report --log " + (dir / "notes.txt").string());
  EXPECT_EQ(notALog.status, 0);
  EXPECT_EQ(notALog.out, "No nights in this log.\n");
  // A report that could not be written out (a full disk) is a failure, not a success.
  EXPECT_EQ(testing::runShell("(" + testing::builtProgram("Snoozlet/snoozlet").string() + " report --demo >/dev/full)")
                .status,
            1);

  for (const std::vector<std::string>& refused :
       std::vector<std::vector<std::string>>{{"--tz", "Mars/Olympus", "--demo"},
                                             {"--lang", "fr", "--demo"},
                                             {"--demo", "grumpy"},
                                             {"--log"},
                                             {"--demo", "--data-dir", "x"}}) {
    EXPECT_EQ(inProcess(refused).status, 2) << refused.front();
  }
  const Outcome noPmset = inProcess({"--pmset", (dir / "no-pmset").string(), "--data-dir", dir.path().string()});
  EXPECT_EQ(noPmset.status, 1);
  EXPECT_EQ(noPmset.err,
            "snoozlet report: Could not run " + (dir / "no-pmset").string() + ": No such file or directory\n");
  EXPECT_EQ(inProcess({"--bogus"}).err.rfind("snoozlet report: unknown argument '--bogus'", 0), 0u);
  const Outcome help = inProcess({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--json"), std::string::npos);
}

TEST(ReportCommandTest, ReadsTheSimulatedMacAndArchivesEachNightOnce) {
  testing::CliMac mac;
  testing::ScopedEnv zone("TZ", "Europe/Istanbul");  // the simulated Mac writes its week in the system zone
  const auto archivedNights = [&] {
    auto archive = NightArchive::open(mac.dir() / "data" / "nights.sqlite");
    return archive ? archive.value()->nights(std::nullopt, 1000).value().size() : 0;
  };
  const std::string arguments = "report --tz Europe/Istanbul --lang en " + mac.dataArgument();
  const Outcome first = runSnoozlet(arguments);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out.rfind("Saturday night, 5 December — Restless\n", 0), 0u) << first.out;
  EXPECT_NE(first.out.find("\nBattery health: "), std::string::npos) << "this machine's own battery";
  EXPECT_EQ(archivedNights(), 7u);
  ASSERT_EQ(runSnoozlet(arguments + " --json").status, 0);
  EXPECT_EQ(archivedNights(), 7u) << "a night read twice is archived once";

  // The Mac's log now holds the same week and an eighth night (a captured
  // log in the state folder replaces the demo).
  auto nights = DemoLog::week({2026, 12, 6, {}, {}, {}}, Mood::restless);
  DemoLog::Night eighth = nights.back();
  eighth.start = {2026, 12, 6, 23, 30, std::nullopt};
  nights.push_back(eighth);
  testing::writeFile(mac.dir() / "mac" / "log", DemoLog::text(nights, *TimeZone::named("Europe/Istanbul")));
  ASSERT_EQ(runSnoozlet(arguments).status, 0);
  EXPECT_EQ(archivedNights(), 8u) << "the archive grows by the new night only";
}

TEST(ReportCommandTest, ALinuxJournalCopiedFromALaptopIsToldNeverArchived) {
  testing::TempDir dir;
  const auto journal = dir / "week.journal";
  testing::writeJournal(journal, testing::readFile(testing::fixturePath("journal/laptop-s2idle-week.export")));
  testing::writeFile(dir / "history-charge-BAT0.dat",
                     "1796079000\t81.000\tdischarging\n1796108750\t74.000\tdischarging\n"
                     "1796165000\t90.000\tdischarging\n1796193580\t83.000\tcharging\n");
  testing::ScopedEnv config("XDG_CONFIG_HOME", (dir / "config").c_str());
  const std::string read = "report --plain --all --tz Europe/London --data-dir " + (dir / "data").string() +
                           " --journal " + journal.string() + " --upower " + dir.path().string();
  const Outcome english = runSnoozlet(read);
  ASSERT_EQ(english.status, 0) << english.err;
  EXPECT_EQ(english.out.rfind("Monday night, 30 November — Sound asleep\n", 0), 0u) << english.out;
  EXPECT_NE(english.out.find("Battery 81% → 74%"), std::string::npos) << english.out;
  EXPECT_NE(english.out.find("This laptop’s normal: 0.9/h over 2 nights."), std::string::npos) << english.out;
  EXPECT_FALSE(std::filesystem::exists(dir / "data" / "nights.sqlite")) << "another machine's nights";
  EXPECT_EQ(english.out.find("Battery health:"), std::string::npos) << "nor this machine's battery";
  // Without UPower's history nothing measured the battery: no charger is claimed.
  std::filesystem::create_directories(dir / "no-history");
  const Outcome unmeasured = runSnoozlet("report --all --tz Europe/London --journal " + journal.string() +
                                         " --upower " + (dir / "no-history").string());
  ASSERT_EQ(unmeasured.status, 0) << unmeasured.err;
  EXPECT_NE(unmeasured.out.find("· no battery readings\n"), std::string::npos) << unmeasured.out;
  EXPECT_EQ(unmeasured.out.find("charger"), std::string::npos) << unmeasured.out;
  EXPECT_EQ(unmeasured.out.find("on AC"), std::string::npos) << unmeasured.out;
  EXPECT_NE(runSnoozlet(read + " --json").out.find("\"kernel\":null"), std::string::npos) << "nothing read around it";

  const Outcome missing = runSnoozlet("report --journal " + (dir / "nope").string());
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "snoozlet report: no journal at " + (dir / "nope").string() + "\n");
  EXPECT_EQ(inProcess({"--journal", journal.string(), "--log", "x"}).status, 2);
  EXPECT_EQ(inProcess({"--source", "simulated", "--demo"}).status, 2);
  const Outcome twoSources = inProcess({"--journal", journal.string(), "--source", "pmset"});
  EXPECT_EQ(twoSources.status, 2);
  EXPECT_NE(twoSources.err.find("do not go with --pmset or another --source"), std::string::npos) << twoSources.err;
  EXPECT_EQ(inProcess({"--journal", journal.string(), "--source", "journal"}).status, 0);
  EXPECT_EQ(
      inProcess({"--source", "windows"}).err.rfind("snoozlet report: --source needs pmset, journal or simulated", 0),
      0u);

  // The settings file's choice stands when --source is not given: here the
  // simulated Mac, whatever this machine has.
  testing::writeFile(dir / "config" / "Snoozlet" / "Snoozlet.conf", "[General]\nnightSource=simulated\n");
  testing::ScopedEnv home("SNOOZLET_PMSET_HOME", (dir / "mac").c_str());
  const Outcome saved = runSnoozlet("report --plain --data-dir " + (dir / "data").string());
  ASSERT_EQ(saved.status, 0) << saved.err;
  EXPECT_NE(saved.out.find("This Mac’s normal"), std::string::npos) << saved.out;
}

}  // namespace
}  // namespace snoozlet
