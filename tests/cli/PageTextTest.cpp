// The terminal's own writing of the pages, the review and the ribbon (the
// rows and figures themselves are tested with the presentation layer), and
// the confirmation questions.

#include "../presentation/Nights.h"
#include "cli/Confirmation.h"
#include "cli/PagesText.h"
#include "cli/ReviewText.h"
#include "cli/ReportText.h"
#include "cli/RibbonText.h"
#include "cli/TerminalText.h"
#include "common/Text.h"
#include "settings/FixCatalog.h"

#include <gtest/gtest.h>

#include <sstream>

namespace snoozlet {
namespace {

using testing::archived;
using testing::kEnglish;

TEST(PageTextTest, PagesAsText) {
  // Newest first in, oldest first out; a night without a drain is a dot.
  const std::vector<ArchivedNight> nights = {archived(8, 8, 1.0), archived(std::nullopt, 0, std::nullopt),
                                             archived(0, 8, 0.0)};
  EXPECT_EQ(pages_text::drainStrip(nights, Baseline{0.5, 0.1, 3}, kEnglish), "▁·█\nnormal 0.5/h\n");
  EXPECT_EQ(pages_text::drainStrip(nights, Baseline{2.0, 0.1, 3}, testing::kTurkish), "▁·▅\nnormal 2,0/sa\n");
  EXPECT_EQ(pages_text::drainStrip(nights, std::nullopt, kEnglish, 2), "▁·\n█\n");
  EXPECT_EQ(pages_text::drainStrip({}, std::nullopt, kEnglish), "");

  EXPECT_EQ(pages_text::history(NightSource::pmset, {}, std::nullopt, kEnglish),
            "History\nEvery sleep I’ve seen on this Mac, kept after macOS forgets its week-long log.\nThis Mac\n\n"
            "The first nights will appear here tomorrow morning.\n");
  // A Linux laptop's pages name it and its journal, in both languages.
  EXPECT_EQ(pages_text::history(NightSource::journal, {}, std::nullopt, testing::kTurkish),
            "Geçmiş\nBu dizüstünde gördüğüm her uyku; sistem günlüğü eski kayıtları sildikten sonra da burada.\n"
            "Bu dizüstü\n\nİlk geceler yarın sabah burada olacak.\n");
  EXPECT_EQ(pages_text::battery(NightSource::journal, std::nullopt, std::nullopt, kEnglish),
            "Battery\nThis laptop · read from the battery\n\nThis laptop has no battery, so there’s no overnight "
            "drain to explain.\n");
  EXPECT_EQ(presentation::machineNormal(NightSource::journal, "0.4/h", 1, Language::english),
            "This laptop’s normal: 0.4/h over 1 night.");
  EXPECT_EQ(presentation::machineNormal(NightSource::simulated, "0,4/sa", 6, Language::turkish),
            "Bu Mac’in normali: 0,4/sa, 6 geceden.");
  const std::string table = pages_text::history(NightSource::pmset, {archived(3, 7.5, 0.4)}, std::nullopt, kEnglish);
  EXPECT_NE(table.find("\nNight      Asleep  Wakes  Awake   Battery     Mostly  Mood\n"
                       "Sat 5 Dec  8 h        12  10 min  −3 · 0.4/h  —       Sound asleep\n"),
            std::string::npos)
      << table;
  EXPECT_EQ(pages_text::battery(NightSource::pmset, std::nullopt, Baseline{0.42, 0.05, 9}, kEnglish),
            "Battery\nThis Mac · read from the battery\n\nThis Mac has no battery, so there’s no overnight drain to "
            "explain.\n");

  const presentation::ReviewSheet sheet = presentation::reviewSheet(
      {{{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"}}, {}}, {Language::english, "/usr/bin/pmset"});
  EXPECT_EQ(review_text::render(sheet),
            "Review before changing\nNothing changes until you confirm. macOS will ask for an administrator "
            "password.\n\nChange one setting\n\nTurn off Power Nap on battery\n"
            "  Runs                /usr/bin/pmset -b powernap 0\n  Undo                /usr/bin/pmset -b powernap 1\n"
            "  What you give up    " +
                FixCatalog::giveUp(FixID::powerNapOff, Language::english) + "\n");
  EXPECT_EQ(review_text::question({Language::turkish, "", true, true}), "Bunun provasını yapayım mı?")
      << "a dry run simulates, also an undo";
}

TEST(PageTextTest, RibbonFitsTheTerminalFromANapToALongNight) {
  const auto night = [](double hours) {
    SleepSession s = testing::session(hours);
    s.battery = {{s.start, 64, false}, {s.end, 55, false}};
    for (double t = s.start + 60; t < s.end; t += hours * 3600 / 7) s.darkWakes.push_back({t, 60, WakeReason("ARPT")});
    return NightAnalyzer::report(s, SleepKind::night);
  };
  for (const double hours : {0.1, 8.0, 14.0}) {
    for (const std::size_t columns : {20u, 40u, 80u, 200u}) {
      const std::string text = ribbon_text::render(night(hours), kEnglish, columns);
      const auto lines = text::split(text, '\n');
      ASSERT_EQ(lines.size(), 3u) << hours << " h in " << columns << ":\n" << text;  // two lines and the end
      for (const auto line : lines) EXPECT_LE(terminal::displayWidth(line), columns) << text;
      EXPECT_TRUE(lines[0].starts_with("64% ") && lines[0].ends_with(" 55%")) << text;
      EXPECT_NE(lines[0].find("█"), std::string_view::npos) << "a full-minute wake is a full block: " << text;
      if (columns >= 40) {
        EXPECT_TRUE(lines[1].find("lid closed") == 4 && lines[1].ends_with("lid opened")) << text;
      }
    }
  }
  const std::string eight = ribbon_text::render(night(8), kEnglish, 80);
  // 03:00 is half way through the 72 cells after "64% ": its label sits centred on it.
  EXPECT_EQ(text::split(eight, '\n')[1].find(" 03 "), 4u + 36u - 2u) << "hour labels between the ends:\n" << eight;
  EXPECT_EQ(ribbon_text::render(night(8), kEnglish, 19), "") << "too narrow to draw";
  // Seven wakes of a minute (a column is 400 seconds here): seven marks, none wider than two columns.
  std::vector<std::size_t> marks;
  std::size_t run = 0;
  const std::string_view top = text::split(eight, '\n')[0];
  for (std::size_t i = 0; i < top.size(); i += static_cast<unsigned char>(top[i]) < 0x80 ? 1 : 3) {
    if (top.substr(i, 3) == "█") ++run;
    if (top.substr(i, 3) != "█" && run > 0) marks.push_back(std::exchange(run, 0));
  }
  EXPECT_EQ(marks.size(), 7u) << eight;
  EXPECT_LE(*std::max_element(marks.begin(), marks.end()), 2u) << eight;
  // A half-minute wake is half as tall as a full one: the fourth of the seven levels.
  NightReport half = night(8);
  for (auto& wake : half.session.darkWakes) wake.duration = 30;
  EXPECT_NE(ribbon_text::render(half, kEnglish, 80).find("▅"), std::string::npos);
  EXPECT_EQ(ribbon_text::render(half, kEnglish, 80).find("█"), std::string::npos);
  // On the charger for the second half: its cells start half way along the band.
  NightReport charged = night(8);
  charged.session.darkWakes.clear();
  charged.session.battery = {{charged.session.start, 64, false},
                             {charged.session.start + 4 * 3600, 60, true},
                             {charged.session.end, 80, true}};
  const std::string band = std::string(text::split(ribbon_text::render(charged, kEnglish, 80), '\n')[0]);
  EXPECT_EQ(terminal::displayWidth(band.substr(0, band.find("▒"))), 4u + 36u) << band;
  EXPECT_TRUE(band.ends_with("▒ 80%")) << band;

  // The battery's health in one line: capacity, cycles and charge, with the charge's state.
  BatteryHealth battery{.cycleCount = 312, .designCapacity = 5000, .fullChargeCapacity = 4300, .chargePercent = 78,
                        .temperatureCelsius = 30.1, .isCharging = true, .externalConnected = true};
  EXPECT_EQ(report_text::batteryHealth(battery, kEnglish),
            "\nBattery health: 86% of its original capacity · 312 charge cycles · 78% charged now · Charging.\n");
}

TEST(PageTextTest, ConfirmationReadsOneLineFromATerminalOnly) {
  using enum Language;
  for (const auto& [answer, language, yes] :
       std::vector<std::tuple<std::string, Language, bool>>{{"y", english, true},
                                                            {" YES ", english, true},
                                                            {"yes please", english, false},
                                                            {"", english, false},
                                                            {"n", english, false},
                                                            {"evet", english, false},
                                                            {"Evet", turkish, true},
                                                            {"e", turkish, true},
                                                            {"y", turkish, true},
                                                            {"hayır", turkish, false}}) {
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
