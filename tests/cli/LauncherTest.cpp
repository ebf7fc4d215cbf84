#include "CliHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

namespace snoozlet {
namespace {

using ::testing::HasSubstr;

TEST(LauncherTest, ReportRunsAloneAndEveryOtherCommandGoesToTheApplication) {
  // Through the built pair: help and the model commands come from the application.
  const testing::Outcome help = testing::runSnoozlet("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* piece : {"  settings", "SNOOZLET_ELEVATOR"}) EXPECT_THAT(help.out, HasSubstr(piece));
  EXPECT_EQ(testing::runSnoozlet("fix --help").status, 0);
  const testing::Outcome unknown = testing::runSnoozlet("--lang en frobnicate");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_THAT(unknown.err, HasSubstr("unknown command 'frobnicate'"));
  EXPECT_EQ(testing::runSnoozlet("--frobnicate").status, 2);

  // A `snoozlet` copied away from the application still reports, and says
  // plainly what is missing for the rest.
  testing::TempDir dir;
  const auto lonely = dir / "snoozlet";
  std::filesystem::copy_file(testing::builtProgram("Snoozlet/snoozlet"), lonely);
  const testing::Outcome report = testing::runShell(lonely.string() + " report --demo soundAsleep --tz UTC --lang en");
  EXPECT_EQ(report.status, 0) << report.err;
  EXPECT_THAT(report.out, HasSubstr("Sound asleep"));
  const testing::Outcome settings = testing::runShell(lonely.string() + " settings");
  EXPECT_EQ(settings.status, 127);
  EXPECT_EQ(settings.err, "snoozlet: cannot run " + (dir / "snoozlet-app").string() + ": No such file or directory\n");
  EXPECT_TRUE(settings.out.empty());
}

TEST(LauncherTest, StartedWithoutEvenItsNameItPrintsUsage) {
  const std::string program = testing::builtProgram("Snoozlet/snoozlet").string();
  char* noArguments[] = {nullptr};
  char* noEnvironment[] = {nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, program.c_str(), nullptr, nullptr, noArguments, noEnvironment), 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 1);  // no command: the tray, and without a display it says so
}

}  // namespace
}  // namespace snoozlet
