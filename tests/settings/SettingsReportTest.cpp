#include "settings/SettingsReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"

namespace snoozlet {
namespace {

using testing::fixturePath;
using testing::readFile;

std::vector<std::string> keysOf(const std::vector<SettingFinding>& findings) {
  std::vector<std::string> keys;
  for (const auto& f : findings) keys.push_back(f.key);
  return keys;
}

const SettingFinding* find(const std::vector<SettingFinding>& findings, std::string_view key) {
  const auto it = std::find_if(findings.begin(), findings.end(), [&](const auto& f) { return f.key == key; });
  return it == findings.end() ? nullptr : &*it;
}

TEST(SettingsReportTest, StatusesAreOrderedAndRoundTrip) {
  EXPECT_LT(SettingStatus::fine, SettingStatus::info);
  EXPECT_LT(SettingStatus::info, SettingStatus::consider);
  EXPECT_LT(SettingStatus::consider, SettingStatus::attention);
  for (SettingStatus status : kAllSettingStatuses) EXPECT_EQ(settingStatusFromString(toString(status)), status);
  EXPECT_EQ(toString(SettingStatus::consider), "consider");
  EXPECT_FALSE(settingStatusFromString("Fine"));
}

TEST(SettingsReportTest, RowsComeInFixedOrder) {
  PowerSettings settings;
  settings.current = {{"sleep", "0"},         {"lowpowermode", "0"},  {"hibernatemode", "3"},
                      {"ttyskeepawake", "1"}, {"proximitywake", "1"}, {"womp", "1"},
                      {"tcpkeepalive", "1"},  {"powernap", "1"},      {"displaysleep", "10"}};
  settings.sleepPreventedBy = {"powerd"};
  const auto findings = SettingsReport::findings(settings, Language::english);
  EXPECT_THAT(keysOf(findings),
              ::testing::ElementsAre("preventers", "powernap", "tcpkeepalive", "womp", "proximitywake", "ttyskeepawake",
                                     "hibernatemode", "lowpowermode", "sleep"));
  EXPECT_TRUE(SettingsReport::findings(PowerSettings{}, Language::english).empty());
}

TEST(SettingsReportTest, SwitchRowsFollowTheirRules) {
  struct Row {
    const char* key;
    SettingStatus whenOn;
    SettingStatus whenOff;
    bool hasTradeOff;
  };
  const Row rows[] = {
      {"powernap", SettingStatus::consider, SettingStatus::fine, true},
      {"tcpkeepalive", SettingStatus::fine, SettingStatus::consider, true},
      {"womp", SettingStatus::consider, SettingStatus::fine, true},
      {"proximitywake", SettingStatus::consider, SettingStatus::fine, true},
      {"ttyskeepawake", SettingStatus::fine, SettingStatus::fine, false},
      {"lowpowermode", SettingStatus::info, SettingStatus::info, false},
  };
  for (const Row& row : rows) {
    for (const char* value : {"1", "0", "01", "2"}) {
      PowerSettings settings;
      settings.current[row.key] = value;
      const auto findings = SettingsReport::findings(settings, Language::english);
      ASSERT_EQ(findings.size(), 1u) << row.key;
      const bool on = std::string_view(value) == "1";
      EXPECT_EQ(findings[0].status, on ? row.whenOn : row.whenOff) << row.key << " " << value;
      EXPECT_EQ(findings[0].value, on ? "On" : "Off") << row.key << " " << value;
      EXPECT_EQ(findings[0].tradeOff.has_value(), row.hasTradeOff) << row.key;
    }
    // Every row has its own texts in each language.
    PowerSettings settings;
    settings.current[row.key] = "1";
    const auto en = SettingsReport::findings(settings, Language::english).at(0);
    const auto tr = SettingsReport::findings(settings, Language::turkish).at(0);
    EXPECT_FALSE(en.title.empty() || en.summary.empty() || tr.title.empty() || tr.summary.empty()) << row.key;
    EXPECT_NE(en.summary, tr.summary) << row.key;
    EXPECT_EQ(tr.tradeOff.has_value(), row.hasTradeOff) << row.key;
    if (en.tradeOff) {
      EXPECT_NE(en.tradeOff, tr.tradeOff) << row.key;
    }
  }
  PowerSettings tcp;
  tcp.current["tcpkeepalive"] = "0";
  EXPECT_EQ(SettingsReport::findings(tcp, Language::english).at(0).tradeOff,
            "Turning it off can cut Wi-Fi wakes, but Find My can’t locate a sleeping Mac and messages arrive late.");
}

TEST(SettingsReportTest, BatteryProfileSuppliesValuesAndSuffix) {
  PowerSettings noBattery;
  noBattery.current["powernap"] = "1";
  const auto plain = SettingsReport::findings(noBattery, Language::english);
  EXPECT_EQ(plain[0].value, "On");
  EXPECT_EQ(plain[0].status, SettingStatus::consider);

  PowerSettings withBattery;
  withBattery.current = {{"powernap", "1"}, {"womp", "1"}, {"sleep", "0"}, {"hibernatemode", "0"}};
  withBattery.battery = {{"powernap", "0"}};
  withBattery.ac = {{"womp", "0"}};
  const auto english = SettingsReport::findings(withBattery, Language::english);
  EXPECT_EQ(find(english, "powernap")->value, "Off (battery)");
  EXPECT_EQ(find(english, "powernap")->status, SettingStatus::fine);
  // The suffix follows the profile's existence, not where the value came from;
  // the AC profile is never consulted.
  EXPECT_EQ(find(english, "womp")->value, "On (battery)");
  EXPECT_EQ(find(english, "hibernatemode")->value, "0");
  EXPECT_EQ(find(english, "sleep")->value, "Off (battery)");

  const auto turkish = SettingsReport::findings(withBattery, Language::turkish);
  EXPECT_EQ(find(turkish, "powernap")->value, "Kapalı (pilde)");
  EXPECT_EQ(find(turkish, "womp")->value, "Açık (pilde)");
  EXPECT_EQ(find(turkish, "womp")->title, "Ağ erişimi için uyandır");
}

TEST(SettingsReportTest, HibernateModeAndSleepRows) {
  const auto row = [](const char* key, const char* value, Language language) {
    PowerSettings settings;
    settings.current[key] = value;
    return SettingsReport::findings(settings, language);
  };
  const auto safe = row("hibernatemode", "3", Language::english);
  EXPECT_EQ(safe[0].value, "3");
  EXPECT_EQ(safe[0].status, SettingStatus::fine);
  EXPECT_EQ(safe[0].summary, "Safe sleep: memory stays powered and a copy is kept on disk.");
  const auto off = row("hibernatemode", "0", Language::english);
  EXPECT_EQ(off[0].status, SettingStatus::consider);
  EXPECT_EQ(off[0].summary, "Memory isn’t copied to disk: if the battery runs flat while asleep, open work is lost.");
  const auto full = row("hibernatemode", "25", Language::turkish);
  EXPECT_EQ(full[0].status, SettingStatus::fine);
  EXPECT_EQ(full[0].title, "Hazırda bekletme");
  EXPECT_EQ(full[0].summary, "Hazırda bekletir: en çok pili korur ama geç uyanır.");
  EXPECT_FALSE(full[0].tradeOff);

  EXPECT_TRUE(row("sleep", "1", Language::english).empty());
  EXPECT_TRUE(row("sleep", "00", Language::english).empty());
  const auto never = row("sleep", "0", Language::english);
  ASSERT_EQ(never.size(), 1u);
  EXPECT_EQ(never[0], (SettingFinding{"sleep", "System sleep", "Off", SettingStatus::attention,
                                      "The Mac never goes to sleep on its own.", std::nullopt}));
}

TEST(SettingsReportTest, PreventersByOrigin) {
  const auto preventers = [](std::vector<std::string> names, Language language) {
    PowerSettings settings;
    settings.sleepPreventedBy = std::move(names);
    return SettingsReport::findings(settings, language).at(0);
  };
  const auto tools = preventers({"powerd", "caffeinate", "bluetoothd", "python3"}, Language::english);
  EXPECT_EQ(tools.status, SettingStatus::info);
  EXPECT_EQ(tools.value, "powerd, caffeinate, bluetoothd, python3");
  EXPECT_EQ(tools.title, "Keeping the Mac awake now");
  EXPECT_EQ(tools.summary,
            "You or a script asked for this (caffeinate, python3); it only keeps the Mac awake while it runs.");
  EXPECT_NE(preventers({"caffeinate"}, Language::turkish).summary.find("(caffeinate)"), std::string::npos);

  const auto system = preventers({"powerd", "sharingd", "coreaudiod"}, Language::english);
  EXPECT_EQ(system.status, SettingStatus::info);
  EXPECT_EQ(system.summary, "Only macOS itself is holding sleep off right now.");
  EXPECT_EQ(preventers({"powerd"}, Language::turkish).summary, "Şu an uykuyu yalnız macOS’in kendisi tutuyor.");

  const auto app = preventers({"caffeinate", "Zoom", "powerd"}, Language::english);
  EXPECT_EQ(app.status, SettingStatus::attention);
  EXPECT_EQ(app.summary,
            "These apps are asking macOS not to sleep. If they are still running when you close the lid, they can "
            "keep the Mac up.");
  EXPECT_FALSE(app.tradeOff);
}

TEST(SettingsReportTest, RealOutputs) {
  const auto g1 = PowerSettings::parse(readFile(fixturePath("real/pmset-g-01.txt")), std::nullopt);
  const auto findings = SettingsReport::findings(g1, Language::english);
  EXPECT_THAT(keysOf(findings), ::testing::ElementsAre("preventers", "powernap", "womp", "proximitywake",
                                                       "ttyskeepawake", "hibernatemode", "sleep"));
  // screensharingd is a daemon of macOS.
  EXPECT_EQ(findings[0].value, "screensharingd");
  EXPECT_EQ(findings[0].status, SettingStatus::info);
  EXPECT_EQ(findings.back().status, SettingStatus::attention);

  // storedownloadd is also a daemon; sleep 60 gives no sleep row.
  const auto g2 = PowerSettings::parse(readFile(fixturePath("real/pmset-g-02.txt")), std::nullopt);
  const auto f2 = SettingsReport::findings(g2, Language::turkish);
  EXPECT_EQ(f2[0].value, "storedownloadd, storedownloadd");
  EXPECT_EQ(f2[0].summary, "Şu an uykuyu yalnız macOS’in kendisi tutuyor.");
  EXPECT_EQ(find(f2, "sleep"), nullptr);

  for (const char* name : {"real/pmset-g-03.txt", "real/pmset-g-04.txt", "real/pmset-g-05.txt"}) {
    const auto settings = PowerSettings::parse(readFile(fixturePath(name)), std::nullopt);
    for (Language language : kAllLanguages) {
      for (const auto& f : SettingsReport::findings(settings, language)) EXPECT_FALSE(f.summary.empty()) << name;
    }
  }
}

}  // namespace
}  // namespace snoozlet
