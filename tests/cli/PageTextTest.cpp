// The texts the terminal pages and the review are made of, and the
// confirmation questions.

#include "cli/Confirmation.h"
#include "cli/PagesText.h"
#include "cli/ReviewText.h"
#include "cli/SettingsText.h"

#include <gtest/gtest.h>

#include <sstream>

namespace snoozlet {
namespace {

const NightFormat kEnglish(Language::english, TimeZone::utc());
const NightFormat kTurkish(Language::turkish, TimeZone::utc());

ArchivedNight night(std::optional<int> drop, double hours, std::optional<double> perHour) {
  ArchivedNight n;
  n.start = 1796511600;  // Sat 5 Dec 2026 23:00 UTC
  n.end = n.start + 8 * 3600;
  n.darkWakes = 12;
  n.awakeSeconds = 600;
  n.drop = drop;
  n.batteryHours = hours;
  n.perHour = perHour;
  return n;
}

TEST(PageTextTest, HistoryColumnsAndDrainStrip) {
  EXPECT_EQ(pages_text::nightBattery(night(3, 7.5, 0.4), kEnglish), "−3 · 0.4/h");
  EXPECT_EQ(pages_text::nightBattery(night(3, 7.5, 0.4), kTurkish), "−3 · 0,4/sa");
  EXPECT_EQ(pages_text::nightBattery(night(0, 7.5, 0.0), kEnglish), "0 · 0.0/h");
  EXPECT_EQ(pages_text::nightBattery(night(2, 7.5, std::nullopt), kEnglish), "−2");
  EXPECT_EQ(pages_text::nightBattery(night(std::nullopt, 0, std::nullopt), kEnglish), "on AC");
  EXPECT_EQ(pages_text::nightBattery(night(1, 0.4, 2.5), kTurkish), "şarjda") << "under half an hour on battery";

  ArchivedNight nap = night(3, 7.5, 0.4);
  nap.kind = SleepKind::daytimeNap;
  nap.topCategory = WakeCategory::network;
  EXPECT_EQ(pages_text::historyRow(nap, kEnglish),
            (pages_text::HistoryRow{"Sat 5 Dec nap", "8 h", "12", "10 min", "−3 · 0.4/h", "Wi-Fi & Bluetooth"}));
  EXPECT_EQ(pages_text::historyRow(night(3, 7.5, 0.4), kEnglish).mostly, "—");

  // Newest first in, oldest first out; a night without a drain is a dot.
  std::vector<ArchivedNight> nights = {night(8, 8, 1.0), night(std::nullopt, 0, std::nullopt), night(0, 8, 0.0)};
  EXPECT_EQ(pages_text::drainStrip(nights, Baseline{0.5, 0.1, 3}), "▁·█\n");
  EXPECT_EQ(pages_text::drainStrip(nights, Baseline{2.0, 0.1, 3}), "▁·▅\n") << "the normal can set the top";
  EXPECT_EQ(pages_text::drainStrip(nights, std::nullopt, 2), "▁·\n█\n");
  EXPECT_EQ(pages_text::drainStrip({}, std::nullopt), "");

  EXPECT_EQ(pages_text::history({}, std::nullopt, kEnglish),
            "History\nEvery sleep I’ve seen on this Mac, kept after macOS forgets its week-long log.\nThis Mac\n\n"
            "The first nights will appear here tomorrow morning.\n");
}

TEST(PageTextTest, BatteryRows) {
  BatteryHealth b;
  b.designCapacity = 5000;
  b.fullChargeCapacity = 4300;
  b.cycleCount = 312;
  b.designCycleCount = 1000;
  b.chargePercent = 78;
  b.temperatureCelsius = 30.46;
  b.voltage = 12.5;
  b.externalConnected = true;
  const Baseline normal{0.42, 0.05, 9};
  const auto rows = pages_text::batteryRows(b, normal, kEnglish);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], (pages_text::BatteryRow{"capacity", "86%", "of its original capacity",
                                             "Holds 4300 mAh when full; it was designed for 5000 mAh."}));
  EXPECT_EQ(rows[1],
            (pages_text::BatteryRow{"cycles", "312", "charge cycles", "Apple rates this battery for 1000 cycles."}));
  EXPECT_EQ(rows[2], (pages_text::BatteryRow{"charge", "78%", "charged now", "On the charger, not charging."}));
  EXPECT_EQ(rows[3].value, "30.5 °C");
  EXPECT_EQ(rows[4], (pages_text::BatteryRow{"voltage", "12.50 V", "voltage", std::nullopt}));
  EXPECT_EQ(rows[5].detail, "The median of 9 battery nights in the log. Snoozlet compares every night with this.");
  EXPECT_EQ(pages_text::batteryRows(b, normal, kTurkish)[0].value, "%86");

  // A row is left out when its value is missing.
  BatteryHealth partial;
  partial.fullChargeCapacity = 4300;  // no design capacity: no capacity row
  partial.cycleCount = 12;
  partial.chargePercent = 50;
  partial.isCharging = true;
  const auto some = pages_text::batteryRows(partial, std::nullopt, kEnglish);
  ASSERT_EQ(some.size(), 2u);
  EXPECT_EQ(some[0].name, "cycles");
  EXPECT_FALSE(some[0].detail);
  EXPECT_EQ(some[1].detail, "Charging.");

  EXPECT_TRUE(pages_text::batteryRows(std::nullopt, normal, kEnglish).empty()) << "no battery, no normal either";
  EXPECT_EQ(pages_text::battery(std::nullopt, normal, kEnglish),
            "Battery\nThis Mac · read from the battery\n\nThis Mac has no battery, so there’s no overnight drain to "
            "explain.\n");
}

