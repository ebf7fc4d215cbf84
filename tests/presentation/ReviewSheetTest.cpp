// The review sheet every change and undo passes through: titles, headings
// by count, the exact commands, the acknowledgement (never for an undo) and
// the confirm button's label for a change, an undo and a dry run.

#include "presentation/SettingsRows.h"

#include <gtest/gtest.h>

namespace snoozlet::presentation {
namespace {

const FixPlan kTwoChanges{{{FixID::tcpKeepAliveOff, "tcpkeepalive", PowerScope::battery, "1", "0"},
                           {FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"}},
                          {}};
const FixPlan kPutBack{{{FixID::tcpKeepAliveOff, "tcpkeepalive", PowerScope::battery, "0", "1"}}, {}};

TEST(ReviewSheetTest, ChangeUndoAndDryRun) {
  const ReviewSheet change = reviewSheet(kTwoChanges, {Language::english, "/usr/bin/pmset", false, false});
  EXPECT_EQ(change.heading, "Change 2 settings");
  ASSERT_EQ(change.blocks.size(), 2u);
  EXPECT_EQ(change.blocks[1].title, "Turn off Power Nap on battery");
  EXPECT_EQ(change.blocks[1].runs, (LabelledText{"Runs", "/usr/bin/pmset -b powernap 0"}));
  EXPECT_EQ(change.blocks[1].undo, (LabelledText{"Undo", "/usr/bin/pmset -b powernap 1"}));
  EXPECT_EQ(change.acknowledgement, "I understand: Find My may not locate this Mac while it sleeps on battery.");
  EXPECT_FALSE(change.dryRunNote);
  EXPECT_EQ(change.confirmLabel, "Change with Password…");

  // Putting back a notable change never asks for the acknowledgement.
  const ReviewSheet undo = reviewSheet(kPutBack, {Language::turkish, "/usr/bin/pmset", false, true});
  EXPECT_EQ(undo.title, "Bir değişikliği geri al");
  EXPECT_EQ(undo.blocks[0].undo, (LabelledText{"Dönülen değer", "1"}));
  EXPECT_FALSE(undo.acknowledgement);
  EXPECT_EQ(undo.confirmLabel, "Parolayla geri al…");
  EXPECT_TRUE(reviewSheet(kPutBack, {Language::english, "/usr/bin/pmset", false, false}).acknowledgement)
      << "the same fix as a change does";

  // Command text the builder refuses is shown as its refusal, never as a command.
  const ReviewSheet refused = reviewSheet(kTwoChanges, {Language::english, "relative/pmset", false, false});
  EXPECT_EQ(refused.blocks[0].runs.text.find("relative/pmset -b"), std::string::npos) << refused.blocks[0].runs.text;

  // A dry run simulates changes and undos alike.
  for (const bool undo : {false, true}) {
    const ReviewSheet sheet = reviewSheet(undo ? kPutBack : kTwoChanges, {Language::english, "/p", true, undo});
    EXPECT_EQ(sheet.confirmLabel, "Simulate") << undo;
    EXPECT_EQ(sheet.dryRunNote, "Dry run: this build only shows what it would do. No setting on this Mac will change.");
  }
  EXPECT_EQ(reviewSheet(kPutBack, {Language::turkish, "/p", true, true}).confirmLabel, "Prova Et");

  // A runner that asks no password (a tree of files, the simulated Mac, root) never promises one.
  const ReviewSheet laptop =
      reviewSheet(kTwoChanges, {.source = NightSource::journal, .asksPassword = true});
  EXPECT_NE(laptop.subtitle.find("Your system will ask for an administrator password"), std::string::npos);
  for (const NightSource source : {NightSource::journal, NightSource::simulated}) {
    const ReviewSheet tree = reviewSheet(kTwoChanges, {.source = source, .asksPassword = false});
    EXPECT_EQ(tree.subtitle, "Nothing changes until you confirm. No password is needed: Snoozlet can already change "
                             "these settings.");
    EXPECT_EQ(tree.confirmLabel, "Change");
  }
  const ReviewSheet treeUndo =
      reviewSheet(kPutBack, {.language = Language::turkish, .undo = true, .asksPassword = false});
  EXPECT_EQ(treeUndo.confirmLabel, "Geri Al");
}

TEST(ReviewSheetTest, HeadingByCount) {
  for (const auto& [n, undo, language, expected] : std::vector<std::tuple<std::size_t, bool, Language, std::string>>{
           {1, false, Language::english, "Change one setting"}, {3, false, Language::english, "Change 3 settings"},
           {1, true, Language::english, "Put one setting back"}, {2, true, Language::english, "Put 2 settings back"},
           {1, false, Language::turkish, "Bir ayarı değiştir"}, {2, false, Language::turkish, "2 ayarı değiştir"},
           {4, true, Language::turkish, "4 ayarı geri koy"}}) {
    EXPECT_EQ(reviewHeading(n, {language, "", false, undo}), expected);
  }
}

}  // namespace
}  // namespace snoozlet::presentation
