// Runs the built snoozlet-pmset as a child process, the way the application
// runs /usr/bin/pmset.

#include "TestSupport.h"
#include "common/Text.h"
#include "log/PowerLogParser.h"
#include "sessions/LogReader.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace snoozlet {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class PmsetProgramTest : public ::testing::Test {
 protected:
  // Runs the program with the state folder and zone of this test, `extra`
  // variables, and none of the caller's own SNOOZLET_PMSET_ settings.
  Outcome run(std::vector<std::string> arguments, const std::map<std::string, std::string>& extra = {}) {
    std::vector<std::string> variables;
    for (char** e = environ; *e; ++e) {
      const std::string_view v(*e);
      if (!v.starts_with("SNOOZLET_PMSET_") && !v.starts_with("TZ=")) variables.emplace_back(v);
    }
    variables.push_back("SNOOZLET_PMSET_HOME=" + home().string());
    variables.push_back("TZ=Europe/Istanbul");
    for (const auto& [name, value] : extra) variables.push_back(name + "=" + value);

    const std::string program = testing::builtProgram("Snoozlet/snoozlet-pmset").string();
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv, envp;
    for (auto& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& v : variables) envp.push_back(v.data());
    envp.push_back(nullptr);

    const fs::path out = io_ / "out", err = io_ / "err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    Outcome result;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0) << program;
    if (spawned != 0) return result;
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
  }

  fs::path home() const { return state_ / "home"; }

  // The value of a setting under a heading of `pmset -g custom` (or "Currently
  // in use:" of `pmset -g`), checking that every setting line begins with a
  // blank and has the key, blanks, and the value.
  static std::map<std::string, std::map<std::string, std::string>> sections(const std::string& output) {
    std::map<std::string, std::map<std::string, std::string>> out;
    std::string heading;
    for (std::string_view line : text::split(output, '\n', 1000, true)) {
      if (line[0] != ' ') {
        heading = line;
        continue;
      }
      const std::size_t keyEnd = line.find(' ', 1);
      const std::size_t value = line.find_first_not_of(' ', keyEnd);
      EXPECT_TRUE(keyEnd > 1 && value != std::string_view::npos) << line;
      if (keyEnd <= 1 || value == std::string_view::npos) continue;
      out[heading][std::string(line.substr(1, keyEnd - 1))] = std::string(line.substr(value));
    }
    return out;
  }

  TempDir state_;
  TempDir io_;
};

