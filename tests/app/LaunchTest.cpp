#include "app/Launch.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace snoozlet {
namespace {

TEST(LaunchTest, APmsetGivenByARelativePathIsMadeAbsoluteAndABareNameIsLeftForPath) {
  const std::string cwd = std::filesystem::current_path().string();
  EXPECT_EQ(configuredPmset("tools/../bin/pmset"), cwd + "/bin/pmset");
  EXPECT_EQ(configuredPmset("pmset"), "pmset");
  EXPECT_EQ(configuredPmset("/opt/pmset"), "/opt/pmset");
}

}  // namespace
}  // namespace snoozlet
