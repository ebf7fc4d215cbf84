// A Linux laptop's settings explained and advised from its nights, over the
// settings read from a ThinkPad's tree: the sleep state's status from the
// kernel's counts of the last counted night, each device's wakes, and the
// advisor's fixes (a device that woke it, deep sleep), never for the lid, the
// power button or the keyboard.

#include "platform/linux/SystemSettingsReader.h"
#include "settings/Advisor.h"
#include "settings/SystemReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace snoozlet {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const NightFormat kEnglish(Language::english, TimeZone::utc());

// The ThinkPad in s2idle offering deep sleep, with its built-in keyboard also
// allowed to wake it.
SystemSettings thinkpad() {
  SystemSettings s = readSystemSettings(SystemRoot(testing::fixturePath("system/thinkpad-s2idle")));
  EXPECT_TRUE(s.device("PNP0C0C:00")) << "its power button";
  s.wakeDevices.push_back({"platform/i8042/serio0", "serio0", "serio", "atkbd", "", "", "enabled", "", ""});
  return s;
}

SourceWakes wakes(const std::string& name, std::uint64_t n, const std::string& driver = "") {
  return {name, name, driver, "", "", n, n};
}

// One eight-hour s2idle sleep with `share` of it in hardware sleep.
SleepCounts sleep(double share, std::vector<SourceWakes> sources = {}) {
  return {1000, 1000 + 8 * 3600, "s2idle", std::move(sources), share * 8 * 3600, 1, 0};
}

NightReport night(std::optional<double> ratio, std::vector<SleepCounts> counts, Mood mood = Mood::restless) {
  NightReport r;
  r.session.start = 1000;
  r.session.end = 1000 + 8 * 3600;
  r.ratio = ratio;
  r.mood = mood;
  r.kernelSleeps = std::move(counts);
  return r;
}

const SettingFinding& find(const std::vector<SettingFinding>& findings, const std::string& key) {
  static const SettingFinding none{};
  for (const SettingFinding& f : findings) {
    if (f.key == key) return f;
  }
  ADD_FAILURE() << "no finding " << key;
  return none;
}

TEST(LinuxAdvisorTest, TheSleepStateNeedsAttentionOnlyWhenTheLastCountedNightDrainedAndHardlySlept) {
  const SystemSettings s = thinkpad();
  ASSERT_EQ(s.memSleep, "s2idle");
  struct Case {
    const char* what;
    std::vector<NightReport> reports;
    SettingStatus status;
    const char* says;
  };
  const std::vector<Case> cases = {
      {"2.5× normal, 20% hardware sleep", {night(2.5, {sleep(0.2)})}, SettingStatus::attention, "hardly slept"},
      {"exactly twice normal", {night(2.0, {sleep(0.2)})}, SettingStatus::attention, "20%"},
      {"drains a lot but the hardware slept", {night(2.5, {sleep(0.8)})}, SettingStatus::fine, "80%"},
      {"hardly slept at its normal drain", {night(1.2, {sleep(0.1)})}, SettingStatus::fine, "10%"},
      {"no normal yet", {night(std::nullopt, {sleep(0.1)})}, SettingStatus::fine, "10%"},
      {"the last night was not counted: the one before stands",
       {night(2.5, {sleep(0.2)}), night(1.0, {})},
       SettingStatus::attention,
       "hardly slept"},
      {"a later good night clears it", {night(2.5, {sleep(0.2)}), night(1.0, {sleep(0.9)})}, SettingStatus::fine,
       "90%"},
  };
  for (const Case& c : cases) {
    SleepAnalysis analysis;
    analysis.reports = c.reports;
    const auto findings = SystemReport::findings(s, {}, &analysis, kEnglish);
    const SettingFinding& f = find(findings, "memSleep");
    EXPECT_EQ(f.status, c.status) << c.what;
    EXPECT_THAT(f.summary, HasSubstr(c.says)) << c.what;
    EXPECT_THAT(f.summary, HasSubstr("It also offers deep sleep")) << c.what;
    EXPECT_TRUE(f.tradeOff) << c.what;
  }
  EXPECT_EQ(SystemReport::findings(s, {}, nullptr, kEnglish).front().status, SettingStatus::fine);

  // Deep sleep in use is fine whatever the nights, and offers nothing more.
  SystemSettings deep = s;
  deep.memSleep = "deep";
  SleepAnalysis poor;
  poor.reports = {night(3.0, {sleep(0.1)})};
  const auto deepFindings = SystemReport::findings(deep, {}, &poor, kEnglish);
  const SettingFinding& inDeep = find(deepFindings, "memSleep");
  EXPECT_EQ(inDeep.status, SettingStatus::fine);
  EXPECT_FALSE(inDeep.tradeOff);
}

