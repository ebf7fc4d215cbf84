#include "sessions/SystemProcesses.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(SystemProcessesTest, OriginFromTheNameListsThenTheAssertionAndDaemonRules) {
  using enum HolderOrigin;
  const std::tuple<const char*, const char*, HolderOrigin> cases[] = {
      // The lists are exact and case-sensitive.
      {"caffeinate", "com.apple.x", userTool}, {"sudo", "x", userTool}, {"swift-frontend", "x", userTool},
      {"Terminal", "x", userTool}, {"terminal", "x", app}, {"python3.12", "x", app}, {"ollama", "x", userTool},
      {"WindowServer", "x", system}, {"Software Update", "x", system}, {"Safari", "Playing audio", system},
      {"safari", "x", app}, {"powerd ", "x", app},
      // A lower-case name without blanks: an Apple assertion or a final "d" make it the system's.
      {"bluetoothd", "anything", system}, {"helper", "com.apple.x", system}, {"Helper", "com.apple.x", app},
      {"My App", "com.apple.x", app}, {"my helper", "com.apple.x", app}, {"render", "x", app},
      {"my daemond", "x", app}, {"Zoomd", "x", app},
      {"élid", "x", system},  // a Unicode lower-case first letter
      {"", "com.apple.x", app}, {"", "", app},
  };
  for (const auto& [process, name, origin] : cases) {
    EXPECT_EQ(toString(SystemProcesses::origin(process, name)), toString(origin)) << process;
    EXPECT_EQ(SystemProcesses::isSystem(process, name), origin == system) << process;
  }
}

}  // namespace
}  // namespace snoozlet
