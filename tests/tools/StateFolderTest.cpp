#include "StateFolder.h"

#include "TestSupport.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace snoozlet {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

StateFolder::Environment environment(std::map<std::string, std::string> values) {
  return [values = std::move(values)](const char* name) -> std::optional<std::string> {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  };
}

TEST(StateFolderTest, LocatesTheFolderFromTheEnvironment) {
  const struct {
    std::map<std::string, std::string> values;
    std::optional<fs::path> folder;
  } cases[] = {
      {{{"SNOOZLET_PMSET_HOME", "/s"}, {"XDG_STATE_HOME", "/x"}, {"HOME", "/h"}}, fs::path("/s")},
      {{{"SNOOZLET_PMSET_HOME", ""}, {"XDG_STATE_HOME", "/x"}, {"HOME", "/h"}}, fs::path("/x/snoozlet-pmset")},
      {{{"XDG_STATE_HOME", "relative"}, {"HOME", "/h"}}, fs::path("/h/.local/state/snoozlet-pmset")},
      {{{"XDG_STATE_HOME", ""}, {"HOME", "/h"}}, fs::path("/h/.local/state/snoozlet-pmset")},
      {{{"HOME", ""}}, std::nullopt},
      {{}, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto located = StateFolder::locate(environment(c.values));
    ASSERT_EQ(located.ok(), c.folder.has_value());
    if (c.folder) {
      EXPECT_EQ(*located, *c.folder);
    }
  }
}

TEST(StateFolderTest, AtomicWriteReplacesTheFileAndLeavesNothingBehind) {
  TempDir dir;
  const fs::path file = dir / "settings";
  writeFile(file, "old");
  ASSERT_TRUE(StateFolder::writeAtomically(file, "new contents\n").ok());
  EXPECT_EQ(readFile(file), "new contents\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  // A folder that does not exist: an error, and nothing created.
  const Status missing = StateFolder::writeAtomically(dir / "missing" / "settings", "x");
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.error().description().find("missing"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(StateFolderTest, SettingsFallBackToDefaultsButUnreadableFilesAreErrors) {
  TempDir dir;
  const StateFolder folder(dir / "state");
  ASSERT_TRUE(folder.create().ok());
  ASSERT_TRUE(folder.create().ok());  // already there
  auto read = folder.readSettings();
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read->settings, SimulatedMac::Settings::defaults());
  EXPECT_TRUE(read->problems.empty());

  writeFile(folder.path() / "settings", std::string(70000, 'x'));
  read = folder.readSettings();
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read->settings, SimulatedMac::Settings::defaults());
  EXPECT_EQ(read->problems.size(), 1u);
  const auto copy = folder.keepDamagedSettings();
  ASSERT_TRUE(copy.ok());
  EXPECT_EQ(readFile(*copy), std::string(70000, 'x'));

  fs::remove(folder.path() / "settings");
  fs::create_directory(folder.path() / "settings");
  EXPECT_FALSE(folder.readSettings().ok());

  writeFile(dir / "file", "");
  EXPECT_FALSE(StateFolder(dir / "file").create().ok());
}

TEST(StateFolderTest, StreamsTheCapturedLogByteForByte) {
  TempDir dir;
  const StateFolder folder(dir.path());
  std::ostringstream none;
  auto streamed = folder.streamLog(none);
  ASSERT_TRUE(streamed.ok());
  EXPECT_FALSE(*streamed);
  EXPECT_TRUE(none.str().empty());

  // Longer than one block, with NUL bytes, invalid UTF-8 and no final line feed.
  std::string log;
  for (int i = 0; log.size() < 600 * 1024; ++i) log += "line " + std::to_string(i) + std::string("\0\xff\t", 3) + "\n";
  log += "last";
  writeFile(dir / "log", log);
  std::ostringstream out;
  streamed = folder.streamLog(out);
  ASSERT_TRUE(streamed.ok());
  EXPECT_TRUE(*streamed);
  EXPECT_TRUE(out.str() == log);

  fs::remove(dir / "log");
  fs::create_directory(dir / "log");
  std::ostringstream folderOut;
  EXPECT_FALSE(folder.streamLog(folderOut).ok());
}

TEST(StateFolderTest, LockIsHeldUntilReleased) {
  TempDir dir;
  const StateFolder folder(dir.path());
  const auto tryLock = [&] {
    const int fd = ::open((dir / ".lock").c_str(), O_RDWR);
    const bool got = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) ::close(fd);
    return got;
  };
  {
    auto lock = folder.lock();
    ASSERT_TRUE(lock.ok());
    EXPECT_FALSE(tryLock());
  }
  EXPECT_TRUE(tryLock());
}

}  // namespace
}  // namespace snoozlet