TEST(LinuxAdvisorTest, DevicesThatWokeItAreOfferedAFixButNeverTheLidThePowerButtonOrTheKeyboard) {
  const SystemSettings s = thinkpad();
  const std::vector<SleepCounts> week = {
      sleep(0.2, {wakes("0000:00:14.0", 6, "xhci_hcd"), wakes("PNP0C0D:00", 4), wakes("PNP0C0C:00", 3),
                  wakes("serio0", 5, "atkbd"), wakes("0000:00:1f.6", 1, "e1000e")})};

  // The settings page: the USB controller is to consider, with its cost; the
  // lid, the power button and the keyboard are needed; without logind no lid
  // or inhibitor finding is made up.
  const auto findings = SystemReport::findings(s, week, nullptr, kEnglish);
  EXPECT_EQ(findings.front().key, "memSleep");
  const SettingFinding& usb = find(findings, "wakeup:0000:00:14.0");
  EXPECT_EQ(usb.status, SettingStatus::consider);
  EXPECT_EQ(usb.value, "Woke it 6×");
  EXPECT_TRUE(usb.tradeOff);
  for (const char* needed : {"wakeup:PNP0C0D:00", "wakeup:PNP0C0C:00", "wakeup:serio0"}) {
    const SettingFinding& f = find(findings, needed);
    EXPECT_EQ(f.status, SettingStatus::info) << needed;
    EXPECT_THAT(f.summary, HasSubstr("The laptop needs it to be woken.")) << needed;
    EXPECT_FALSE(f.tradeOff) << needed;
  }
  for (const char* absent : {"lid", "inhibitors"}) {
    EXPECT_TRUE(std::none_of(findings.begin(), findings.end(), [&](const auto& f) { return f.key == absent; }));
  }

  // The advisor: the USB controller (twice or more), then deep sleep for the
  // 20% of hardware sleep; the Ethernet card woke it once only.
  const auto ids = [&](const NightReport& r, const SystemSettings& settings) {
    std::vector<std::string> out;
    for (const Suggestion& x :
         Advisor::suggestions(r, std::nullopt, std::nullopt, kEnglish, NightSource::journal, &settings)) {
      out.push_back(x.id);
    }
    return out;
  };
  const NightReport restless = night(2.5, week);
  EXPECT_THAT(ids(restless, s), ElementsAre("wakeupOff:0000:00:14.0", "deepSleep"));
  const auto suggested = Advisor::suggestions(restless, std::nullopt, std::nullopt, kEnglish, NightSource::journal, &s);
  EXPECT_THAT(suggested[0].evidence, HasSubstr("6 times"));
  EXPECT_THAT(suggested[1].evidence, HasSubstr("20%"));

  EXPECT_THAT(ids(night(2.5, week, Mood::soundAsleep), s), ElementsAre()) << "a sound night needs no fix";
  SystemSettings deepOnly = s;
  deepOnly.memSleepModes = {"s2idle"};
  EXPECT_THAT(ids(restless, deepOnly), ElementsAre("wakeupOff:0000:00:14.0")) << "no deep sleep offered";
  SystemSettings off = s;
  for (WakeDevice& d : off.wakeDevices) d.wakeup = d.name == "0000:00:14.0" ? "disabled" : d.wakeup;
  EXPECT_THAT(ids(restless, off), ElementsAre("deepSleep")) << "already kept from waking it";
  // The counted sleep was mostly hardware sleep: no deep sleep.
  EXPECT_THAT(ids(night(2.5, {sleep(0.9, week[0].sources)}), s), ElementsAre("wakeupOff:0000:00:14.0"));
}

}  // namespace
}  // namespace snoozlet
