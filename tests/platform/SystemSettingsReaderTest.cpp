// A Linux laptop's settings read from trees made from real listings, and its
// changes run through the built helper on a copy of one.

#include "platform/Process.h"
#include "platform/linux/HelperRunner.h"
#include "platform/linux/SystemSettingsReader.h"
#include "settings/SystemFixes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace snoozlet {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;

SystemRoot tree(std::string_view name) { return SystemRoot(testing::fixturePath("system/" + std::string(name))); }

TEST(SystemSettingsReaderTest, ReadsTheSleepStateTheDevicesAllowedToWakeItHibernationAndNetworkCards) {
  const SystemSettings mac = readSystemSettings(tree("macbook-usb-wifi"));
  EXPECT_EQ(mac.memSleep, "deep");
  EXPECT_THAT(mac.memSleepModes, ElementsAre("s2idle", "deep"));
  ASSERT_EQ(mac.wakeDevices.size(), 3u);
  EXPECT_EQ(mac.wakeDevices[0], (WakeDevice{"LNXSYSTM:00/LNXSYBUS:00/PNP0C0D:00", "PNP0C0D:00", "acpi", "", "", "LID0",
                                            "enabled", "", ""}));
  EXPECT_EQ(mac.wakeDevices[1], (WakeDevice{"pci0000:00/0000:00:14.0", "0000:00:14.0", "pci", "xhci_hcd", "0x0c0330",
                                            "XHC1", "enabled", "0x8086", "0x9d2f"}));
  EXPECT_EQ(mac.wakeDevices[2].wakeupFile(), "/sys/devices/pci0000:00/0000:00:1c.0/0000:02:00.0/power/wakeup");
  EXPECT_EQ(mac.wakeDevices[2].acpiName, "ARPT");

  const SystemSettings t440 = readSystemSettings(tree("t440-deep"));
  // The USB controller and the Ethernet card are not allowed to wake it.
  EXPECT_THAT(t440.wakeDevices,
              ElementsAre(Field(&WakeDevice::name, "PNP0C0D:00"), Field(&WakeDevice::name, "PNP0C0E:00"),
                          Field(&WakeDevice::name, "0000:00:1c.1"), Field(&WakeDevice::name, "0000:03:00.0")));
  EXPECT_EQ(
      t440.hibernation,
      (HibernationState{{"platform", "shutdown", "reboot", "suspend"}, "0:0", 8269820ull * 1024, 7990796ull * 1024}));
  EXPECT_EQ(t440.networkWake, (std::vector<NetworkWake>{{"enp0s25", false, "disabled"}, {"wlp3s0", true, "enabled"}}));
  EXPECT_FALSE(t440.logind) << "logind's part comes over D-Bus";

  // A tree without the files reads as nothing, not as an error.
  const testing::TempDir empty;
  EXPECT_EQ(readSystemSettings(SystemRoot(empty.path())), SystemSettings{});
}

class Copy {
 public:
  explicit Copy(std::string_view name) {
    fs::copy(testing::fixturePath("system/" + std::string(name)), dir_ / "root",
             fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  }
  SystemRoot root() const { return SystemRoot(dir_ / "root"); }
  const testing::TempDir& dir() const { return dir_; }

 private:
  testing::TempDir dir_;
};

TEST(SystemSettingsReaderTest, TheHelperRunnerRunsEachChangeThroughTheHelperAndStopsAtTheFirstFailure) {
  const Copy copy("macbook-usb-wifi");
  SystemSettings settings = readSystemSettings(copy.root());
  settings.memSleep = "s2idle";  // as if it slept in s2idle, so that deep sleep is a change
  const FixPlan plan = SystemFixes::plan(
      {{SystemFix::Kind::wakeupOff, "0000:00:14.0"}, {SystemFix::Kind::wakeupOff, "0000:02:00.0"}}, settings);
  ASSERT_EQ(plan.system.size(), 2u);
  const std::string helper = testing::builtProgram("Snoozlet/snoozlet-helper").string();
  HelperRunner direct(nullptr, {helper, false, "pkexec", copy.root()});
  EXPECT_THAT(direct.commandLine(plan.system[0]).value(),
              ElementsAre(helper, "write", "/sys/devices/pci0000:00/0000:00:14.0/power/wakeup", "disabled", "keep"));
  ASSERT_TRUE(direct.run(plan));
  const SystemValues after = readSystemValues(copy.root(), plan.system);
  EXPECT_EQ(SystemFixes::stillApplied(plan.system, after),
            (std::map<std::string, bool>{{plan.system[0].file, true}, {plan.system[1].file, true}}));
  EXPECT_THAT(testing::readFile(copy.root()("/etc/udev/rules.d/90-snoozlet.rules")),
              HasSubstr("ATTR{vendor}==\"0x14e4\", ATTR{device}==\"0x43a3\""));

  // The undo's first change fails in the helper: its message, and the second never runs.
  FixPlan back{{}, {}, SystemFixes::undo(plan.system), {}};
  fs::remove(copy.root()("/sys/devices/pci0000:00/0000:00:1c.0/0000:02:00.0/power/wakeup"));
  const RunResult failed = direct.run(back);
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error(),
            RunFailure::script("/sys/devices/pci0000:00/0000:00:1c.0/0000:02:00.0/power/wakeup does not exist"));
  EXPECT_EQ(readSystemValues(copy.root(), plan.system).at(plan.system[0].file), "disabled");

  // Through pkexec: a dismissed dialog is `cancelled`; a refused value runs nothing at all.
  const fs::path dismissed = copy.dir() / "pkexec";
  testing::writeFile(dismissed, "#!/bin/sh\necho 'Request dismissed' >&2\nexit 126\n");
  fs::permissions(dismissed, fs::perms::owner_all);
  HelperRunner elevated(nullptr, {helper, true, dismissed.string(), SystemRoot()});
  EXPECT_EQ(elevated.run(back).error(), RunFailure::cancelled());
  back.system[0].target = "on";
  EXPECT_THAT(direct.run(back).error().message, HasSubstr("snoozlet-helper does not write 'on'"));

  // The helper is the one $SNOOZLET_HELPER names, else the installed one, else the one beside this program.
  EXPECT_EQ(HelperRunner::locate(), (Process::executableFolder() / "snoozlet-helper").string());
  const testing::ScopedEnv named("SNOOZLET_HELPER", helper.c_str());
  EXPECT_EQ(HelperRunner::locate(), helper);
}

}  // namespace
}  // namespace snoozlet
