#include "settings/Advisor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unordered_set>

#include "settings/FixCatalog.h"

namespace snoozlet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Ids = std::vector<std::string>;

const NightFormat english(Language::english, TimeZone::utc());
const NightFormat turkish(Language::turkish, TimeZone::utc());

NightReport night(Mood mood, double hours, std::vector<ReasonGroup> groups = {}) {
  return {.session = {.start = 1'700'000'000, .end = 1'700'000'000 + hours * 3600}, .groups = std::move(groups),
          .mood = mood};
}

HolderGroup holder(std::string process, double held, HolderOrigin origin = HolderOrigin::userTool) {
  return {std::move(process), "PreventSystemSleep", "Meeting", 1, held, origin};
}

// Every catalogue switch on in the battery profile, so that every fix could still help.
const PowerSettings kSettings =
    PowerSettings::parse("Currently in use:\n womp 1\n",
                         "Battery Power:\n womp 1\n proximitywake 1\n tcpkeepalive 1\n powernap 1\n"
                         " ttyskeepawake 1\n lowpowermode 0\n");
const PowerCapabilities kCapabilities{{"womp", "proximitywake", "tcpkeepalive", "powernap", "ttyskeepawake"}};

Ids ids(const NightReport& report, const std::optional<PowerSettings>& settings = kSettings,
        const std::optional<PowerCapabilities>& capabilities = kCapabilities) {
  Ids out;
  for (const auto& s : Advisor::suggestions(report, settings, capabilities, english)) out.push_back(s.id);
  return out;
}

TEST(AdvisorTest, WakeThresholdsOfferTheirFixes) {
  using C = WakeCategory;
  const Ids network{"wakeForNetworkOff", "proximityWakeOff", "tcpKeepAliveOff"}, nap{"powerNapOff"}, none;
  const std::tuple<double, std::vector<ReasonGroup>, Ids> rows[] = {
      // Wi-Fi and Bluetooth: 12 wakes an hour or 20 minutes awake; a night counts as at least 0.1 h.
      {5, {{C::network, 59, 1199, {}, {}}}, none}, {5, {{C::network, 60, 0, {}, {}}}, network},
      {5, {{C::network, 0, 1200, {}, {}}}, network}, {60.0 / 3600, {{C::network, 1, 0, {}, {}}}, none},
      {60.0 / 3600, {{C::network, 2, 0, {}, {}}}, network}, {-1, {{C::network, 2, 0, {}, {}}}, network},
      // Background tasks and maintenance together: 30 wakes or 10 minutes awake.
      {8, {{C::backgroundTask, 29, 599, {}, {}}}, none},
      {8, {{C::backgroundTask, 20, 0, {}, {}}, {C::maintenance, 10, 0, {}, {}}}, nap},
      {8, {{C::backgroundTask, 19, 300, {}, {}}, {C::maintenance, 10, 300, {}, {}}}, nap},
      {8, {{C::scheduled, 100, 5000, {}, {}}, {C::lid, 100, 5000, {}, {}}}, none},  // other categories never count
  };
  for (const auto& [hours, groups, expected] : rows) {
    EXPECT_EQ(ids(night(Mood::restless, hours, groups)), expected) << hours << " h, " << groups.size() << " groups";
    EXPECT_THAT(ids(night(Mood::soundAsleep, hours, groups)), IsEmpty()) << "a calm night needs no fix";
  }
}

TEST(AdvisorTest, CulpritToolsAndFailuresAreSuggestedWhateverTheMood) {
  NightReport report = night(Mood::soundAsleep, 8, {{WakeCategory::network, 400, 9000, {}, {}}});
  // One tool holding two assertions is suggested once; a tool under ten minutes not at all.
  report.holders = {holder("caffeinate", 3600), holder("caffeinate", 700), holder("pmset", 600),
                    holder("sh", 599), holder("Zoom", 900, HolderOrigin::app)};
  report.session.failures.push_back({report.start() + 60, "Sleep failure"});
  EXPECT_THAT(ids(report), ElementsAre("quit-Zoom", "tool-caffeinate", "tool-pmset", "failure"));
  // A Linux laptop's failure and culprit are told in its own words.
  const auto laptop = Advisor::suggestions(report, kSettings, kCapabilities, english, NightSource::journal);
  EXPECT_EQ(laptop.back().title, "Linux logged a sleep failure");
  for (const Suggestion& s : laptop) EXPECT_EQ(s.evidence.find("Mac"), std::string::npos) << s.evidence;
  EXPECT_EQ(laptop.front().evidence, "It kept the laptop from sleeping for 15 min (Meeting).");
}

