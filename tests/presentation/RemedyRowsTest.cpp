// What the windows and the terminal say about a night's remedies, an empty
// night and a change's outcome, in both languages.

#include "Nights.h"
#include "presentation/NightFigures.h"
#include "presentation/PageRows.h"
#include "presentation/RemedyRows.h"
#include "presentation/SettingsRows.h"

#include <gtest/gtest.h>

namespace snoozlet::presentation {
namespace {

using namespace snoozlet::testing;

Suggestion fix(FixID id) { return {std::string(toString(id)), Suggestion::Kind::fix(id), "title", "evidence", "cost"}; }

TEST(RemedyRowsTest, NothingToFixFollowsTheMoodAndTheMachineAndReviewAllNeedsTwoFixes) {
  NightReport sound = report(session(8));
  sound.mood = Mood::soundAsleep;
  EXPECT_EQ(remedyList(sound, {}, NightSource::pmset, Language::english).nothing,
            "Nothing to fix: this was a normal night for this Mac.");
  EXPECT_EQ(remedyList(sound, {}, NightSource::journal, Language::turkish).nothing,
            "Düzeltilecek bir şey yok: bu dizüstü için olağan bir geceydi.");
  NightReport restless = sound;
  restless.mood = Mood::restless;
  EXPECT_EQ(remedyList(restless, {}, NightSource::journal, Language::english).nothing,
            "Nothing I can change from here; the reasons are below.");

  const Suggestion quit{"quit-zoom.us", Suggestion::Kind::quitApp("zoom.us"), "Quit zoom.us", "held", std::nullopt};
  const RemedyList one = remedyList(restless, {fix(FixID::powerNapOff), quit}, NightSource::pmset, Language::english);
  EXPECT_FALSE(one.nothing);
  EXPECT_FALSE(one.reviewAllLabel) << "one fix has its own button";
  EXPECT_TRUE(one.reviewAll.empty());
  EXPECT_EQ(one.rows[0].giveUpLabel, "What you give up");
  EXPECT_EQ(one.rows[0].reviewLabel, "Review Change…");
  EXPECT_EQ(one.rows[1].app, "App: zoom.us");
  EXPECT_FALSE(one.rows[1].reviewLabel);

  const RemedyList two = remedyList(restless, {fix(FixID::powerNapOff), quit, fix(FixID::tcpKeepAliveOff)},
                                    NightSource::pmset, Language::turkish);
  EXPECT_EQ(two.reviewAll, (std::vector<FixID>{FixID::powerNapOff, FixID::tcpKeepAliveOff}));
  EXPECT_EQ(two.reviewAllLabel, "2 Değişikliği Gözden Geçir");
}

TEST(RemedyRowsTest, EmptyNightOutcomesAndTheTooltip) {
  EXPECT_EQ(emptyNight(std::nullopt, std::nullopt, Language::english).sentence(), "Reading last night’s log…");
  const EmptyNight failed = emptyNight(std::nullopt, "pmset exited with 1: ", Language::turkish);
  EXPECT_EQ(failed.sentence(), "Uyku kaydı okunamadı: pmset exited with 1: ");
  const EmptyNight none = emptyNight(SleepAnalysis{}, "an old failure", Language::english);
  EXPECT_EQ(none.sentence(), "No long sleep in the log yet") << "an analysis stands over a later failure";
  EXPECT_EQ(none.line, "Close the lid tonight; I’ll tell you all about it in the morning.");

  using Kind = ChangeOutcome::Kind;
  const auto said = [](ChangeOutcome o, Language l, NightSource s = NightSource::pmset) {
    return outcomeNotice(o, l, s).value_or("");
  };
  EXPECT_EQ(said({Kind::didNotTake}, Language::english, NightSource::journal),
            "The system didn’t accept every change. Nothing else was touched.");
  EXPECT_EQ(said({Kind::cancelled}, Language::turkish), "İptal edildi. Hiçbir şey değişmedi.");
  EXPECT_EQ(said({.kind = Kind::failed, .reason = "pmset: not permitted"}, Language::english), "pmset: not permitted");
  EXPECT_EQ(said({.kind = Kind::applied, .journalError = "disk full"}, Language::english),
            "Done. Snoozlet kept the previous values; you can undo this in Sleep settings. Snoozlet couldn’t record "
            "this change: disk full");
  EXPECT_FALSE(ChangeOutcome({.kind = Kind::applied, .journalError = "disk full"}).succeeded());
  // An undo's outcome offers no undo, on either source and in either language.
  for (const NightSource source : {NightSource::pmset, NightSource::journal}) {
    EXPECT_EQ(said({.kind = Kind::applied, .undo = true}, Language::english, source),
              "Done. These settings are back to what they were before Snoozlet changed them.");
    EXPECT_EQ(said({.kind = Kind::applied, .undo = true}, Language::turkish, source),
              "Tamam. Bu ayarlar, Snoozlet değiştirmeden önceki hâllerine döndü.");
  }
  EXPECT_TRUE(said({.kind = Kind::notRecorded, .reason = "read-only"}, Language::turkish).ends_with("read-only"));

  NightReport night = report(session(8));
  night.mood = Mood::restless;
  EXPECT_EQ(trayTooltip(&night, kTurkish), "Snoozlet — Huzursuz · 0 karanlık uyanma · 8 sa");
}

}  // namespace
}  // namespace snoozlet::presentation
