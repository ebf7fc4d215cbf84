// The kernel's wake counts: the files' texts, what one sleep did between two
// snapshots, and the sources in words.

#include "journal/KernelCounts.h"

#include <gtest/gtest.h>

namespace snoozlet::kernel_counts {
namespace {

TEST(KernelCountsTest, FilesReadAsTheKernelWritesThem) {
  const auto acpi = parseAcpiWakeup(
      "Device\tS-state\t  Status   Sysfs node\n"
      "P0P1\t  S4\t*disabled  \n"
      "XHC\t  S3\t*enabled   pci:0000:00:14.0\n"
      "LID\t  S4\t*enabled   platform:PNP0C0D:00\n"
      "HDEF\t  S0\t*disabled  pci:0000:00:1b.0\n"
      "garbage line\n");
  ASSERT_EQ(acpi.size(), 3u);
  EXPECT_EQ(acpi[0], (AcpiWakeup{"XHC", "S3", true, "pci", "0000:00:14.0"}));
  EXPECT_EQ(acpi[1].device, "PNP0C0D:00");
  EXPECT_FALSE(acpi[2].enabled);

  EXPECT_EQ(currentMemSleep("[s2idle] deep\n"), "s2idle");
  EXPECT_EQ(currentMemSleep("s2idle [deep]"), "deep");
  EXPECT_EQ(currentMemSleep("s2idle deep"), "");
  EXPECT_EQ(memSleepModes("s2idle shallow [deep]\n"), (std::vector<std::string>{"s2idle", "shallow", "deep"}));

  EXPECT_EQ(parseCount(" 27348210\n"), 27348210u);
  for (const char* bad : {"", "-1", "12 s", "0x10", "99999999999999999999999"}) EXPECT_FALSE(parseCount(bad)) << bad;
}

WakeupSource source(std::string name, std::string device, std::uint64_t wakeups, std::uint64_t events) {
  return {.name = std::move(name), .device = std::move(device), .eventCount = events, .wakeupCount = wakeups};
}

TEST(KernelCountsTest, ASleepIsWhatRoseBetweenTheTwoSnapshots) {
  KernelSnapshot before{
      .taken = 1000,
      .sources = {source("0000:00:14.0", "0000:00:14.0", 17, 302), source("PNP0C0D:00", "PNP0C0D:00", 0, 58),
                  source("0000:05:00.0", "0000:05:00.0", 11, 96), source("gone", "gone", 4, 4)},
      .stats = {.success = 412, .fail = 3, .totalHwSleep = 3391870512},
      .memSleep = "s2idle"};
  KernelSnapshot after = before;
  after.taken = 30000;
  after.sources = {source("0000:05:00.0", "0000:05:00.0", 14, 99), source("PNP0C0D:00", "PNP0C0D:00", 0, 60),
                   source("0000:00:14.0", "0000:00:14.0", 23, 310), source("new", "new", 9, 9)};
  after.stats = {.success = 413, .fail = 3, .totalHwSleep = 3391870512 + 3480000000};

  const SleepCounts counts = between(before, after);
  EXPECT_EQ(counts.slept, 1000);
  EXPECT_EQ(counts.resumed, 30000);
  EXPECT_EQ(counts.memSleep, "s2idle");
  // Most wakes first; the lid's events without a wake, a source only one
  // snapshot has: left out.
  ASSERT_EQ(counts.sources.size(), 2u);
  EXPECT_EQ(counts.sources[0].name, "0000:00:14.0");
  EXPECT_EQ(counts.sources[0].wakeups, 6u);
  EXPECT_EQ(counts.sources[0].events, 8u);
  EXPECT_EQ(counts.sources[1].wakeups, 3u);
  EXPECT_DOUBLE_EQ(*counts.hardwareSleep, 3480);
  EXPECT_EQ(counts.suspends, 1u);
  EXPECT_EQ(counts.failures, 0u);

  // A reboot between the reads puts the counters back: nothing is claimed.
  KernelSnapshot rebooted = after;
  for (WakeupSource& s : rebooted.sources) s.wakeupCount = 0;
  rebooted.stats = {.success = 0, .fail = 0, .totalHwSleep = 0};
  const SleepCounts after_reboot = between(before, rebooted);
  EXPECT_TRUE(after_reboot.sources.empty());
  EXPECT_EQ(after_reboot.hardwareSleep, 0.0);
  // A kernel before 6.5 counts no hardware sleep.
  before.stats.totalHwSleep.reset();
  EXPECT_FALSE(between(before, after).hardwareSleep);
}

TEST(KernelCountsTest, SourcesInWords) {
  struct Row {
    SourceWakes source;
    std::string english, turkish;
    WakeCategory category;
  };
  const std::vector<Row> rows = {
      {{.name = "PNP0C0D:00", .device = "PNP0C0D:00"}, "Lid", "Kapak", WakeCategory::lid},
      {{.name = "PNP0C0C:00"}, "Power button", "Güç düğmesi", WakeCategory::user},
      {{.name = "LNXPWRBN:00"}, "Power button", "Güç düğmesi", WakeCategory::user},
      {{.name = "0000:00:14.0", .driver = "xhci_hcd", .acpiName = "XHC"},
       "USB controller (XHC)",
       "USB denetleyicisi (XHC)",
       WakeCategory::usb},
      {{.name = "0000:00:14.0", .pciClass = "0x0c0330"}, "USB controller", "USB denetleyicisi", WakeCategory::usb},
      {{.name = "0000:05:00.0", .driver = "iwlwifi", .acpiName = "PXSX"}, "Wi-Fi", "Wi-Fi", WakeCategory::network},
      {{.name = "ACPI0003:00"}, "Charger", "Şarj aleti", WakeCategory::power},
      {{.name = "alarmtimer.0.auto"}, "Real-time clock alarm", "Gerçek zamanlı saat alarmı", WakeCategory::scheduled},
      {{.name = "0000:00:1f.6", .pciClass = "0x020000"}, "Ethernet", "Ethernet", WakeCategory::networkAccess},
      {{.name = "1-3", .device = "1-3"}, "USB device", "USB aygıtı", WakeCategory::usb},
      {{.name = "PNP0C09:00"}, "Embedded controller (EC)", "Gömülü denetleyici (EC)", WakeCategory::unknown},
      {{.name = "0000:00:1c.0", .acpiName = "RP01"},
       "0000:00:1c.0 (RP01)",
       "0000:00:1c.0 (RP01)",
       WakeCategory::unknown},
      {{.name = "amd_pmc"}, "amd_pmc", "amd_pmc", WakeCategory::unknown},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(label(row.source, Language::english), row.english) << row.source.name;
    EXPECT_EQ(label(row.source, Language::turkish), row.turkish) << row.source.name;
    EXPECT_EQ(category(row.source), row.category) << row.source.name;
  }
}

}  // namespace
}  // namespace snoozlet::kernel_counts