TEST(AdvisorTest, OnlyFixesThatCanStillChangeSomethingAreOffered) {
  const NightReport report = night(Mood::sleepless, 5, {{WakeCategory::network, 60, 1500, {}, {}}});
  // womp is already off in the battery profile, though on in the settings in force.
  const auto settings = PowerSettings::parse(" womp 1\n", "Battery Power:\n womp 0\n proximitywake 1\n tcpkeepalive 1\n");
  EXPECT_THAT(ids(report, settings), ElementsAre("proximityWakeOff", "tcpKeepAliveOff"));
  for (const auto& s : Advisor::suggestions(report, settings, kCapabilities, english))
    EXPECT_EQ(s.evidence, "60 Wi-Fi & Bluetooth wakes, 25 min awake.");
  // Unknown settings or capabilities: no fix at all.
  EXPECT_THAT(ids(report, kSettings, std::nullopt), IsEmpty());
  EXPECT_THAT(ids(report, std::nullopt, kCapabilities), IsEmpty());
}

TEST(AdvisorTest, EvidenceInBothLanguages) {
  NightReport report = night(Mood::restless, 8, {{WakeCategory::maintenance, 31, 1200, {}, {}}});
  report.holders = {holder("Zoom", 5400, HolderOrigin::app), holder("caffeinate", 900)};
  const auto en = Advisor::suggestions(report, kSettings, kCapabilities, english);
  const auto tr = Advisor::suggestions(report, kSettings, kCapabilities, turkish);
  ASSERT_EQ(en.size(), 3u);
  ASSERT_EQ(tr.size(), 3u);
  EXPECT_EQ(en[0], (Suggestion{"quit-Zoom", Suggestion::Kind::quitApp("Zoom"), "Quit Zoom before closing the lid",
                               "It kept the Mac from sleeping for 1 h 30 min (Meeting).", std::nullopt}));
  EXPECT_EQ(tr[0].evidence, "Mac’in uyumasını 1 sa 30 dk engelledi (Meeting).");
  EXPECT_EQ(en[1].evidence, "31 wakes for background tasks and maintenance, 20 min awake.");
  EXPECT_EQ(tr[1].evidence, "Arka plan işleri ve bakım için 31 uyanma, 20 dk uyanık.");
  EXPECT_EQ(en[1].fix(), FixCatalog::fix(FixID::powerNapOff));
  EXPECT_EQ(tr[1].title, FixCatalog::title(FixID::powerNapOff, Language::turkish));
  EXPECT_EQ(en[2].evidence, "You or a script asked for this; it held on for 15 min.");
  EXPECT_EQ(tr[2].evidence, "Bunu ya sen ya da bir betik istedi; 15 dk sürdü.");
  const NightReport network = night(Mood::restless, 1, {{WakeCategory::network, 12, 45, {}, {}}});
  EXPECT_EQ(Advisor::suggestions(network, kSettings, kCapabilities, turkish).at(0).evidence,
            "12 Wi-Fi ve Bluetooth uyanması, 45 sn uyanık.");
}

TEST(AdvisorTest, KindsCompareAndHashByCaseAndPayload) {
  using Kind = Suggestion::Kind;
  const Kind kinds[] = {Kind::fix(FixID::powerNapOff), Kind::fix(FixID::tcpKeepAliveOff), Kind::quitApp("Zoom"),
                        Kind::quitApp("Slack"), Kind::info()};
  EXPECT_EQ(std::unordered_set<Kind>(std::begin(kinds), std::end(kinds)).size(), 5u);
  EXPECT_EQ(Kind(), Kind::info());
  EXPECT_EQ(std::make_tuple(kinds[2].caseName(), kinds[2].process(), kinds[2].fixID()),
            std::make_tuple(std::string_view("quitApp"), std::optional<std::string>("Zoom"), std::optional<FixID>()));
  EXPECT_EQ(kinds[0].fixID(), FixID::powerNapOff);
  EXPECT_FALSE(kinds[0].process());
}

}  // namespace
}  // namespace snoozlet
