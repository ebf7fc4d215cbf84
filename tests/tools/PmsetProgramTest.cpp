// The built snoozlet-pmset run as a child process, the way the application
// runs /usr/bin/pmset: exit statuses, the two output streams, the state
// folder, and the texts read back through the application's own parsers. Its
// library's tests check the finer rules of each part.

#include "TestSupport.h"
#include "SimulatedMac.h"
#include "settings/PowerCapabilities.h"
#include "settings/PowerSettings.h"

#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace snoozlet {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

struct Outcome {
  int status = -1;
  std::string out, err;
};

class PmsetProgramTest : public ::testing::Test {
 protected:
  // Runs the program with this test's state folder and zone, `extra`
  // variables, and none of the caller's own SNOOZLET_PMSET_ settings.
  Outcome run(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& extra = {}) {
    std::string line = "env -u SNOOZLET_PMSET_DEMO_MOOD -u SNOOZLET_PMSET_FAIL -u SNOOZLET_PMSET_PREVENTERS";
    line += " -u SNOOZLET_PMSET_TODAY TZ=Europe/Istanbul SNOOZLET_PMSET_HOME='" + home().string() + "'";
    for (const auto& [name, value] : extra) line += " " + name + "='" + value + "'";
    line += " " + testing::builtProgram("Snoozlet/snoozlet-pmset").string();
    for (const std::string& argument : arguments) line += " '" + argument + "'";
    const fs::path out = io_ / "out", err = io_ / "err";
    const int raw = std::system((line + " >" + out.string() + " 2>" + err.string()).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(out), readFile(err)};
  }

  // What the application reads from `pmset -g` and `pmset -g custom`.
  PowerSettings settings() {
    const Outcome live = run({"-g"}), custom = run({"-g", "custom"});
    EXPECT_EQ(live.status + custom.status, 0) << live.err << custom.err;
    return PowerSettings::parse(live.out, custom.out);
  }

  fs::path home() const { return state_ / "home"; }

  testing::TempDir state_, io_;
};

TEST_F(PmsetProgramTest, ShowsChangesAndRefusesWithoutTouchingTheSettings) {
  EXPECT_EQ(settings().battery.at("womp"), "0");
  EXPECT_TRUE(fs::is_directory(home()));  // created on first use
  // The later change wins.
  ASSERT_EQ(run({"-b", "powernap", "0", "-a", "womp", "1", "-b", "hibernatemode", "25", "powernap", "2"}).status, 0);
  const PowerSettings s = settings();
  EXPECT_EQ(s.current, s.battery) << "the battery profile is in use";
  EXPECT_EQ(std::tie(s.battery.at("powernap"), s.ac.at("powernap")), std::make_tuple("2", "1"));
  EXPECT_EQ(std::tie(s.battery.at("womp"), s.ac.at("womp")), std::make_tuple("1", "1"));
  EXPECT_EQ(s.battery.at("hibernatemode"), "25");
  const Outcome live = run({"-g"}, {{"SNOOZLET_PMSET_PREVENTERS", "sharingd, coreaudiod"}});
  EXPECT_EQ(PowerSettings::parse(live.out, {}).sleepPreventedBy, (std::vector<std::string>{"sharingd", "coreaudiod"}));
  const PowerCapabilities capabilities = PowerCapabilities::parse(run({"-g", "cap"}).out);
  EXPECT_EQ(capabilities.keys.size(), SimulatedMac::catalogue().size());
  for (const auto& setting : SimulatedMac::catalogue()) EXPECT_TRUE(capabilities.contains(setting.key)) << setting.key;

  const std::string before = readFile(home() / "settings");
  for (const std::vector<std::string>& refused : {std::vector<std::string>{"-b", "powernap", "1;rm"}, {"-q"}}) {
    const Outcome r = run(refused);
    EXPECT_EQ(r.status, 1) << refused.back();
    EXPECT_EQ(r.err.rfind("pmset: ", 0), 0u) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(readFile(home() / "settings"), before) << refused.back();
  }
  EXPECT_NE(run({"-g", "batt"}).err.find("Usage:"), std::string::npos);
  const Outcome help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("SNOOZLET_PMSET_FAIL"), std::string::npos);
}

