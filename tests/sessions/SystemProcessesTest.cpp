#include "sessions/SystemProcesses.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(SystemProcessesTest, HolderOriginRawValues) {
  for (const auto origin : {HolderOrigin::system, HolderOrigin::userTool, HolderOrigin::app})
    EXPECT_EQ(holderOriginFromString(toString(origin)), origin);
  EXPECT_EQ(toString(HolderOrigin::userTool), "userTool");
  EXPECT_EQ(holderOriginFromString("System"), std::nullopt);
  EXPECT_EQ(holderOriginFromString(""), std::nullopt);
}

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

TEST(SystemProcessesTest, CleanHolderName) {
  using SystemProcesses::cleanHolderName;
  EXPECT_EQ(cleanHolderName("com.apple.x (0x1a2b) context12 <A1B2C3D4-0000-1111-2222-333344445555>"),
            "com.apple.x () context");
  // White space of every kind collapses to one space; line breaks included.
  EXPECT_EQ(cleanHolderName("Playing\t\taudio\nnow\u00A0\u2003here"), "Playing audio now here");
  EXPECT_EQ(cleanHolderName("  <<..(Backup)..>>\t"), "Backup");
  EXPECT_EQ(cleanHolderName("job.a1b2c3d4-0000-1111-2222-333344445555"), "job");
  EXPECT_EQ(cleanHolderName("0xFF"), "");
  EXPECT_EQ(cleanHolderName("contextual context007"), "contextual context");
  EXPECT_EQ(cleanHolderName(""), "");
}

}  // namespace
}  // namespace snoozlet
