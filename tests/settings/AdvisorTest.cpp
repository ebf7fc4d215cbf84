#include "settings/Advisor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <unordered_set>

#include "settings/FixCatalog.h"

namespace snoozlet {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const NightFormat english(Language::english, TimeZone::utc());
const NightFormat turkish(Language::turkish, TimeZone::utc());

NightReport night(Mood mood, double hours) {
  NightReport report;
  report.session.start = 1'700'000'000;
  report.session.end = report.session.start + hours * 3600;
  report.mood = mood;
  return report;
}

void addGroup(NightReport& report, WakeCategory category, int count, double awakeSeconds) {
  report.groups.push_back({category, count, awakeSeconds, {}, {}});
}

HolderGroup holder(std::string process, std::string type, std::string name, double held, HolderOrigin origin) {
  return {std::move(process), std::move(type), std::move(name), 1, held, origin};
}

// Every catalogue switch on in the battery profile, so that every fix could still help.
const PowerSettings kSettings =
    PowerSettings::parse("Currently in use:\n womp 1\n",
                         "Battery Power:\n womp 1\n proximitywake 1\n tcpkeepalive 1\n powernap 1\n"
                         " ttyskeepawake 1\n lowpowermode 0\nAC Power:\n womp 1\n");
const PowerCapabilities kCapabilities = PowerCapabilities::parse(
    "Capabilities for Battery Power:\n womp\n proximitywake\n tcpkeepalive\n powernap\n"
    " ttyskeepawake\n lowpowermode\n");

std::vector<std::string> ids(const NightReport& report, const std::optional<PowerSettings>& settings = kSettings,
                             const std::optional<PowerCapabilities>& capabilities = kCapabilities) {
  std::vector<std::string> out;
  for (const auto& s : Advisor::suggestions(report, settings, capabilities, english)) out.push_back(s.id);
  return out;
}

TEST(AdvisorTest, SoundAsleepNightGetsNoFixesButCulpritToolAndFailure) {
  NightReport report = night(Mood::soundAsleep, 8);
  addGroup(report, WakeCategory::network, 40, 2000);
  addGroup(report, WakeCategory::backgroundTask, 50, 900);
  EXPECT_THAT(ids(report), IsEmpty());

  report.holders = {holder("caffeinate", "PreventUserIdleSystemSleep", "caffeinate", 600, HolderOrigin::userTool),
                    holder("Zoom", "PreventSystemSleep", "Meeting", 900, HolderOrigin::app)};
  report.session.failures.push_back({report.start() + 60, "Sleep failure"});
  EXPECT_THAT(ids(report), ElementsAre("quit-Zoom", "tool-caffeinate", "failure"));
}

TEST(AdvisorTest, NetworkWakesQualifyByRateOrAwakeTime) {
  struct Case {
    double hours;
    int count;
    double awake;
    bool offered;
  };
  const Case cases[] = {{5, 50, 900, false},
                        {5, 60, 900, true},
                        {5, 50, 1200, true},
                        {5, 59, 1199, false},
                        // Under six minutes the night counts as 0.1 h: one wake is 10 per hour, two are 20.
                        {60.0 / 3600, 1, 0, false},
                        {60.0 / 3600, 2, 0, true},
                        {0, 2, 0, true},
                        {-1, 1, 0, false}};
  for (const Case& c : cases) {
    NightReport report = night(Mood::restless, c.hours);
    addGroup(report, WakeCategory::network, c.count, c.awake);
    const auto expected = c.offered
                              ? std::vector<std::string>{"wakeForNetworkOff", "proximityWakeOff", "tcpKeepAliveOff"}
                              : std::vector<std::string>{};
    EXPECT_EQ(ids(report), expected) << c.hours << " h, " << c.count << " wakes, " << c.awake << " s";
  }
}

TEST(AdvisorTest, UnavailableFixIsSkippedAndTheOthersShareTheEvidence) {
  NightReport report = night(Mood::sleepless, 5);
  addGroup(report, WakeCategory::network, 60, 1500);
  // womp is already off in the battery profile, though on in the settings in force.
  const auto settings =
      PowerSettings::parse(" womp 1\n", "Battery Power:\n womp 0\n proximitywake 1\n tcpkeepalive 1\n");
  const auto list = Advisor::suggestions(report, settings, kCapabilities, english);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].kind, Suggestion::Kind::fix(FixID::proximityWakeOff));
  EXPECT_EQ(list[1].kind, Suggestion::Kind::fix(FixID::tcpKeepAliveOff));
  for (const auto& s : list) EXPECT_EQ(s.evidence, "60 Wi-Fi & Bluetooth wakes, 25 min awake.");
}

