// The application model over a Linux laptop's journal: each refresh reads the
// entries written since the last one, and the nights are archived as any.

#include "ModelHarness.h"
#include "archive/NightArchive.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(AppModelJournalTest, RefreshesReadTheJournalAsItGrowsAndArchiveItsNights) {
  testing::ModelHarness h;
  const std::string text = testing::readFile(testing::fixturePath("journal/laptop-s2idle-week.export"));
  // Journald has written up to the second night's failed attempt.
  const auto cut = text.find("\n\n", text.find("Failed to put system to sleep")) + 2;
  const auto folder = h.dir / "journal";
  std::filesystem::create_directories(folder);
  testing::writeJournal(folder / "system@0001.journal", text.substr(0, cut));

  AppModel::Options options;
  options.timeZone = *TimeZone::named("Europe/London");
  options.clock = [] { return 1796400000.0; };
  options.systemRoot = SystemRoot(testing::fixturePath("system/t440-deep"));
  h.model = std::make_unique<AppModel>(h.settings, nullptr, Storage::in(h.dir / "data"),
                                       PowerDataSource::journal({folder, folder}, nullptr), options);
  EXPECT_EQ(h.model->nightSource(), NightSource::journal);
  ASSERT_TRUE(h.refresh());
  ASSERT_TRUE(h.model->analysis());
  EXPECT_EQ(h.model->analysis()->reports.size(), 1u);
  // No pmset settings on Linux: the laptop's own, read under its system root.
  ASSERT_TRUE(h.model->systemSettings());
  ASSERT_FALSE(h.model->findings().empty());
  EXPECT_EQ(h.model->findings().front().key, "memSleep");
  EXPECT_EQ(h.model->findings().front().value, "deep");
  EXPECT_FALSE(h.model->systemFixFor("memSleep")) << "deep sleep is in use already";

  // The tray application kept the kernel's counts of the first night's first
  // sleep, announced a second before systemd-sleep dated the night.
  const Instant first = h.model->analysis()->reports[0].start();
  SleepCounts counted{.slept = first - 1, .resumed = first + 7000, .memSleep = "s2idle", .hardwareSleep = 840};
  counted.sources = {{"0000:00:14.0", "0000:00:14.0", "xhci_hcd", "0x0c0330", "XHC", 4, 4}};
  ASSERT_TRUE((*NightArchive::open(h.dir / "data/nights.sqlite"))->storeSleep(counted).ok());

  testing::writeJournal(folder / "system.journal", text.substr(cut));
  ASSERT_TRUE(h.refresh());
  const NightReport& night = h.model->analysis()->reports[0];
  EXPECT_EQ(night.kernelSleeps, std::vector<SleepCounts>{counted});
  EXPECT_TRUE(h.model->analysis()->reports[1].kernelSleeps.empty()) << "nothing read around it, nothing claimed";
  // Told without a battery reading (UPower kept none) and with the kernel's count.
  EXPECT_EQ(h.model->morningText(night).find("charger"), std::string::npos) << h.model->morningText(night);
  EXPECT_NE(h.model->morningText(night).find("mostly from the USB controller (XHC); I was in hardware sleep for 12%"),
            std::string::npos)
      << h.model->morningText(night);
  ASSERT_EQ(h.model->analysis()->reports.size(), 3u);
  EXPECT_EQ(h.model->analysis()->reports[1].session.failures.size(), 2u);
  EXPECT_EQ(h.model->analysis()->reports[2].session.ending.kind(), SessionEnd::Kind::shutdown);
  EXPECT_EQ(h.model->history().size(), 3u) << "every night archived once";
}

}  // namespace
}  // namespace snoozlet
