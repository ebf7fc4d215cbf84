// A Linux laptop's fixes: what the helper accepts, what is offered and
// planned against the settings read, and how the journal keeps the changes.

#include "settings/DryRunRunner.h"
#include "settings/FixJournal.h"
#include "settings/HelperCommand.h"
#include "settings/SystemFixes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace snoozlet {
namespace {

namespace hc = helper_command;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::string kXhcFile = "/sys/devices/pci0000:00/0000:00:14.0/power/wakeup";
const std::string kXhcRule =
    R"(ACTION=="add", SUBSYSTEM=="pci", KERNEL=="0000:00:14.0", ATTR{vendor}=="0x8086", ATTR{device}=="0xa36d", )"
    R"(ATTR{power/wakeup}="disabled")";

// A laptop in s2idle that offers deep sleep, with its USB controller, lid,
// Wi-Fi card and a USB mouse allowed to wake it.
SystemSettings laptop() {
  SystemSettings s;
  s.memSleep = "s2idle";
  s.memSleepModes = {"s2idle", "deep"};
  s.wakeDevices = {
      {"pci0000:00/0000:00:14.0", "0000:00:14.0", "pci", "xhci_hcd", "0x0c0330", "XHC", "enabled", "0x8086", "0xa36d"},
      {"LNXSYSTM:00/LNXSYBUS:00/PNP0C0D:00", "PNP0C0D:00", "acpi", "", "", "LID", "enabled", "", ""},
      {"pci0000:00/0000:00:1d.0/0000:05:00.0", "0000:05:00.0", "pci", "iwlwifi", "0x028000", "PXSX", "enabled",
       "0x8086", "0x2723"},
      {"pci0000:00/0000:00:14.0/usb1/1-3", "1-3", "usb", "usb", "", "", "enabled", "046d", "c52b"},
  };
  return s;
}

std::vector<SourceWakes> woke(std::initializer_list<std::pair<const char*, std::uint64_t>> counts) {
  std::vector<SourceWakes> out;
  for (const auto& [device, n] : counts) out.push_back({device, device, "", "", "", n, n});
  return out;
}

TEST(SystemFixesTest, TheHelperTakesOnlyItsFilesValuesAndLines) {
  EXPECT_EQ(hc::fileKind("/sys/power/mem_sleep"), hc::FileKind::memSleep);
  EXPECT_EQ(hc::fileKind(kXhcFile), hc::FileKind::wakeup);
  EXPECT_EQ(hc::fileKind("/sys/devices/LNXSYSTM:00/LNXSYBUS:00/PNP0C0D:00/power/wakeup"), hc::FileKind::wakeup);
  for (const char* hostile :
       {"/sys/devices/../../etc/power/wakeup", "/sys/devices/./power/wakeup", "/sys/devices//power/wakeup",
        "/sys/devices/power/wakeup", "/sys/devices/a b/power/wakeup", "/sys/devices/a\n/power/wakeup",
        "/sys/devices/a\"/power/wakeup", "/sys/power/state", "/sys/devices/pci0000:00/power/control",
        "sys/power/mem_sleep", "/sys/power/mem_sleep/"}) {
    EXPECT_FALSE(hc::fileKind(hostile)) << hostile;
  }
  EXPECT_TRUE(hc::allowedValue(hc::FileKind::memSleep, "deep"));
  EXPECT_FALSE(hc::allowedValue(hc::FileKind::memSleep, "mem"));
  EXPECT_FALSE(hc::allowedValue(hc::FileKind::wakeup, "deep"));
  EXPECT_FALSE(hc::allowedValue(hc::FileKind::wakeup, "disabled\n"));

  EXPECT_EQ(hc::tmpfilesLine("/sys/power/mem_sleep", "deep").value(), "w /sys/power/mem_sleep - - - - deep");
  EXPECT_FALSE(hc::tmpfilesLine("/sys/power/mem_sleep", "deep\nw /etc/shadow"));
  EXPECT_EQ(hc::udevRule({"pci", "0000:00:14.0", "0x8086", "0xa36d"}, "disabled").value(), kXhcRule);
  EXPECT_EQ(hc::udevRule({"usb", "1-3", "046d", "c52b"}, "disabled").value(),
            R"(ACTION=="add", SUBSYSTEM=="usb", ATTR{idVendor}=="046d", ATTR{idProduct}=="c52b", )"
            R"(ATTR{power/wakeup}="disabled")");
  EXPECT_EQ(hc::udevRule({"acpi", "PNP0C0A:00", "", ""}, "enabled").value(),
            R"(ACTION=="add", SUBSYSTEM=="acpi", KERNEL=="PNP0C0A:00", ATTR{power/wakeup}="enabled")");
  for (const hc::DeviceIdentity& bad : std::vector<hc::DeviceIdentity>{{"pci", "0000:00:14.0", "8086", "0xa36d"},
                                                                       {"usb", "1-3", "046D", "c52b"},
                                                                       {"pci\"", "x", "0x8086", "0xa36d"},
                                                                       {"acpi", "a\"b", "", ""},
                                                                       {"", "PNP0C0A:00", "", ""}}) {
    EXPECT_FALSE(hc::udevRule(bad, "disabled")) << bad.subsystem << " " << bad.kernel;
  }
  SystemChange change{SystemFix::Kind::wakeupOff, kXhcFile, "enabled", "disabled", {}, {}, {}, {}, {}, {}, false};
  EXPECT_EQ(hc::commandText(change).value(), "snoozlet-helper write " + kXhcFile + " disabled forget");
  change.target = "disabled; reboot";
  EXPECT_FALSE(hc::arguments(change));
}

TEST(SystemFixesTest, OffersAndPlansDeepSleepAndTheDevicesThatWokeItButNeverTheLid) {
  const SystemSettings s = laptop();
  const auto wakes = woke({{"0000:00:14.0", 6}, {"PNP0C0D:00", 4}, {"1-3", 1}});
  std::vector<std::string> ids;
  for (const SystemFix& fix : SystemFixes::available(s, wakes)) ids.push_back(fix.id());
  EXPECT_THAT(ids, ElementsAre("deepSleep", "wakeupOff:0000:00:14.0", "wakeupOff:1-3")) << "Wi-Fi never woke it";

  const FixPlan plan = SystemFixes::plan({*SystemFix::fromId("deepSleep"), *SystemFix::fromId("wakeupOff:0000:00:14.0"),
                                          *SystemFix::fromId("wakeupOff:PNP0C0D:00"),
                                          *SystemFix::fromId("wakeupOff:9-9"), *SystemFix::fromId("deepSleep")},
                                         s);
  ASSERT_EQ(plan.system.size(), 2u);
  EXPECT_EQ(plan.system[0], (SystemChange{SystemFix::Kind::deepSleep, "/sys/power/mem_sleep", "s2idle", "deep",
                                          "/etc/tmpfiles.d/snoozlet.conf", "w /sys/power/mem_sleep - - - - deep"}));
  EXPECT_EQ(plan.system[1], (SystemChange{SystemFix::Kind::wakeupOff, kXhcFile, "enabled", "disabled",
                                          "/etc/udev/rules.d/90-snoozlet.rules", kXhcRule, "0000:00:14.0", "xhci_hcd",
                                          "0x0c0330", "XHC"}));
  EXPECT_EQ(plan.systemSkipped,
            (std::map<std::string, FixPlan::Skip>{{"wakeupOff:PNP0C0D:00", FixPlan::Skip::notSupported},
                                                  {"wakeupOff:9-9", FixPlan::Skip::notSupported}}));
  EXPECT_FALSE(SystemFix::fromId("wakeupOff:"));
  EXPECT_FALSE(SystemFix::fromId("deep"));

  SystemSettings deep = s;
  deep.memSleep = "deep";
  EXPECT_EQ(SystemFixes::plan({{SystemFix::Kind::deepSleep, {}}}, deep).systemSkipped.at("deepSleep"),
            FixPlan::Skip::alreadySet);
  deep.memSleepModes = {"s2idle"};
  deep.memSleep = "s2idle";
  EXPECT_EQ(SystemFixes::plan({{SystemFix::Kind::deepSleep, {}}}, deep).systemSkipped.at("deepSleep"),
            FixPlan::Skip::notSupported);

  // The undo runs last first, puts the old values back and forgets the lines.
  const std::vector<SystemChange> back = SystemFixes::undo(plan.system);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].file, kXhcFile);
  EXPECT_EQ(back[0].target, "enabled");
  EXPECT_FALSE(back[0].keep);
  EXPECT_EQ(hc::commandText(back[1]).value(), "snoozlet-helper write /sys/power/mem_sleep s2idle forget");
  EXPECT_EQ(SystemFixes::stillApplied(plan.system, {{"/sys/power/mem_sleep", "deep"}, {kXhcFile, "enabled"}}),
            (std::map<std::string, bool>{{"/sys/power/mem_sleep", true}, {kXhcFile, false}}));

  DryRunRunner dryRun;
  ASSERT_TRUE(dryRun.run(plan));
  EXPECT_THAT(dryRun.scripts(), ElementsAre("snoozlet-helper write /sys/power/mem_sleep deep keep && snoozlet-helper "
                                            "write " +
                                            kXhcFile + " disabled keep"));

  EXPECT_EQ(SystemFixes::texts(plan.system[1], Language::english).title,
            "Don’t let the USB controller (XHC) wake the laptop");
  EXPECT_EQ(SystemFixes::texts(plan.system[1], Language::turkish).title,
            "USB denetleyicisi (XHC) dizüstünü uyandırmasın");
  EXPECT_THAT(SystemFixes::texts({SystemFix::Kind::wakeupOff, "1-3"}, s, Language::english).giveUp,
              HasSubstr("USB keyboards, mice"));
}

