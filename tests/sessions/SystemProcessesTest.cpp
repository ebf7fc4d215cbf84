#include "sessions/SystemProcesses.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(SystemProcessesTest, NameSetsAreExactAndCaseSensitive) {
  for (const char* name : {"powerd", "WindowServer", "Software Update", "Safari", "Finder", "nsurlsessiond"})
    EXPECT_TRUE(SystemProcesses::isSystemName(name)) << name;
  for (const char* name : {"caffeinate", "swift-frontend", "sh", "Terminal", "iTerm2", "ollama"})
    EXPECT_TRUE(SystemProcesses::isUserToolName(name)) << name;
  EXPECT_FALSE(SystemProcesses::isSystemName("safari"));
  EXPECT_FALSE(SystemProcesses::isSystemName("powerd "));
  EXPECT_FALSE(SystemProcesses::isUserToolName("terminal"));
  EXPECT_FALSE(SystemProcesses::isUserToolName("python3.12"));
}

TEST(SystemProcessesTest, Origin) {
  const struct {
    const char* process;
    const char* name;
    HolderOrigin origin;
  } cases[] = {
      {"caffeinate", "com.apple.x", HolderOrigin::userTool},
      {"sudo", "x", HolderOrigin::userTool},
      {"bluetoothd", "anything", HolderOrigin::system},
      {"Safari", "Playing audio", HolderOrigin::system},
      {"WindowServer", "x", HolderOrigin::system},
      {"helper", "com.apple.x", HolderOrigin::system},  // Apple assertion, daemon-like process
      {"Helper", "com.apple.x", HolderOrigin::app},
      {"My App", "com.apple.x", HolderOrigin::app},
      {"my helper", "com.apple.x", HolderOrigin::app},
      {"render", "x", HolderOrigin::app},
      {"my daemond", "x", HolderOrigin::app},
      {"Zoomd", "x", HolderOrigin::app},
      {"élid", "x", HolderOrigin::system},  // a Unicode lower-case first letter
      {"", "com.apple.x", HolderOrigin::app},
      {"", "", HolderOrigin::app},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toString(SystemProcesses::origin(c.process, c.name)), toString(c.origin)) << c.process;
    EXPECT_EQ(SystemProcesses::isSystem(c.process, c.name), c.origin == HolderOrigin::system) << c.process;
  }
}

}  // namespace
}  // namespace snoozlet