TEST_F(PmsetProgramTest, ShowsAndChangesTheSettings) {
  Outcome r = run({"-g"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("System-wide power settings:\nCurrently in use:\n", 0), 0u);
  EXPECT_TRUE(fs::is_directory(home()));  // created on first use
  auto live = sections(r.out)["Currently in use:"];
  EXPECT_EQ(live["powernap"], "1");
  EXPECT_EQ(live["womp"], "0");

  ASSERT_EQ(run({"-b", "powernap", "0"}).status, 0);
  r = run({"-g", "custom"});
  ASSERT_EQ(r.status, 0) << r.err;
  auto custom = sections(r.out);
  EXPECT_EQ(custom["Battery Power:"]["powernap"], "0");
  EXPECT_EQ(custom["AC Power:"]["powernap"], "1");
  EXPECT_EQ(sections(run({"-g"}).out)["Currently in use:"]["powernap"], "0");

  ASSERT_EQ(run({"-a", "womp", "1"}).status, 0);
  custom = sections(run({"-g", "custom"}).out);
  EXPECT_EQ(custom["Battery Power:"]["womp"], "1");
  EXPECT_EQ(custom["AC Power:"]["womp"], "1");
  EXPECT_EQ(custom["Battery Power:"]["powernap"], "0");  // earlier change kept

  r = run({"-g", "cap"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Capabilities for Battery Power:\n", 0), 0u);
  for (const char* key : {"tcpkeepalive", "powernap", "womp", "proximitywake", "ttyskeepawake", "lowpowermode"})
    EXPECT_NE(r.out.find(std::string("\n ") + key + "\n"), std::string::npos) << key;
}

TEST_F(PmsetProgramTest, RefusedChangesLeaveTheSettingsUntouched) {
  const std::vector<std::vector<std::string>> refused = {{"-b", "nosuchkey", "1"},
                                                         {"-b", "powernap", "1;rm"},
                                                         {"-b", "powernap", "abc"},
                                                         {"-b", "powernap", "0", "womp"},
                                                         {"-a", "womp", "0", "sleep", "-1"},
                                                         {"-b"},
                                                         {"-q"}};
  for (const auto& arguments : refused) {
    EXPECT_EQ(run(arguments).status, 1) << arguments[0];
    EXPECT_FALSE(fs::exists(home() / "settings")) << arguments.back();
  }
  ASSERT_EQ(run({"-c", "sleep", "10"}).status, 0);
  const std::string before = readFile(home() / "settings");
  for (const auto& arguments : refused) {
    const Outcome r = run(arguments);
    EXPECT_EQ(r.status, 1) << arguments.back();
    EXPECT_EQ(r.err.rfind("pmset: ", 0), 0u) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(readFile(home() / "settings"), before) << arguments.back();
  }
  const Outcome usage = run({"-g", "batt"});
  EXPECT_EQ(usage.status, 1);
  EXPECT_NE(usage.err.find("Usage:"), std::string::npos);
  const Outcome help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("SNOOZLET_PMSET_FAIL"), std::string::npos);
}

TEST_F(PmsetProgramTest, DamagedSettingsFallBackAndAreKeptWhenRewritten) {
  const std::string damaged = "battery powernap 0\nbattery womp on\n\x01garbage\n";
  writeFile(home() / "settings", damaged);
  Outcome r = run({"-g", "custom"});
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(sections(r.out)["Battery Power:"]["powernap"], "0");
  EXPECT_EQ(sections(r.out)["Battery Power:"]["womp"], "0");  // the default
  EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;

  r = run({"-b", "sleep", "5"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(readFile(home() / "settings.damaged"), damaged);
  const auto custom = sections(run({"-g", "custom"}).out);
  EXPECT_EQ(custom.at("Battery Power:").at("sleep"), "5");
  EXPECT_EQ(custom.at("Battery Power:").at("powernap"), "0");
}

TEST_F(PmsetProgramTest, FailuresCanBeRequestedPerCommand) {
  const struct {
    std::vector<std::string> arguments;
    const char* name;
  } cases[] = {{{"-g"}, "live"},
               {{"-g", "custom"}, "custom"},
               {{"-g", "cap"}, "cap"},
               {{"-g", "log"}, "log"},
               {{"-b", "powernap", "0"}, "set"}};
  for (const auto& c : cases) {
    const Outcome failed = run(c.arguments, {{"SNOOZLET_PMSET_FAIL", std::string("x, ") + c.name}});
    EXPECT_EQ(failed.status, 1) << c.name;
    EXPECT_TRUE(failed.out.empty()) << c.name;
    EXPECT_NE(failed.err.find(c.name), std::string::npos) << failed.err;
    // A failed command changes nothing.
    EXPECT_FALSE(fs::exists(home() / "demo")) << c.name;
    EXPECT_FALSE(fs::exists(home() / "settings")) << c.name;
    EXPECT_EQ(run(c.arguments, {{"SNOOZLET_PMSET_FAIL", "other"}}).status, 0) << c.name;
    fs::remove(home() / "demo");
    fs::remove(home() / "settings");
  }
}

TEST_F(PmsetProgramTest, CapturedLogIsPrintedByteForByte) {
  std::string log = testing::readFile(testing::fixturePath("real/pmsetlog-01.txt"));
  log += std::string("\0\xfe tail without line feed", 24);
  writeFile(home() / "log", log);
  const Outcome r = run({"-g", "log"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out == log);
  EXPECT_FALSE(fs::exists(home() / "demo"));
}

TEST_F(PmsetProgramTest, DemoWeekKeepsTheDayItWasFirstAskedFor) {
  const Outcome first = run({"-g", "log"}, {{"SNOOZLET_PMSET_TODAY", "2026-12-06"}});
  ASSERT_EQ(first.status, 0) << first.err;
  const Outcome later =
      run({"-g", "log"}, {{"SNOOZLET_PMSET_TODAY", "2026-12-09"}, {"SNOOZLET_PMSET_DEMO_MOOD", "sleepless"}});
  ASSERT_EQ(later.status, 0) << later.err;
  EXPECT_TRUE(later.out == first.out);

  EXPECT_FALSE(PowerLogParser::parse(first.out).empty());
  LogReader reader;
  reader.ingest(first.out);
  const auto sessions = reader.sessions();
  ASSERT_EQ(sessions.size(), 7u);
  for (const auto& s : sessions) EXPECT_EQ(s.ending.kind(), SessionEnd::Kind::fullWake);
  // The last night ends on the morning of the sixth, Istanbul time.
  EXPECT_NE(first.out.rfind("2026-12-06 07:31:00 +0300 Wake "), std::string::npos);

  // A new week with its own mood once the old one is deleted; bad values refused.
  fs::remove(home() / "demo");
  EXPECT_EQ(run({"-g", "log"}, {{"SNOOZLET_PMSET_DEMO_MOOD", "grumpy"}}).status, 1);
  EXPECT_EQ(run({"-g", "log"}, {{"SNOOZLET_PMSET_TODAY", "2026-02-30"}}).status, 1);
  EXPECT_FALSE(fs::exists(home() / "demo"));
  const Outcome sleepless =
      run({"-g", "log"}, {{"SNOOZLET_PMSET_TODAY", "2026-12-06"}, {"SNOOZLET_PMSET_DEMO_MOOD", "sleepless"}});
  ASSERT_EQ(sleepless.status, 0);
  EXPECT_FALSE(sleepless.out == first.out);
  EXPECT_NE(readFile(home() / "demo").find("mood sleepless"), std::string::npos);

  // A damaged record starts a new week and says so.
  writeFile(home() / "demo", "day yesterday\n");
  const Outcome renewed = run({"-g", "log"}, {{"SNOOZLET_PMSET_TODAY", "2026-12-06"}});
  ASSERT_EQ(renewed.status, 0);
  EXPECT_NE(renewed.err.find("damaged"), std::string::npos);
  EXPECT_TRUE(renewed.out == first.out);
}

}  // namespace
}  // namespace snoozlet