TEST(PageTextTest, ReviewOfAChangeAndOfAnUndo) {
  FixPlan plan;
  plan.changes = {{FixID::tcpKeepAliveOff, "tcpkeepalive", PowerScope::battery, "1", "0"},
                  {FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"}};
  review_text::Context change{Language::english, "/usr/bin/pmset", false, false};
  const std::string text = review_text::render(plan, change);
  EXPECT_TRUE(
      text.starts_with("Review before changing\nNothing changes until you confirm. macOS will ask for an "
                       "administrator password.\n\nChange 2 settings\n"))
      << text;
  EXPECT_NE(text.find("\nTurn off Power Nap on battery\n  Runs                /usr/bin/pmset -b powernap 0\n"
                      "  Undo                /usr/bin/pmset -b powernap 1\n  What you give up    Mail, iCloud"),
            std::string::npos)
      << text;
  EXPECT_TRUE(review_text::needsAcknowledgement(plan, false));
  EXPECT_FALSE(review_text::needsAcknowledgement(plan, true)) << "an undo never asks";
  EXPECT_EQ(review_text::question(change), "Change these settings?");

  review_text::Context undo{Language::turkish, "/usr/bin/pmset", true, true};
  const FixPlan back{{{FixID::powerNapOff, "powernap", PowerScope::battery, "0", "1"}}, {}};
  const std::string undone = review_text::render(back, undo);
  EXPECT_TRUE(undone.starts_with("Bir değişikliği geri al\n")) << undone;
  EXPECT_NE(undone.find("\nBir ayarı geri koy\n"), std::string::npos) << undone;
  EXPECT_NE(undone.find("  Dönülen değer       1\n"), std::string::npos) << undone;
  EXPECT_NE(undone.find("Deneme: bu sürüm"), std::string::npos) << undone;
  EXPECT_EQ(review_text::question(undo), "Bunu deneyeyim mi?") << "a dry run simulates, also an undo";

  for (const auto& [n, isUndo, language, expected] : std::vector<std::tuple<std::size_t, bool, Language, std::string>>{
           {1, false, Language::english, "Change one setting"},
           {3, false, Language::english, "Change 3 settings"},
           {1, true, Language::english, "Put one setting back"},
           {2, true, Language::english, "Put 2 settings back"},
           {2, false, Language::turkish, "2 ayarı değiştir"}}) {
    EXPECT_EQ(review_text::heading(n, {language, "", false, isUndo}), expected);
  }

  // Command text the builder refuses is shown as its refusal, never run.
  const std::string refused = review_text::render(plan, {Language::english, "relative/pmset", false, false});
  EXPECT_EQ(refused.find("relative/pmset -b"), std::string::npos) << refused;
}

TEST(PageTextTest, ChangesListNewestFirstWithoutUndoneRecords) {
  FixJournal journal;
  const PlannedChange nap{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"};
  const FixRecord first = journal.record({nap}, 1796549580, false);
  const FixRecord dry = journal.record({nap}, 1796553180, true);
  const FixRecord undone = journal.record({nap}, 1796556780, false);
  journal.markUndone(undone.id, 1796560380);
  const auto listed = settings_text::listedRecords(journal);
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].id, dry.id);
  EXPECT_EQ(listed[1].id, first.id);
  const std::string text = settings_text::changes(journal, kEnglish);
  EXPECT_NE(text.find("  " + dry.id + "  Sunday, 6 December 10:33  (dry run, nothing changed)\n"), std::string::npos)
      << text;
  EXPECT_EQ(text.find(undone.id), std::string::npos);
  EXPECT_EQ(settings_text::changes(FixJournal(), kEnglish),
            "Changed by Snoozlet\n  Nothing yet. Every change I make is listed here with the value it replaced, so "
            "you can put it back.\n");
}

TEST(PageTextTest, ConfirmationReadsOneLineFromATerminalOnly) {
  for (const auto& [answer, language, yes] :
       std::vector<std::tuple<std::string, Language, bool>>{{"y", Language::english, true},
                                                            {" YES ", Language::english, true},
                                                            {"yes please", Language::english, false},
                                                            {"", Language::english, false},
                                                            {"n", Language::english, false},
                                                            {"evet", Language::english, false},
                                                            {"Evet", Language::turkish, true},
                                                            {"e", Language::turkish, true},
                                                            {"y", Language::turkish, true},
                                                            {"hayır", Language::turkish, false}}) {
    EXPECT_EQ(cli::Confirmation::isYes(answer, language), yes) << answer;
  }

  std::istringstream in("yes\nno\n");
  std::ostringstream out;
  cli::Confirmation terminal(in, out, Language::english, true, false);
  EXPECT_TRUE(terminal.canAsk());
  EXPECT_TRUE(terminal.ask("Change these settings?"));
  EXPECT_FALSE(terminal.ask("Sure?"));
  EXPECT_FALSE(terminal.ask("Really?")) << "end of input is no";
  EXPECT_EQ(out.str(), "Change these settings? [y/N] Sure? [y/N] Really? [y/N] \n");

  std::istringstream unread("yes\n");
  std::ostringstream shown;
  cli::Confirmation piped(unread, shown, Language::turkish, false, false);
  EXPECT_FALSE(piped.canAsk());
  EXPECT_FALSE(piped.ask("Emin misin?"));
  EXPECT_EQ(unread.tellg(), 0) << "nothing is read without a terminal";
  cli::Confirmation assumed(unread, shown, Language::turkish, false, true);
  EXPECT_TRUE(assumed.canAsk());
  EXPECT_TRUE(assumed.ask("Emin misin?"));
  EXPECT_EQ(shown.str(), "Emin misin? [e/H] \nEmin misin? [e/H] evet (--yes)\n");
}

}  // namespace
}  // namespace snoozlet
