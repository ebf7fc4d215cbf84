#include "app/XdgLoginItem.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

namespace fs = std::filesystem;

TEST(XdgLoginItemTest, EnablingWritesTheAutostartEntryAndDisablingRemovesIt) {
  testing::TempDir dir;
  XdgLoginItem item("/usr/bin/snoozlet", dir / "config");
  const fs::path file = dir / "config" / "autostart" / "snoozlet.desktop";
  EXPECT_FALSE(item.isEnabled());

  ASSERT_TRUE(item.setEnabled(true).ok());
  EXPECT_TRUE(item.isEnabled());
  EXPECT_EQ(testing::readFile(file),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Snoozlet\n"
            "Exec=/usr/bin/snoozlet --login-item\n"
            "Terminal=false\n"
            "X-GNOME-Autostart-enabled=true\n");
  ASSERT_TRUE(item.setEnabled(true).ok());  // again: same file

  ASSERT_TRUE(item.setEnabled(false).ok());
  EXPECT_FALSE(fs::exists(file));
  EXPECT_TRUE(item.setEnabled(false).ok());  // nothing to remove is fine

  // An entry switched off by the desktop is not enabled.
  for (const char* off : {"[Desktop Entry]\nExec=/usr/bin/snoozlet --login-item\nHidden=true\n",
                          "[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n"}) {
    testing::writeFile(file, off);
    EXPECT_FALSE(item.isEnabled()) << off;
  }
}

TEST(XdgLoginItemTest, UnwritableLocationIsReportedWithPathAndReason) {
  testing::TempDir dir;
  testing::writeFile(dir / "config", "a file where the folder should be");
  XdgLoginItem item("/usr/bin/snoozlet", dir / "config");
  const Status status = item.setEnabled(true);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error().description(),
            "Couldn’t create the folder " + (dir / "config" / "autostart").string() + ": Not a directory");
  EXPECT_FALSE(item.isEnabled());

  // A folder where the file should be cannot be removed as a file either.
  fs::create_directories(dir / "other" / "autostart" / "snoozlet.desktop" / "inside");
  XdgLoginItem blocked("/usr/bin/snoozlet", dir / "other");
  const Status removal = blocked.setEnabled(false);
  ASSERT_FALSE(removal.ok());
  EXPECT_NE(removal.error().description().find("Couldn’t remove " + blocked.file().string() + ": "), std::string::npos)
      << removal.error().description();
}

TEST(XdgLoginItemTest, ProgramPathsAreQuotedAsTheExecKeyRequires) {
  // Inside quotes `"`, `` ` ``, `$` and `\` take a backslash; then the string
  // escape doubles every backslash, and a percent sign doubles.
  const std::pair<const char*, const char*> paths[] = {{"/opt/snoozlet/bin/snoozlet", "/opt/snoozlet/bin/snoozlet"},
                                                       {"/home/me/My Apps/snoozlet", "\"/home/me/My Apps/snoozlet\""},
                                                       {"/a\"b$c", "\"/a\\\\\"b\\\\$c\""},
                                                       {"/a\\b", "\"/a\\\\\\\\b\""},
                                                       {"/50%/snoozlet", "/50%%/snoozlet"}};
  for (const auto& [path, argument] : paths) EXPECT_EQ(XdgLoginItem::execArgument(path), argument) << path;
  EXPECT_FALSE(XdgLoginItem::desktopEntry("/bad\npath").ok());
}

TEST(XdgLoginItemTest, DefaultLocationFollowsXdgConfigHome) {
  testing::TempDir dir;
  {
    testing::ScopedEnv config("XDG_CONFIG_HOME", (dir / "xdg").c_str());
    EXPECT_EQ(XdgLoginItem::defaultConfigHome(), dir / "xdg");
  }
  testing::ScopedEnv home("HOME", dir.path().c_str());
  for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/config"}) {
    testing::ScopedEnv config("XDG_CONFIG_HOME", ignored);
    EXPECT_EQ(XdgLoginItem::defaultConfigHome(), dir / ".config");
    EXPECT_EQ(XdgLoginItem("/usr/bin/snoozlet").file(), dir / ".config" / "autostart" / "snoozlet.desktop");
  }
}

}  // namespace
}  // namespace snoozlet
