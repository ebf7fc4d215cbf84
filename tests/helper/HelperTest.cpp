// snoozlet-helper on a copy of a laptop's tree of files: each operation and
// its undo, the boot-time files it keeps, and the requests it refuses
// (these run as root in CI, so a refusal can never lean on a permission).

#include "helper/Helper.h"
#include "helper/KeepFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "TestSupport.h"

namespace snoozlet::helper {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kXhc = "/sys/devices/pci0000:00/0000:00:14.0/power/wakeup";
const std::string kRule =
    R"(ACTION=="add", SUBSYSTEM=="pci", KERNEL=="0000:00:14.0", ATTR{vendor}=="0x8086", ATTR{device}=="0x9ded", )"
    R"(ATTR{power/wakeup}="disabled")";

class Tree {
 public:
  Tree() {
    fs::copy(testing::fixturePath("system/thinkpad-s2idle"), root(),
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  }
  fs::path root() const { return dir_ / "root"; }
  fs::path operator()(std::string_view absolute) const { return root() / fs::path(absolute).relative_path(); }
  std::string read(std::string_view absolute) const {
    return fs::exists((*this)(absolute)) ? testing::readFile((*this)(absolute)) : "(none)";
  }
  Outcome run(std::vector<std::string> arguments, bool pkexec = false) const {
    return helper::run({std::move(arguments), root().string(), pkexec});
  }
  // Every file of the tree (and of the folder beside it) with its contents or link target.
  std::map<std::string, std::string> snapshot() const {
    std::map<std::string, std::string> all;
    for (const auto& entry : fs::recursive_directory_iterator(dir_.path())) {
      const std::string key = entry.path().string();
      if (entry.is_symlink()) {
        all[key] = "-> " + fs::read_symlink(entry.path()).string();
      } else if (entry.is_regular_file()) {
        all[key] = testing::readFile(entry.path());
      } else {
        all[key] = "folder";
      }
    }
    return all;
  }
  const testing::TempDir& dir() const { return dir_; }

 private:
  testing::TempDir dir_;
};

TEST(HelperTest, EachOperationAndItsUndoChangeTheTreeAndItsBootTimeFilesAndPutThemBack) {
  Tree tree;
  Outcome deep = tree.run({"write", "/sys/power/mem_sleep", "deep", "keep"});
  ASSERT_EQ(deep.status, 0) << deep.message;
  EXPECT_EQ(deep.message, "deep → /sys/power/mem_sleep; kept after a restart by /etc/tmpfiles.d/snoozlet.conf");
  EXPECT_EQ(tree.read("/sys/power/mem_sleep"), "s2idle [deep]\n") << "written as the kernel shows it";
  const std::string tmpfiles = tree.read("/etc/tmpfiles.d/snoozlet.conf");
  EXPECT_TRUE(tmpfiles.ends_with("\n# /sys/power/mem_sleep\nw /sys/power/mem_sleep - - - - deep\n")) << tmpfiles;
  EXPECT_EQ(fs::status(tree("/etc/tmpfiles.d/snoozlet.conf")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);

  // An administrator's own rule in the helper's file stays through the change and its undo.
  testing::writeFile(tree("/etc/udev/rules.d/90-snoozlet.rules"), "# mine\nACTION==\"add\", KERNEL==\"x\"\n");
  ASSERT_EQ(tree.run({"write", kXhc, "disabled", "keep"}).status, 0);
  ASSERT_EQ(tree.run({"write", kXhc, "disabled", "keep"}).status, 0) << "keeping twice";
  EXPECT_EQ(tree.read(kXhc), "disabled\n");
  EXPECT_EQ(tree.read("/etc/udev/rules.d/90-snoozlet.rules"),
            "# mine\nACTION==\"add\", KERNEL==\"x\"\n# " + kXhc + "\n" + kRule + "\n");

  ASSERT_EQ(tree.run({"write", kXhc, "enabled", "forget"}).status, 0);
  const Outcome back = tree.run({"write", "/sys/power/mem_sleep", "s2idle", "forget"});
  ASSERT_EQ(back.status, 0) << back.message;
  EXPECT_EQ(back.message, "s2idle → /sys/power/mem_sleep; removed from /etc/tmpfiles.d/snoozlet.conf");
  EXPECT_EQ(tree.read("/sys/power/mem_sleep"), "[s2idle] deep\n");
  EXPECT_EQ(tree.read(kXhc), "enabled\n");
  EXPECT_EQ(tree.read("/etc/tmpfiles.d/snoozlet.conf"), "(none)") << "nothing of the helper's is left";
  EXPECT_EQ(tree.read("/etc/udev/rules.d/90-snoozlet.rules"), "# mine\nACTION==\"add\", KERNEL==\"x\"\n");
}

TEST(HelperTest, RefusesHostileRequestsWithAClearMessageAndTouchesNothing) {
  Tree tree;
  const testing::TempDir outside;
  testing::writeFile(outside / "power" / "wakeup", "enabled\n");
  fs::create_directory_symlink(outside.path(), tree("/sys/devices/elsewhere"));
  fs::remove(tree("/sys/devices/pci0000:00/0000:00:1f.6/power/wakeup"));
  fs::create_symlink(outside / "power" / "wakeup", tree("/sys/devices/pci0000:00/0000:00:1f.6/power/wakeup"));
  const auto before = tree.snapshot();
  const auto outsideBefore = testing::readFile(outside / "power" / "wakeup");

  const struct {
    std::vector<std::string> arguments;
    bool pkexec;
    int status;
    std::string says;
  } cases[] = {
      {{"write", "/sys/devices/../../etc/power/wakeup", "disabled", "keep"}, false, 2, "not a file snoozlet-helper"},
      {{"write", "/sys/devices/elsewhere/power/wakeup", "disabled", "keep"},
       false,
       2,
       "/sys/devices/elsewhere is a symbolic link"},
      {{"write", "/sys/devices/pci0000:00/0000:00:1f.6/power/wakeup", "disabled", "keep"},
       false,
       2,
       "wakeup is a symbolic link"},
      {{"write", "/sys/devices/pci0000:00/0000:00:14.0\n/power/wakeup", "disabled", "keep"},
       false,
       2,
       "0000:00:14.0\\x0a/power"},
      {{"write", "/sys/devices/pci0000:00/0000:00:14.0\"/power/wakeup", "disabled", "keep"}, false, 2, "not a file"},
      {{"write", "/sys/devices/pci0000:00/0000:00:15.0/power/wakeup", "disabled", "keep"},
       false,
       2,
       "0000:00:15.0 does not exist"},
      {{"write", "/sys/power/mem_sleep", "mem", "keep"}, false, 2, "not a value /sys/power/mem_sleep takes: 'mem'"},
      {{"write", "/sys/power/mem_sleep", "shallow", "keep"}, false, 2, "does not offer shallow sleep"},
      {{"write", kXhc, "disabled\nw /etc/shadow", "keep"}, false, 2, "'disabled\\x0aw /etc/shadow'"},
      {{"write", kXhc, "disabled", "always"}, false, 2, "neither keep nor forget"},
      {{"write", kXhc, "disabled"}, false, 2, "usage: snoozlet-helper write FILE VALUE keep|forget"},
      {{"remove", kXhc, "disabled", "keep"}, false, 2, "usage:"},
      {{"write", kXhc, "disabled", "keep"}, true, 2, "started through pkexec"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = tree.run(c.arguments, c.pkexec);
    EXPECT_EQ(outcome.status, c.status) << c.says;
    EXPECT_THAT(outcome.message, HasSubstr(c.says));
    EXPECT_THAT(outcome.message, Not(HasSubstr("\n"))) << "one line, whatever the arguments held";
  }
  // The helper's own folder under /etc led elsewhere: refused before the value is written.
  fs::create_directories(tree("/etc/udev"));
  fs::create_directory_symlink(outside.path(), tree("/etc/udev/rules.d"));
  const Outcome linked = tree.run({"write", kXhc, "disabled", "keep"});
  EXPECT_EQ(linked.status, 2);
  EXPECT_THAT(linked.message, HasSubstr("/etc/udev/rules.d is a symbolic link"));
  fs::remove(tree("/etc/udev/rules.d"));
  fs::remove(tree("/etc/udev"));

  EXPECT_EQ(tree.snapshot(), before);
  EXPECT_EQ(testing::readFile(outside / "power" / "wakeup"), outsideBefore);
}

TEST(HelperTest, TheProgramReadsItsRootOnlyWhenPkexecDidNotStartIt) {
  Tree tree;
  const std::string program = testing::builtProgram("Snoozlet/snoozlet-helper").string();
  const std::string out = (tree.dir() / "out").string();
  const auto run = [&](const std::string& environment) {
    const int status =
        std::system((environment + " " + program + " write /sys/power/mem_sleep deep keep >" + out + " 2>&1").c_str());
    return WEXITSTATUS(status);
  };
  const std::string root = "SNOOZLET_SYSTEM_ROOT=" + tree.root().string();
  EXPECT_EQ(run("env -u PKEXEC_UID PKEXEC_UID=1000 " + root), 2);
  EXPECT_THAT(testing::readFile(out), HasSubstr("snoozlet-helper: started through pkexec"));
  EXPECT_EQ(tree.read("/sys/power/mem_sleep"), "[s2idle] deep\n");
  EXPECT_EQ(run("env -u PKEXEC_UID " + root), 0) << testing::readFile(out);
  EXPECT_EQ(tree.read("/sys/power/mem_sleep"), "s2idle [deep]\n");
}

TEST(HelperTest, KeepFilesReplaceAndRemoveOnlyTheirOwnEntries) {
  std::string text = keep_file::withEntry("", "/sys/power/mem_sleep", "w /sys/power/mem_sleep - - - - deep");
  EXPECT_FALSE(keep_file::onlyHeader(text));
  text = keep_file::withEntry(text, "/sys/power/mem_sleep", "w /sys/power/mem_sleep - - - - shallow");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4) << text;
  EXPECT_THAT(text, HasSubstr("# /sys/power/mem_sleep\nw /sys/power/mem_sleep - - - - shallow\n"));
  EXPECT_TRUE(keep_file::onlyHeader(keep_file::withoutEntry(text, "/sys/power/mem_sleep")));
  // A marker without its line, or someone else's comment, is not an entry.
  const std::string odd = "# /sys/power/mem_sleep\n# note\n";
  EXPECT_EQ(keep_file::withoutEntry(odd, "/sys/power/mem_sleep"), odd);
}

}  // namespace
}  // namespace snoozlet::helper
