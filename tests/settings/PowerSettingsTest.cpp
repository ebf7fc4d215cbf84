#include "settings/PowerSettings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "settings/PowerCapabilities.h"

namespace snoozlet {
namespace {

using Map = std::map<std::string, std::string>;
using Names = std::vector<std::string>;
using testing::fixturePath;
using testing::readFile;

TEST(PowerSettingsTest, IndentedLinesInForceWhateverTheirWhiteSpace) {
  // Web copies: CRLF line ends, no-break spaces, a stray vertical tab, a line holding only a key, invalid bytes.
  const auto settings = PowerSettings::parse(
      "System-wide power settings:\nCurrently in use:\n"
      " sleep                1 (sleep prevented by sharingd, powerd,  coreaudiod)\n"
      " Sleep On Power Button 1\n"
      "hibernatemode 3\n"  // starts in the first column
      " hibernatefile        /var/vm/sleepimage\n"
      " powernap 1\r\n"
      "\u00A0womp\u00A0\u00A0\u00A01\r\n"
      " tcpkeepalive\v0\n"
      " lonely\n \r\n"
      " \xFF\xFE 2\n"
      " proximitywake \xC3\n"
      " displaysleep 1 (sleep prevented by a)\n",
      std::nullopt);
  EXPECT_EQ(settings.current, (Map{{"sleep", "1"}, {"Sleep On Power Button", "1"},
                                   {"hibernatefile", "/var/vm/sleepimage"}, {"powernap", "1"}, {"womp", "1"},
                                   {"tcpkeepalive", "0"}, {"\uFFFD\uFFFD", "2"}, {"proximitywake", "\uFFFD"},
                                   {"displaysleep", "1"}}));
  // Only the key "sleep" carries preventers.
  EXPECT_EQ(settings.sleepPreventedBy, (Names{"sharingd", "powerd", "coreaudiod"}));
  EXPECT_TRUE(settings.battery.empty() && settings.ac.empty());
}

TEST(PowerSettingsTest, PreventerPhraseIsLiteralAndTheLastListWins) {
  const std::pair<const char*, Names> cases[] = {
      {" sleep 1 (Sleep Prevented By x)\n", {}}, {" sleep 1 (display sleep only)\n", {}},
      {" sleep 1 (sleep prevented by a, b)\n sleep 0 (sleep prevented by c)\n sleep 2 (no phrase)\n", {"c"}},
      {" sleep 1 (sleep prevented by ,, a ,\t,b,)\n", {"a", "b"}},
      {"\u202Fsleep\u00A00\u00A0(sleep prevented by\u00A0caffeinate, Zoom)\u00A0\r\n", {"caffeinate", "Zoom"}},
  };
  for (const auto& [text, names] : cases) EXPECT_EQ(PowerSettings::parse(text, {}).sleepPreventedBy, names) << text;
}

TEST(PowerSettingsTest, CustomProfilesGoToTheirSections) {
  const auto settings = PowerSettings::parse("", " sleep 5\nBattery Power:\n powernap 0\n powernap 1\nUPS Power:\n"
                                                 " womp 1\nAC Power: \r\n womp 0\n Sleep On Power Button 1\n");
  EXPECT_EQ(settings.battery, (Map{{"powernap", "1"}}));
  EXPECT_EQ(settings.ac, (Map{{"womp", "0"}, {"Sleep On Power Button", "1"}}));
  EXPECT_TRUE(settings.current.empty());
  // An indented line is a setting, whatever it ends with.
  const auto indented = PowerSettings::parse("", "Battery Power:\n AC Power:\n womp 1\n");
  EXPECT_EQ(indented.battery, (Map{{"AC", "Power:"}, {"womp", "1"}}));
  const auto orphan = PowerSettings::parse("", std::string_view(" powernap 1\nOther:\n womp 1\n"));
  EXPECT_TRUE(orphan.battery.empty() && orphan.ac.empty());
}

TEST(PowerSettingsTest, CapabilitiesAreSingleIndentedWords) {
  const auto caps = PowerCapabilities::parse(
      "Capabilities for AC Power:\n displaysleep\n\twomp\r\n two words\n  \n lowpowermode \n"
      "\u00A0proximitywake\n tcp\u00A0keepalive\nplain\n");
  EXPECT_THAT(caps.keys, ::testing::ElementsAre("displaysleep", "lowpowermode", "proximitywake", "womp"));
  EXPECT_FALSE(pmsettext::beginsWithBlank(""));
}

TEST(PowerSettingsTest, RealPmsetOutputs) {
  const auto g1 = PowerSettings::parse(readFile(fixturePath("real/pmset-g-01.txt")), std::nullopt);
  EXPECT_EQ(g1.sleepPreventedBy, Names{"screensharingd"});
  EXPECT_EQ(g1.current.size(), 18u);
  const auto g2 = PowerSettings::parse(readFile(fixturePath("real/pmset-g-02.txt")), std::nullopt);
  EXPECT_EQ(g2.sleepPreventedBy, (Names{"storedownloadd", "storedownloadd"}));
  // A paste with line numbers: the numbers become part of the keys.
  const auto g5 = PowerSettings::parse(readFile(fixturePath("real/pmset-g-05.txt")), std::nullopt);
  EXPECT_EQ(g5.current.count("sleep"), 0u);
  EXPECT_EQ(g5.current.at("5. standbydelay"), "4200");

  // Pastes with bullets have no recognisable headings; without the bullets the profiles read fully.
  const std::string bulleted = readFile(fixturePath("real/pmset-custom-03.txt"));
  EXPECT_EQ(PowerSettings::parse("", bulleted), PowerSettings{});
  std::string cleaned;
  for (std::string_view line : pmsettext::lines(bulleted)) {
    if (line.starts_with("- ")) line.remove_prefix(2);
    cleaned.append(line.ends_with(":") ? "" : " ").append(line).append("\n");
  }
  const auto custom = PowerSettings::parse("", cleaned);
  EXPECT_EQ(custom.battery.at("powernap"), "0");
  EXPECT_EQ(custom.ac.at("powernap"), "1");
  EXPECT_EQ(custom.battery.size(), 18u);
  EXPECT_EQ(custom.ac.size(), 19u);
  // Side-by-side captures hold two words per line: nothing is a capability.
  EXPECT_TRUE(PowerCapabilities::parse(readFile(fixturePath("real/pmset-cap-03.txt"))).keys.empty());
  const auto cap5 = PowerCapabilities::parse(readFile(fixturePath("real/pmset-cap-05.txt")));
  EXPECT_EQ(cap5.keys.size(), 16u);
  EXPECT_TRUE(cap5.contains("ttyskeepawake"));
}

}  // namespace
}  // namespace snoozlet