TEST_F(PmsetProgramTest, DamagedSettingsFallBackAndAreKeptWhenRewritten) {
  const std::string damaged = "battery powernap 0\nbattery womp on\n\x01garbage\n";
  writeFile(home() / "settings", damaged);
  const Outcome r = run({"-g", "custom"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(PowerSettings::parse("", r.out).battery.at("powernap"), "0");
  EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;  // each damaged line is told

  ASSERT_EQ(run({"-b", "sleep", "5"}).status, 0);
  EXPECT_EQ(readFile(home() / "settings.damaged"), damaged);
  const PowerSettings s = settings();
  EXPECT_EQ(s.battery.at("sleep"), "5");
  EXPECT_EQ(s.battery.at("powernap"), "0");
}

TEST_F(PmsetProgramTest, FailuresCanBeRequestedPerCommandAndChangeNothing) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"-g"}, "live"}, {{"-g", "custom"}, "custom"}, {{"-g", "cap"}, "cap"}, {{"-g", "log"}, "log"},
      {{"-b", "powernap", "0"}, "set"}};
  for (const auto& [arguments, name] : cases) {
    const Outcome failed = run(arguments, {{"SNOOZLET_PMSET_FAIL", std::string("x, ") + name}});
    EXPECT_EQ(failed.status, 1) << name;
    EXPECT_TRUE(failed.out.empty() && failed.err.find(name) != std::string::npos) << failed.err;
    EXPECT_FALSE(fs::exists(home() / "demo") || fs::exists(home() / "settings")) << name;
    EXPECT_EQ(run(arguments, {{"SNOOZLET_PMSET_FAIL", "other"}}).status, 0) << name;
    fs::remove(home() / "demo");
    fs::remove(home() / "settings");
  }
}

TEST_F(PmsetProgramTest, LogIsTheCapturedFileOrADemoWeekThatKeepsItsDay) {
  const std::map<std::string, std::string> sixth{{"SNOOZLET_PMSET_TODAY", "2026-12-06"}};
  const Outcome first = run({"-g", "log"}, sixth);
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_NE(first.out.rfind("2026-12-06 07:31:00 +0300 Wake "), std::string::npos);
  const Outcome later =
      run({"-g", "log"}, {{"SNOOZLET_PMSET_TODAY", "2026-12-09"}, {"SNOOZLET_PMSET_DEMO_MOOD", "sleepless"}});
  EXPECT_TRUE(later.out == first.out);

  // A new week once the old one is deleted; bad values refused.
  fs::remove(home() / "demo");
  EXPECT_EQ(run({"-g", "log"}, {{"SNOOZLET_PMSET_DEMO_MOOD", "grumpy"}}).status, 1);
  EXPECT_EQ(run({"-g", "log"}, {{"SNOOZLET_PMSET_TODAY", "2026-02-30"}}).status, 1);
  EXPECT_FALSE(fs::exists(home() / "demo"));
  const Outcome sleepless =
      run({"-g", "log"}, {{"SNOOZLET_PMSET_TODAY", "2026-12-06"}, {"SNOOZLET_PMSET_DEMO_MOOD", "sleepless"}});
  ASSERT_EQ(sleepless.status, 0);
  EXPECT_FALSE(sleepless.out == first.out);
  // A damaged record starts a new week and says so.
  writeFile(home() / "demo", "day yesterday\n");
  const Outcome renewed = run({"-g", "log"}, sixth);
  EXPECT_NE(renewed.err.find("damaged"), std::string::npos);
  EXPECT_TRUE(renewed.out == first.out);

  // A captured log is printed byte for byte instead: longer than one block,
  // with NUL bytes, invalid UTF-8 and no final line feed.
  std::string log = readFile(testing::fixturePath("real/pmsetlog-01.txt"));
  for (int i = 0; log.size() < 600 * 1024; ++i) log += "line " + std::to_string(i) + std::string("\0\xff\t", 3) + "\n";
  writeFile(home() / "log", log + "last");
  EXPECT_TRUE(run({"-g", "log"}).out == log + "last");
  fs::remove(home() / "log");
  fs::create_directory(home() / "log");
  EXPECT_EQ(run({"-g", "log"}).status, 1) << "a log that cannot be read is an error";
}

}  // namespace
}  // namespace snoozlet
