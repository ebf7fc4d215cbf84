// The rows of the pages and the sidebar: history cells, the battery page's
// rows (each left out when missing), the sidebar's details, the drain
// strip's scale, and the settings page's list of changes.

#include "Nights.h"
#include "presentation/DrainStripLayout.h"
#include "presentation/PageRows.h"
#include "presentation/SettingsRows.h"

#include <gtest/gtest.h>

namespace snoozlet::presentation {
namespace {

using namespace snoozlet::testing;

TEST(PageRowsTest, HistoryRowsAndHeading) {
  ArchivedNight nap = archived(3, 7.5, 0.4);
  nap.kind = SleepKind::daytimeNap;
  nap.topCategory = WakeCategory::network;
  EXPECT_EQ(historyRow(nap, kEnglish),
            (HistoryRow{"Sat 5 Dec nap", "8 h", "12", "10 min", "−3 · 0.4/h", "Wi-Fi & Bluetooth", "Sound asleep"}));
  EXPECT_EQ(historyRow(nap, kTurkish).night, "5 Aralık Cmt şekerleme");
  EXPECT_EQ(historyRow(archived(3, 7.5, 0.4), kEnglish).mostly, "—");

  const HistoryHeading none = historyHeading({}, kEnglish);
  EXPECT_EQ(none.since, "This Mac");
  EXPECT_EQ(none.empty, "The first nights will appear here tomorrow morning.");
  const HistoryHeading some = historyHeading({archived(1, 8, 0.1), nap}, kTurkish);
  EXPECT_EQ(some.since, "Bu Mac · 5 Aralık Cumartesi tarihinden beri");
  EXPECT_FALSE(some.empty);
}

TEST(PageRowsTest, BatteryRowsLeaveOutWhatIsMissing) {
  const BatteryHealth b{.cycleCount = 312,
                        .designCycleCount = 1000,
                        .designCapacity = 5000,
                        .fullChargeCapacity = 4300,
                        .chargePercent = 78,
                        .temperatureCelsius = 30.46,
                        .voltage = 12.5,
                        .externalConnected = true};
  const Baseline normal{0.42, 0.05, 9};
  const auto rows = batteryRows(b, normal, kEnglish);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], (BatteryRow{"capacity", "86%", "of its original capacity",
                                 "Holds 4300 mAh when full; it was designed for 5000 mAh."}));
  EXPECT_EQ(rows[1], (BatteryRow{"cycles", "312", "charge cycles", "Apple rates this battery for 1000 cycles."}));
  EXPECT_EQ(rows[2], (BatteryRow{"charge", "78%", "charged now", "On the charger, not charging."}));
  EXPECT_EQ(rows[3].value, "30.5 °C");
  EXPECT_EQ(rows[4], (BatteryRow{"voltage", "12.50 V", "voltage", std::nullopt}));
  EXPECT_EQ(rows[5].detail, "The median of 9 battery nights in the log. Snoozlet compares every night with this.");
  EXPECT_EQ(batteryRows(b, normal, kTurkish)[0].value, "%86");
  EXPECT_EQ(batteryDetail(b, kEnglish), "86% capacity");

  // No design capacity: no capacity row, no sidebar detail.
  BatteryHealth partial{.cycleCount = 12, .fullChargeCapacity = 4300, .chargePercent = 50, .isCharging = true};
  EXPECT_EQ(batteryRows(partial, std::nullopt, kEnglish),
            (std::vector<BatteryRow>{{"cycles", "12", "charge cycles", std::nullopt},
                                     {"charge", "50%", "charged now", "Charging."}}));
  partial.designCapacity = 0;
  EXPECT_FALSE(batteryDetail(partial, kEnglish)) << "a design capacity below 1";

  EXPECT_TRUE(batteryRows(std::nullopt, normal, kEnglish).empty()) << "no battery, no normal either";
  EXPECT_FALSE(batteryDetail(std::nullopt, kEnglish));
  EXPECT_TRUE(batteryHeading(false, Language::english).noBattery);
  EXPECT_FALSE(batteryHeading(true, Language::english).noBattery);
}

TEST(PageRowsTest, SidebarDetailsAndLogSpan) {
  const auto finding = [](SettingStatus status) { return SettingFinding{"k", "t", "v", status, "s", std::nullopt}; };
  EXPECT_EQ(settingsDetail({}, Language::turkish, NightSource::journal), "Okunamadı");
  EXPECT_EQ(settingsDetail({finding(SettingStatus::attention)}, Language::english, NightSource::journal),
            "1 worth a look");
  EXPECT_EQ(settingsDetail({finding(SettingStatus::fine), finding(SettingStatus::info)}, Language::english),
            "All fine");
  EXPECT_EQ(settingsDetail(
                {finding(SettingStatus::consider), finding(SettingStatus::info), finding(SettingStatus::attention)},
                Language::english),
            "2 worth a look");
  EXPECT_EQ(historyDetail(12, Language::english), "12 sleeps");

  EXPECT_EQ(logSpan(std::nullopt, kEnglish), "Reading the sleep log…");
  SleepAnalysis analysis;
  EXPECT_EQ(logSpan(analysis, kEnglish), "The sleep log is empty");
  analysis.coveredFrom = kNightStart - 6 * 86400;
  analysis.coveredTo = kNightStart;
  EXPECT_EQ(logSpan(analysis, kEnglish), "Log from Sun 29 Nov to Sat 5 Dec");
}