TEST(AdvisorTest, BackgroundAndMaintenanceWakesAreSummed) {
  const struct {
    int background, maintenance;
    double awake;
    bool offered;
  } cases[] = {{20, 10, 0, true}, {29, 0, 599, false}, {0, 29, 599, false}, {19, 10, 600, true}, {0, 30, 0, true}};
  for (const auto& c : cases) {
    NightReport report = night(Mood::restless, 8);
    if (c.background > 0) addGroup(report, WakeCategory::backgroundTask, c.background, c.awake);
    if (c.maintenance > 0) addGroup(report, WakeCategory::maintenance, c.maintenance, c.background > 0 ? 0 : c.awake);
    addGroup(report, WakeCategory::scheduled, 100, 5000);  // other categories never count
    EXPECT_EQ(ids(report), c.offered ? std::vector<std::string>{"powerNapOff"} : std::vector<std::string>{})
        << c.background << " + " << c.maintenance;
  }
}

TEST(AdvisorTest, CulpritIsTheFirstLongestAppSystemSleepHolder) {
  NightReport report = night(Mood::soundAsleep, 8);
  report.holders = {holder("Display", "PreventUserIdleDisplaySleep", "video", 5000, HolderOrigin::app),
                    holder("Short", "PreventSystemSleep", "x", 599, HolderOrigin::app),
                    holder("powerd", "PreventSystemSleep", "y", 5000, HolderOrigin::system),
                    holder("Zoom", "PreventSystemSleep", "Meeting", 900, HolderOrigin::app),
                    holder("Slack", "PreventSystemSleep", "Call", 900, HolderOrigin::app)};
  EXPECT_THAT(ids(report), ElementsAre("quit-Zoom"));
  report.holders.erase(report.holders.begin() + 3, report.holders.end());
  EXPECT_THAT(ids(report), IsEmpty());
}

TEST(AdvisorTest, UnknownSettingsOrCapabilitiesGiveNoFixes) {
  NightReport report = night(Mood::sleepless, 5);
  addGroup(report, WakeCategory::network, 100, 3000);
  addGroup(report, WakeCategory::maintenance, 40, 900);
  report.holders = {holder("Zoom", "PreventSystemSleep", "Meeting", 900, HolderOrigin::app)};
  EXPECT_THAT(ids(report),
              ElementsAre("quit-Zoom", "wakeForNetworkOff", "proximityWakeOff", "tcpKeepAliveOff", "powerNapOff"));
  EXPECT_THAT(ids(report, kSettings, std::nullopt), ElementsAre("quit-Zoom"));
  EXPECT_THAT(ids(report, kSettings, PowerCapabilities{}), ElementsAre("quit-Zoom"));
  EXPECT_THAT(ids(report, std::nullopt, kCapabilities), ElementsAre("quit-Zoom"));
}

TEST(AdvisorTest, EveryIdIsListedOnce) {
  NightReport report = night(Mood::sleepless, 5);
  addGroup(report, WakeCategory::network, 100, 3000);
  addGroup(report, WakeCategory::backgroundTask, 40, 900);
  // One tool holding two assertions is suggested once, with its longest hold.
  report.holders = {holder("caffeinate", "PreventSystemSleep", "caffeinate", 3600, HolderOrigin::userTool),
                    holder("caffeinate", "PreventUserIdleSystemSleep", "caffeinate", 700, HolderOrigin::userTool),
                    holder("pmset", "PreventSystemSleep", "pmset", 600, HolderOrigin::userTool)};
  const auto list = Advisor::suggestions(report, kSettings, kCapabilities, english);
  std::set<std::string> seen;
  for (const auto& s : list) EXPECT_TRUE(seen.insert(s.id).second) << s.id;
  ASSERT_EQ(list.size(), 6u);
  EXPECT_EQ(list[4].evidence, "You or a script asked for this; it held on for 1 h.");
  EXPECT_EQ(list[5].id, "tool-pmset");
}