TEST(SystemFixesTest, TheJournalKeepsLinuxChangesBesideAnEmptyPmsetListAndSettlesThemFromTheFiles) {
  const SystemChange deep{
      SystemFix::Kind::deepSleep,           "/sys/power/mem_sleep", "s2idle", "deep", "/etc/tmpfiles.d/snoozlet.conf",
      "w /sys/power/mem_sleep - - - - deep"};
  const SystemChange xhc{SystemFix::Kind::wakeupOff,
                         kXhcFile,
                         "enabled",
                         "disabled",
                         "/etc/udev/rules.d/90-snoozlet.rules",
                         kXhcRule,
                         "0000:00:14.0",
                         "xhci_hcd",
                         "",
                         "XHC"};
  FixJournal journal;
  const std::string id = journal.begin({}, 1796540700, false, {deep, xhc});
  const std::string text = journal.encode();
  EXPECT_THAT(text, HasSubstr("\"changes\": [],"));
  EXPECT_THAT(text, HasSubstr(R"("keepLine": "ACTION==\"add\", SUBSYSTEM==\"pci\")"));
  EXPECT_EQ(FixJournal::decode(text), journal);
  EXPECT_FALSE(FixJournal::decode(testing::readFile(testing::fixturePath("system/SOURCES.md"))));
  std::string unknown = text;
  unknown.replace(unknown.find("\"wakeupOff\""), 11, "\"wakeupOn\"");
  EXPECT_FALSE(FixJournal::decode(unknown)) << "an unknown Linux fix spoils the file as an unknown pmset fix does";

  // pmset's settings never decide a Linux record; the files do.
  EXPECT_TRUE(journal.hasPending(true));
  EXPECT_FALSE(journal.hasPending(false));
  EXPECT_FALSE(journal.settle(PowerSettings{}, 1796544300));
  EXPECT_TRUE(journal.settle(SystemValues{{"/sys/power/mem_sleep", "deep"}, {kXhcFile, "enabled"}}, 1796544300));
  ASSERT_EQ(journal.records.size(), 1u);
  EXPECT_EQ(journal.records[0].system, std::vector<SystemChange>{deep}) << "only what took is kept";
  EXPECT_FALSE(journal.records[0].pending);

  const auto plan = journal.undoPlan(id);
  ASSERT_TRUE(plan);
  EXPECT_TRUE(plan->changes.empty());
  EXPECT_EQ(plan->system, SystemFixes::undo({deep}));
  ASSERT_TRUE(journal.beginUndo(id));
  EXPECT_TRUE(journal.settle(SystemValues{{"/sys/power/mem_sleep", "deep"}}, 1796547900));
  EXPECT_FALSE(journal.records[0].undoneAt) << "still in deep sleep: the undo did not take";
  ASSERT_TRUE(journal.beginUndo(id));
  EXPECT_TRUE(journal.settle(SystemValues{{"/sys/power/mem_sleep", "s2idle"}}, 1796547900));
  EXPECT_EQ(journal.records[0].undoneAt, 1796547900);
}

TEST(SystemFixesTest, SwapAndMemoryAreReadFromProc) {
  EXPECT_EQ(system_text::swapBytes("Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
                                   "/dev/nvme0n1p3                          partition\t16777212\t0\t\t-2\n"
                                   "/swapfile                               file\t\t2097148\t\t0\t\t-3\n"),
            (16777212ull + 2097148ull) * 1024);
  EXPECT_EQ(system_text::swapBytes("Filename\tType\tSize\tUsed\tPriority\n"), 0u);
  EXPECT_EQ(system_text::memoryBytes("MemTotal:       16108388 kB\nMemFree:         1024 kB\n"), 16108388ull * 1024);
  EXPECT_EQ(system_text::memoryBytes("MemFree: 1 kB\n"), 0u);
}

}  // namespace
}  // namespace snoozlet
