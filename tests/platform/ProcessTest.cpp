#include "platform/Process.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>

namespace snoozlet {
namespace {

Process::Command shell(std::string script) { return {"/bin/sh", {"-c", std::move(script)}, {}}; }

TEST(ProcessTest, CapturesBothOutputsStatusSignalAndLaunchFailures) {
  const auto output = Process::run(shell("printf 'out'; printf 'err' >&2; exit 3"));
  EXPECT_EQ(output->out, "out");
  EXPECT_EQ(output->err, "err");
  EXPECT_EQ(output->exit, (Process::Exit{3, std::nullopt}));
  EXPECT_FALSE(output->exit.succeeded());
  EXPECT_EQ(output->exit.describe(), "exited with 3");
  const auto missing = Process::run({"/nonexistent/program", {}, {}});
  EXPECT_EQ(missing.error().description(), "Could not run /nonexistent/program: No such file or directory");
  EXPECT_FALSE(Process::run({"snoozlet-no-such-program", {}, {}}));

  const auto killed = Process::run(shell("kill -TERM $$"));
  EXPECT_EQ(killed->exit.signal, SIGTERM);
  EXPECT_EQ(killed->exit.describe(), "was killed by signal " + std::to_string(SIGTERM));
}

TEST(ProcessTest, ArgumentsArePassedVerbatimWithoutAShell) {
  std::vector<std::string> arguments = {"[%s]", "a b", "$(reboot)", "; rm -rf ~", "\"'", "", "é"};
  // A bare name is found in PATH.
  const auto output = Process::run({"printf", arguments, {}});
  EXPECT_EQ(output->out, "[a b][$(reboot)][; rm -rf ~][\"'][][é]");
  EXPECT_TRUE(output->exit.succeeded());
}

TEST(ProcessTest, LargeOutputsOnBothPipesDoNotDeadlock) {
  // Error output far larger than a pipe buffer comes first, then standard
  // output, then error output again: reading one pipe to its end before the
  // other would block the child forever.
  const auto output =
      Process::run(shell("head -c 1048576 /dev/zero | tr '\\0' e >&2; head -c 2097152 /dev/zero | tr '\\0' o;"
                         " head -c 1048576 /dev/zero | tr '\\0' e >&2"));
  EXPECT_EQ(output->out, std::string(2097152, 'o'));
  EXPECT_EQ(output->err, std::string(2097152, 'e'));
}

TEST(ProcessTest, EnvironmentIsInheritedAndExtended) {
  const testing::ScopedEnv replaced("SNOOZLET_PROCESS_TEST", "inherited"), kept("SNOOZLET_KEPT", "kept");
  auto command = shell("printf '%s|%s|%s' \"$SNOOZLET_PROCESS_TEST\" \"$SNOOZLET_EXTRA\" \"$SNOOZLET_KEPT\"");
  EXPECT_EQ(Process::run(command)->out, "inherited||kept");
  command.environment = {{"SNOOZLET_PROCESS_TEST", "replaced"}, {"SNOOZLET_EXTRA", "x=y"}};
  EXPECT_EQ(Process::run(command)->out, "replaced|x=y|kept");
}

TEST(ProcessTest, StreamsInBoundedChunksUntilTheConsumerStops) {
  std::string collected;
  std::size_t largest = 0;
  const auto output = Process::stream(
      shell("head -c 300000 /dev/zero | tr '\\0' x; echo oops >&2"), 4096,
      [&](std::string_view chunk) {
        largest = std::max(largest, chunk.size());
        collected.append(chunk);
        return true;
      },
      Process::ErrorOutput::discard);
  EXPECT_EQ(collected, std::string(300000, 'x'));
  EXPECT_LE(largest, 4096u);
  EXPECT_TRUE(output->out.empty());
  EXPECT_TRUE(output->err.empty());
  EXPECT_TRUE(output->exit.succeeded());

  const auto captured = Process::stream(
      shell("echo data; echo problem >&2; exit 2"), 1024, [](std::string_view) { return true; },
      Process::ErrorOutput::capture);
  EXPECT_EQ(captured->err, "problem\n");
  EXPECT_EQ(captured->exit.status, 2);

  // `yes` writes forever; a consumer that stops closes the pipe: a broken pipe ends it.
  std::size_t seen = 0;
  const auto stopped = Process::stream(
      {"yes", {}, {}}, 1024,
      [&](std::string_view chunk) {
        seen += chunk.size();
        return seen < 100000;
      },
      Process::ErrorOutput::discard);
  EXPECT_GE(seen, 100000u);
  EXPECT_EQ(stopped->exit.signal, SIGPIPE);
}

}  // namespace
}  // namespace snoozlet