TEST(AdvisorTest, WholeTextsInBothLanguages) {
  NightReport report = night(Mood::restless, 8);
  addGroup(report, WakeCategory::maintenance, 31, 1200);
  report.holders = {holder("Zoom", "PreventSystemSleep", "Meeting", 5400, HolderOrigin::app),
                    holder("caffeinate", "PreventSystemSleep", "caffeinate", 900, HolderOrigin::userTool)};
  report.session.failures.push_back({report.start() + 60, "Sleep failure"});
  const auto en = Advisor::suggestions(report, kSettings, kCapabilities, english);
  const auto tr = Advisor::suggestions(report, kSettings, kCapabilities, turkish);
  ASSERT_EQ(en.size(), 4u);
  ASSERT_EQ(tr.size(), 4u);

  EXPECT_EQ(en[0], (Suggestion{"quit-Zoom", Suggestion::Kind::quitApp("Zoom"), "Quit Zoom before closing the lid",
                               "It kept the Mac from sleeping for 1 h 30 min (Meeting).", std::nullopt}));
  EXPECT_EQ(tr[0].title, "Kapağı kapatmadan önce Zoom uygulamasından çık");
  EXPECT_EQ(tr[0].evidence, "Mac’in uyumasını 1 sa 30 dk engelledi (Meeting).");
  EXPECT_EQ(en[1],
            (Suggestion{"powerNapOff", Suggestion::Kind::fix(FixID::powerNapOff), "Turn off Power Nap on battery",
                        "31 wakes for background tasks and maintenance, 20 min awake.",
                        "Mail, iCloud and Time Machine catch up when you open the lid instead of overnight."}));
  EXPECT_EQ(tr[1].evidence, "Arka plan işleri ve bakım için 31 uyanma, 20 dk uyanık.");
  EXPECT_EQ(en[1].fix(), FixCatalog::fix(FixID::powerNapOff));
  EXPECT_FALSE(en[0].fix());
  EXPECT_EQ(en[2], (Suggestion{"tool-caffeinate", Suggestion::Kind::info(), "caffeinate asked to stay awake",
                               "You or a script asked for this; it held on for 15 min.", std::nullopt}));
  EXPECT_EQ(en[3],
            (Suggestion{"failure", Suggestion::Kind::info(), "macOS logged a sleep failure",
                        "Restart the Mac. If it happens again, Apple Support can read the same log.", std::nullopt}));
  for (std::size_t i = 0; i < en.size(); ++i) {
    EXPECT_EQ(tr[i].id, en[i].id);
    EXPECT_NE(tr[i].title, en[i].title);
    EXPECT_NE(tr[i].evidence, en[i].evidence);
  }

  NightReport network = night(Mood::restless, 1);
  addGroup(network, WakeCategory::network, 12, 45);
  EXPECT_EQ(Advisor::suggestions(network, kSettings, kCapabilities, turkish).at(0).evidence,
            "12 Wi-Fi ve Bluetooth uyanması, 45 sn uyanık.");
}

TEST(AdvisorTest, KindsCompareAndHashByCaseAndPayload) {
  using Kind = Suggestion::Kind;
  const Kind kinds[] = {Kind::fix(FixID::powerNapOff), Kind::fix(FixID::tcpKeepAliveOff), Kind::quitApp("Zoom"),
                        Kind::quitApp("Slack"), Kind::info()};
  EXPECT_EQ(std::unordered_set<Kind>(std::begin(kinds), std::end(kinds)).size(), 5u);
  EXPECT_EQ(Kind(), Kind::info());
  EXPECT_EQ(Kind::quitApp("Zoom").caseName(), "quitApp");
  EXPECT_EQ(Kind::quitApp("Zoom").process(), "Zoom");
  EXPECT_FALSE(Kind::quitApp("Zoom").fixID());
  EXPECT_EQ(Kind::fix(FixID::powerNapOff).fixID(), FixID::powerNapOff);
  EXPECT_FALSE(Kind::fix(FixID::powerNapOff).process());
}

}  // namespace
}  // namespace snoozlet
