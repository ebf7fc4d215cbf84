#include "settings/SettingsReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace snoozlet {
namespace {

using enum SettingStatus;

template <typename Field>
std::vector<Field> column(const std::vector<SettingFinding>& findings, Field SettingFinding::*field) {
  std::vector<Field> out;
  for (const auto& f : findings) out.push_back(f.*field);
  return out;
}

TEST(SettingsReportTest, RuleTable) {
  struct Row {
    const char* key;
    const char* value;
    std::optional<SettingStatus> status;  // none: no row at all
    const char* shown;
    bool tradeOff;
  };
  const Row rows[] = {
      {"powernap", "1", consider, "On", true},      {"powernap", "0", fine, "Off", true},
      {"powernap", "01", fine, "Off", true},        {"powernap", "2", fine, "Off", true},
      {"tcpkeepalive", "1", fine, "On", true},      {"tcpkeepalive", "0", consider, "Off", true},
      {"womp", "1", consider, "On", true},          {"womp", "0", fine, "Off", true},
      {"proximitywake", "1", consider, "On", true}, {"proximitywake", "0", fine, "Off", true},
      {"ttyskeepawake", "1", fine, "On", false},    {"ttyskeepawake", "0", fine, "Off", false},
      {"lowpowermode", "1", info, "On", false},     {"lowpowermode", "0", info, "Off", false},
      {"hibernatemode", "3", fine, "3", false},     {"hibernatemode", "0", consider, "0", false},
      {"hibernatemode", "25", fine, "25", false},   {"sleep", "0", attention, "Off", false},
      {"sleep", "1", {}, "", false},                {"sleep", "00", {}, "", false},
      {"displaysleep", "0", {}, "", false},
  };
  std::set<std::string> summaries;
  for (const Row& row : rows) {
    PowerSettings settings;
    settings.current[row.key] = row.value;
    const auto en = SettingsReport::findings(settings, Language::english);
    const auto tr = SettingsReport::findings(settings, Language::turkish);
    const std::string what = std::string(row.key) + " " + row.value;
    ASSERT_EQ(en.size() + tr.size(), row.status ? 2u : 0u) << what;
    if (!row.status) continue;
    EXPECT_EQ(std::tie(en[0].status, en[0].value), std::tie(*row.status, row.shown)) << what;
    EXPECT_EQ(en[0].tradeOff.has_value() + tr[0].tradeOff.has_value(), 2 * row.tradeOff) << what;
    EXPECT_NE(en[0].summary, tr[0].summary) << what;
    summaries.insert(en[0].summary);
  }
  // Each switch has its own summary; hibernation one for each of its three modes.
  EXPECT_EQ(summaries.size(), 6u + 3u + 1u);
}

TEST(SettingsReportTest, RowsComeInFixedOrder) {
  PowerSettings settings;
  settings.current = {{"sleep", "0"},         {"lowpowermode", "0"},  {"hibernatemode", "3"},
                      {"ttyskeepawake", "1"}, {"proximitywake", "1"}, {"womp", "1"},
                      {"tcpkeepalive", "1"},  {"powernap", "1"},      {"displaysleep", "10"}};
  settings.sleepPreventedBy = {"powerd"};
  EXPECT_THAT(column(SettingsReport::findings(settings, Language::english), &SettingFinding::key),
              ::testing::ElementsAre("preventers", "powernap", "tcpkeepalive", "womp", "proximitywake", "ttyskeepawake",
                                     "hibernatemode", "lowpowermode", "sleep"));
}

TEST(SettingsReportTest, BatteryProfileSuppliesValuesAndSuffix) {
  const PowerSettings settings{.current = {{"powernap", "1"}, {"womp", "1"}, {"sleep", "0"}, {"hibernatemode", "0"}},
                                .battery = {{"powernap", "0"}}, .ac = {{"womp", "0"}}};
  // Rows for powernap, womp, hibernatemode and sleep. The suffix follows the
  // profile's existence, not where the value came from; the AC profile is never consulted.
  const auto english = SettingsReport::findings(settings, Language::english);
  EXPECT_EQ(column(english, &SettingFinding::value),
            (std::vector<std::string>{"Off (battery)", "On (battery)", "0", "Off (battery)"}));
  EXPECT_EQ(english.at(0).status, fine);
  EXPECT_EQ(column(SettingsReport::findings(settings, Language::turkish), &SettingFinding::value),
            (std::vector<std::string>{"Kapalı (pilde)", "Açık (pilde)", "0", "Kapalı (pilde)"}));
}

TEST(SettingsReportTest, PreventersByOrigin) {
  const auto preventers = [](std::vector<std::string> names, Language language = Language::english) {
    PowerSettings settings;
    settings.sleepPreventedBy = std::move(names);
    return SettingsReport::findings(settings, language).at(0);
  };
  // Tools are named; macOS's own daemons only count as macOS; any app is worth attention.
  const auto tools = preventers({"powerd", "caffeinate", "bluetoothd", "python3"});
  EXPECT_EQ(std::tie(tools.status, tools.value), std::make_tuple(info, "powerd, caffeinate, bluetoothd, python3"));
  EXPECT_EQ(tools.summary,
            "You or a script asked for this (caffeinate, python3); it only keeps the Mac awake while it runs.");
  EXPECT_NE(preventers({"caffeinate"}, Language::turkish).summary.find("(caffeinate)"), std::string::npos);
  const auto system = preventers({"powerd", "sharingd", "screensharingd"});
  EXPECT_EQ(std::tie(system.status, system.summary), std::make_tuple(info, "Only macOS itself is holding sleep off right now."));
  const auto app = preventers({"caffeinate", "Zoom", "powerd"});
  EXPECT_EQ(app.status, attention);
  EXPECT_EQ(app.summary.find("caffeinate"), std::string::npos);
}

}  // namespace
}  // namespace snoozlet
