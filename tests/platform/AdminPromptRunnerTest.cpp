#include "platform/AdminPromptRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "common/Text.h"

namespace snoozlet {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

const PlannedChange kWomp{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "1", "0"};
const PlannedChange kProximity{FixID::proximityWakeOff, "proximitywake", PowerScope::battery, "1", "0"};
const FixPlan kPlan{{kWomp, kProximity}, {}};

// Stand-in executables written into a temporary folder. Each records its
// arguments, NUL-separated, one invocation per line of the log.
class StandIns {
 public:
  StandIns() {
    // A pmset that records its arguments and fails for the value 9.
    script("pmset", "record pmset \"$@\"\n[ \"$3\" = 9 ] && { echo \"pmset: cannot set $2\" >&2; exit 1; }\nexit 0\n");
  }

  fs::path script(std::string_view name, std::string_view body) {
    const fs::path path = dir_ / name;
    testing::writeFile(path, "#!/bin/sh\nrecord() { log=\"" + (dir_ / "").string() +
                                 "$1.log\"; shift; for a in \"$@\"; do printf '%s\\0' \"$a\" >> \"$log\"; done; "
                                 "printf '\\n' >> \"$log\"; }\n" +
                                 std::string(body));
    fs::permissions(path, fs::perms::owner_all);
    return path;
  }

  // The recorded invocations of one stand-in, each as its argument list.
  std::vector<std::vector<std::string>> calls(std::string_view name) const {
    const fs::path log = dir_ / (std::string(name) + ".log");
    std::vector<std::vector<std::string>> out;
    if (!fs::exists(log)) return out;
    const std::string contents = testing::readFile(log);
    for (std::string_view line : text::split(contents, '\n')) {
      if (line.empty()) continue;
      std::vector<std::string> arguments;
      for (std::string_view argument : text::split(line, '\0')) arguments.emplace_back(argument);
      arguments.pop_back();  // after the last NUL
      out.push_back(std::move(arguments));
    }
    return out;
  }

  std::string pmset() const { return (dir_ / "pmset").string(); }