TEST(PageRowsTest, DrainStripScalesToTheTallestBarOrTheNormal) {
  // Newest first in, oldest on the left.
  const std::vector<ArchivedNight> nights = {archived(8, 8, 1.0), archived(std::nullopt, 0, std::nullopt),
                                             archived(0, 8, 0.0), archived(4, 8, 0.5)};
  const DrainStripLayout strip = layoutDrainStrip(nights, Baseline{0.5, 0.1, 3}, kEnglish, {400, 100, 4});
  ASSERT_EQ(strip.bars.size(), 4u);
  EXPECT_EQ(strip.bars[0].rect, (Rect{2, 50, 96, 50}));
  EXPECT_EQ(strip.bars[1].rect.height, 0);
  EXPECT_FALSE(strip.bars[2].perHour);
  EXPECT_EQ(strip.bars[3].rect, (Rect{302, 0, 96, 100}));
  EXPECT_EQ(strip.bars[3].band, RatioBand::caution) << "twice the normal";
  EXPECT_EQ(strip.bars[0].band, RatioBand::ordinary);
  EXPECT_EQ(strip.referenceY, 50);
  EXPECT_EQ(strip.referenceLabel, "normal 0.5/h");
  EXPECT_EQ(strip.bars[3].label, "Sat 5 Dec · 1.0/h");
  EXPECT_EQ(strip.bars[2].label, "Sat 5 Dec · —");
  EXPECT_EQ(strip.summary, "Battery drain per night, Sat 5 Dec – Sat 5 Dec: highest 1.0/h on Sat 5 Dec, normal 0.5/h.");

  // Slots no wider than asked for, the newest night at the right edge.
  const DrainStripLayout narrow = layoutDrainStrip(nights, std::nullopt, kEnglish, {400, 100, 4, 20});
  EXPECT_EQ(narrow.bars[3].rect, (Rect{382, 0, 16, 100}));
  EXPECT_EQ(narrow.bars[0].rect.x, 400 - 4 * 20 + 2);

  const DrainStripLayout higher = layoutDrainStrip(nights, Baseline{2.0, 0.1, 3}, kTurkish, {400, 100, 4});
  EXPECT_DOUBLE_EQ(higher.bars[3].rect.height, 50) << "the normal can set the top";
  EXPECT_EQ(higher.referenceY, 0);
  EXPECT_EQ(higher.referenceLabel, "normal 2,0/sa");

  // A thousand nights in 300 points: the gap shrinks, the bars keep their slots.
  const std::vector<ArchivedNight> many(1000, archived(4, 8, 0.5));
  const DrainStripLayout dense = layoutDrainStrip(many, std::nullopt, kEnglish, {300, 80, 2});
  EXPECT_NEAR(dense.bars[999].rect.right() + 0.3 * 0.25 / 2, 300, 1e-9);
  EXPECT_FALSE(dense.referenceY);
  EXPECT_TRUE(layoutDrainStrip({}, std::nullopt, kEnglish, {}).bars.empty());
  EXPECT_EQ(layoutDrainStrip({archived(0, 8, 0.0)}, std::nullopt, kEnglish, {}).bars[0].rect.height, 0)
      << "nothing to scale to";
}

TEST(PageRowsTest, ChangesListNewestFirstWithoutUndoneRecords) {
  FixJournal journal;
  const PlannedChange nap{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"};
  const FixRecord first = journal.record({nap}, 1796549580, false);
  const FixRecord dry = journal.record({nap}, 1796553180, true);
  const FixRecord undone = journal.record({nap}, 1796556780, false);
  journal.markUndone(undone.id, 1796560380);
  const ChangesList list = changesList(journal, kEnglish);
  ASSERT_EQ(list.entries.size(), 2u);
  EXPECT_EQ(list.entries[0], (ChangeEntry{dry.id,
                                          "Sunday, 6 December 10:33",
                                          "dry run, nothing changed",
                                          "Sunday, 6 December 10:33 · dry run, nothing changed",
                                          {"Turn off Power Nap on battery: powernap 1 → 0 (battery)"}}));
  EXPECT_EQ(list.entries[1].recordId, first.id);
  EXPECT_FALSE(list.entries[1].dryRunMark);
  EXPECT_FALSE(list.empty);

  journal.markUndone(first.id, 1796560380);
  journal.markUndone(dry.id, 1796560380);
  const ChangesList none = changesList(journal, kTurkish);
  EXPECT_TRUE(none.entries.empty()) << "every record undone";
  EXPECT_TRUE(none.empty->starts_with("Henüz bir şey yok."));
}

}  // namespace
}  // namespace snoozlet::presentation
