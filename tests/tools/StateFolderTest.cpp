#include "StateFolder.h"

#include "TestSupport.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <map>

namespace snoozlet {
namespace {

namespace fs = std::filesystem;

TEST(StateFolderTest, LocatesTheFolderFromTheEnvironment) {
  using Variables = std::map<std::string, std::string>;
  const std::pair<Variables, std::optional<fs::path>> cases[] = {
      {{{"SNOOZLET_PMSET_HOME", "/s"}, {"XDG_STATE_HOME", "/x"}, {"HOME", "/h"}}, "/s"},
      {{{"SNOOZLET_PMSET_HOME", ""}, {"XDG_STATE_HOME", "/x"}, {"HOME", "/h"}}, "/x/snoozlet-pmset"},
      {{{"XDG_STATE_HOME", "relative"}, {"HOME", "/h"}}, "/h/.local/state/snoozlet-pmset"},
      {{{"XDG_STATE_HOME", ""}, {"HOME", "/h"}}, "/h/.local/state/snoozlet-pmset"},
      {{{"HOME", ""}}, std::nullopt},
      {{}, std::nullopt},
  };
  for (const auto& [variables, folder] : cases) {
    // Clang before 16 cannot capture a structured binding in a lambda.
    const Variables& values = variables;
    const auto located = StateFolder::locate([&values](const char* name) -> std::optional<std::string> {
      const auto it = values.find(name);
      return it == values.end() ? std::nullopt : std::optional(it->second);
    });
    EXPECT_EQ(located.ok() ? std::optional(*located) : std::nullopt, folder);
  }
}

TEST(StateFolderTest, FilesAreReplacedWholeAndUnreadableOnesAreErrors) {
  testing::TempDir dir;
  const StateFolder folder(dir / "state");
  ASSERT_TRUE(folder.create().ok());
  ASSERT_TRUE(folder.create().ok());  // already there
  EXPECT_EQ(folder.readSettings()->settings, SimulatedMac::Settings::defaults());
  // A settings file too large to be ours reads as the defaults, with a problem; it can be kept aside.
  testing::writeFile(folder.path() / "settings", std::string(70000, 'x'));
  const auto large = folder.readSettings();
  EXPECT_EQ(large->settings, SimulatedMac::Settings::defaults());
  EXPECT_EQ(large->problems.size(), 1u);
  EXPECT_EQ(testing::readFile(folder.keepDamagedSettings().value()), std::string(70000, 'x'));
  // Writing replaces the file and leaves nothing else behind.
  ASSERT_TRUE(StateFolder::writeAtomically(folder.path() / "settings", "new contents\n").ok());
  EXPECT_EQ(testing::readFile(folder.path() / "settings"), "new contents\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
  EXPECT_FALSE(StateFolder::writeAtomically(dir / "missing" / "settings", "x").ok());
  EXPECT_FALSE(fs::exists(dir / "missing"));
  fs::remove(folder.path() / "settings");
  fs::create_directory(folder.path() / "settings");
  EXPECT_FALSE(folder.readSettings().ok());
  testing::writeFile(dir / "file", "");
  EXPECT_FALSE(StateFolder(dir / "file").create().ok());
}

TEST(StateFolderTest, LockIsHeldUntilReleased) {
  testing::TempDir dir;
  const auto tryLock = [&] {
    const int fd = ::open((dir / ".lock").c_str(), O_RDWR);
    const bool got = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) ::close(fd);
    return got;
  };
  {
    const auto lock = StateFolder(dir.path()).lock();
    ASSERT_TRUE(lock.ok());
    EXPECT_FALSE(tryLock());
  }
  EXPECT_TRUE(tryLock());
}

}  // namespace
}  // namespace snoozlet