 private:
  testing::TempDir dir_;
};

PkexecRunner pkexec(const StandIns& standIns, const fs::path& elevator, bool elevate = true) {
  return PkexecRunner({standIns.pmset(), elevate, elevator.string(), "/bin/sh"});
}

TEST(PkexecRunnerTest, RunsTheShellTextThroughTheElevator) {
  StandIns s;
  const auto elevator = s.script("pkexec", "record pkexec \"$@\"\nexec \"$@\"\n");
  ASSERT_TRUE(pkexec(s, elevator).run(kPlan));
  const std::string text = s.pmset() + " -b womp 0 && " + s.pmset() + " -b proximitywake 0";
  EXPECT_THAT(s.calls("pkexec"), ElementsAre(ElementsAre("/bin/sh", "-c", text)));
  EXPECT_THAT(s.calls("pmset"), ElementsAre(ElementsAre("-b", "womp", "0"), ElementsAre("-b", "proximitywake", "0")));
}

TEST(PkexecRunnerTest, FailuresCarryTheErrorTextAndADismissedDialogIsCancelled) {
  StandIns s;
  const std::pair<const char*, RunFailure> failures[] = {
      {"echo 'Request dismissed' >&2\nexit 126\n", RunFailure::cancelled()},
      {"echo 'Error executing command as another user: Not authorized' >&2\nexit 127\n",
       RunFailure::script("Error executing command as another user: Not authorized")},
  };
  for (const auto& [body, failure] : failures)
    EXPECT_EQ(pkexec(s, s.script("elevator", body)).run(kPlan).error(), failure) << body;
  const auto silent = s.script("silent", "exit 5\n");
  EXPECT_EQ(pkexec(s, silent).run(kPlan).error().description(), silent.string() + " exited with 5");
  EXPECT_EQ(pkexec(s, "/nonexistent/pkexec").run(kPlan).error().description(),
            "Could not run /nonexistent/pkexec: No such file or directory");

  // The first failing pmset stops the rest.
  const auto elevator = s.script("pkexec", "exec \"$@\"\n");
  FixPlan failing{{kWomp, {FixID::powerNapOff, "powernap", PowerScope::battery, "1", "9"}, kProximity}, {}};
  EXPECT_EQ(pkexec(s, elevator).run(failing).error(), RunFailure::script("pmset: cannot set powernap"));
  EXPECT_THAT(s.calls("pmset"), ElementsAre(ElementsAre("-b", "womp", "0"), ElementsAre("-b", "powernap", "9")));
}

TEST(PkexecRunnerTest, WithoutElevationRunsTheShellDirectly) {
  StandIns s;
  const auto elevator = s.script("pkexec", "record pkexec \"$@\"\nexit 126\n");
  ASSERT_TRUE(pkexec(s, elevator, false).run(kPlan));
  EXPECT_TRUE(s.calls("pkexec").empty());
  EXPECT_EQ(s.calls("pmset").size(), 2u);

  // Status 126 from the shell itself is a script failure, not a dismissal.
  const fs::path notExecutable = s.script("plain", "");
  fs::permissions(notExecutable, fs::perms::owner_read | fs::perms::owner_write);
  const RunResult result = PkexecRunner({notExecutable.string(), false, "pkexec", "/bin/sh"}).run(kPlan);
  EXPECT_THAT(result.error().description(), ::testing::HasSubstr("denied"));
}

TEST(OsascriptRunnerTest, RunsTheAdministratorScript) {
  StandIns s;
  const auto osascript = s.script("osascript", "record osascript \"$@\"\n");
  ASSERT_TRUE(OsascriptRunner({s.pmset(), osascript.string()}).run(kPlan));
  EXPECT_THAT(s.calls("osascript"),
              ElementsAre(ElementsAre("-e", "do shell script \"" + s.pmset() + " -b womp 0 && " + s.pmset() +
                                                " -b proximitywake 0\" with administrator privileges")));
  const std::pair<const char*, RunFailure> failures[] = {
      {"echo '0:94: execution error: User canceled. (-128)' >&2\nexit 1\n", RunFailure::cancelled()},
      {"echo '0:151: execution error: The administrator user name or password was incorrect. (-60007)' >&2\n"
       "exit 1\n",
       RunFailure::script("The administrator user name or password was incorrect.")},
      {"echo 'osascript: no such component' >&2\nexit 1\n", RunFailure::script("osascript: no such component")},
      {"exit 2\n", RunFailure::script("osascript exited with 2")},
  };
  for (const auto& [body, failure] : failures)
    EXPECT_EQ(OsascriptRunner({s.pmset(), s.script("failing", body).string()}).run(kPlan).error(), failure) << body;
  EXPECT_EQ(OsascriptRunner::failureFrom("error -128 somewhere", "x"), RunFailure::cancelled());
  EXPECT_EQ(OsascriptRunner::failureFrom("execution error: bad (-1280)", "x"), RunFailure::script("bad"));
}

TEST(AdminPromptRunnerTest, EmptyOrRefusedPlansRunNothing) {
  StandIns s;
  const auto elevator = s.script("pkexec", "record pkexec \"$@\"\nexec \"$@\"\n");
  const auto osascript = s.script("osascript", "record osascript \"$@\"\n");
  for (const std::string& pmset : {s.pmset(), std::string("/usr/bin/pmset;reboot")}) {
    PkexecRunner pkexec({pmset, true, elevator.string(), "/bin/sh"});
    OsascriptRunner osascriptRunner({pmset, osascript.string()});
    for (PrivilegedRunner* runner : std::initializer_list<PrivilegedRunner*>{&pkexec, &osascriptRunner}) {
      EXPECT_TRUE(runner->run(FixPlan{}));
      if (pmset != s.pmset()) {
        EXPECT_THAT(runner->run(kPlan).error().description(), ::testing::HasSubstr("pmset path")) << pmset;
        continue;
      }
      for (const char* value : {"0; reboot", "0\" & do shell script \"x"}) {
        const auto result = runner->run({{kWomp, {FixID::powerNapOff, "powernap", PowerScope::battery, "1", value}}, {}});
        EXPECT_THAT(result.error().description(), ::testing::HasSubstr("Refused")) << value;
      }
    }
  }
  EXPECT_TRUE(s.calls("pkexec").empty());
  EXPECT_TRUE(s.calls("osascript").empty());
  EXPECT_TRUE(s.calls("pmset").empty());
}

}  // namespace
}  // namespace snoozlet
