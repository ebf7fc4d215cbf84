#include "settings/PowerSettings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "settings/PowerCapabilities.h"

namespace snoozlet {
namespace {

using ::testing::ElementsAre;
using testing::fixturePath;
using ::testing::IsEmpty;
using testing::readFile;

TEST(PowerSettingsTest, SleepLineCarriesPreventersInOrder) {
  const auto settings = PowerSettings::parse(
      "Currently in use:\n"
      " sleep                1 (sleep prevented by sharingd, powerd,  coreaudiod)\n"
      " womp                 1\n",
      std::nullopt);
  EXPECT_EQ(settings.current.at("sleep"), "1");
  EXPECT_EQ(settings.current.at("womp"), "1");
  EXPECT_THAT(settings.sleepPreventedBy, ElementsAre("sharingd", "powerd", "coreaudiod"));
  EXPECT_TRUE(settings.battery.empty());
  EXPECT_TRUE(settings.ac.empty());
}

TEST(PowerSettingsTest, PreventerPhraseIsLiteralAndLaterListWins) {
  const auto other = PowerSettings::parse(" sleep 1 (Sleep Prevented By x)\n sleep 1 (display sleep only)\n", {});
  EXPECT_THAT(other.sleepPreventedBy, IsEmpty());
  EXPECT_EQ(other.current.at("sleep"), "1");

  const auto twice = PowerSettings::parse(
      " sleep 1 (sleep prevented by a, b)\n sleep 0 (sleep prevented by c)\n sleep 2 (no phrase)\n", {});
  EXPECT_THAT(twice.sleepPreventedBy, ElementsAre("c"));
  EXPECT_EQ(twice.current.at("sleep"), "2");

  const auto commas = PowerSettings::parse(" sleep 1 (sleep prevented by ,, a ,\t,b,)\n", {});
  EXPECT_THAT(commas.sleepPreventedBy, ElementsAre("a", "b"));

  // Only the key "sleep" carries preventers.
  const auto otherKey = PowerSettings::parse(" displaysleep 1 (sleep prevented by a)\n", {});
  EXPECT_THAT(otherKey.sleepPreventedBy, IsEmpty());
}

TEST(PowerSettingsTest, HeadingsAreSkippedAndMultiWordKeysKept) {
  const auto settings = PowerSettings::parse(
      "System-wide power settings:\nCurrently in use:\n Sleep On Power Button 1\n"
      "hibernatemode 3\n hibernatefile        /var/vm/sleepimage\n",
      std::nullopt);
  EXPECT_EQ(settings.current.at("Sleep On Power Button"), "1");
  EXPECT_EQ(settings.current.at("hibernatefile"), "/var/vm/sleepimage");
  EXPECT_EQ(settings.current.count("hibernatemode"), 0u);  // starts in the first column
  EXPECT_EQ(settings.current.size(), 2u);
}

TEST(PowerSettingsTest, WebCopiedWhiteSpaceAndInvalidBytesParseSensibly) {
  // CRLF line ends, no-break spaces for indentation and between columns, a
  // stray vertical tab, a line holding only a key, and invalid bytes.
  const auto settings = PowerSettings::parse(
      " powernap 1\r\n"
      "\u00A0womp\u00A0\u00A0\u00A01\r\n"
      "\u202Fsleep\u00A00\u00A0(sleep prevented by\u00A0caffeinate, Zoom)\u00A0\r\n"
      " tcpkeepalive\v0\n"
      " lonely\n"
      " \r\n"
      " \xFF\xFE 2\n"
      " proximitywake \xC3\n",
      std::nullopt);
  EXPECT_EQ(settings.current.at("powernap"), "1");
  EXPECT_EQ(settings.current.at("womp"), "1");
  EXPECT_EQ(settings.current.at("sleep"), "0");
  EXPECT_EQ(settings.current.at("tcpkeepalive"), "0");
  EXPECT_EQ(settings.current.count("lonely"), 0u);
  EXPECT_THAT(settings.sleepPreventedBy, ElementsAre("caffeinate", "Zoom"));
  EXPECT_EQ(settings.current.at("\uFFFD\uFFFD"), "2");
  EXPECT_EQ(settings.current.at("proximitywake"), "\uFFFD");
}

TEST(PowerSettingsTest, CustomProfilesGoToTheirSections) {
  const auto settings = PowerSettings::parse("",
                                             " sleep 5\n"  // before any heading
                                             "Battery Power:\n"
                                             " powernap 0\n"
                                             " powernap 1\n"
                                             "UPS Power:\n"
                                             " womp 1\n"
                                             "AC Power: \r\n"
                                             " womp 0\n"
                                             " Sleep On Power Button 1\n");
  EXPECT_THAT(settings.battery, ::testing::ElementsAre(::testing::Pair("powernap", "1")));
  EXPECT_EQ(settings.ac.at("womp"), "0");
  EXPECT_EQ(settings.ac.at("Sleep On Power Button"), "1");
  EXPECT_EQ(settings.ac.size(), 2u);
  EXPECT_TRUE(settings.current.empty());

  const auto absent = PowerSettings::parse(" powernap 1\n", std::nullopt);
  EXPECT_TRUE(absent.battery.empty());
  const auto orphan = PowerSettings::parse("", std::string_view(" powernap 1\nOther:\n womp 1\n"));
  EXPECT_TRUE(orphan.battery.empty());
  EXPECT_TRUE(orphan.ac.empty());
}

TEST(PowerSettingsTest, CapabilitiesAreSingleIndentedWords) {
  const auto caps = PowerCapabilities::parse(
      "Capabilities for AC Power:\n displaysleep\n\twomp\r\n two words\n  \n lowpowermode \n"
      "\u00A0proximitywake\n tcp\u00A0keepalive\nplain\n");
  EXPECT_THAT(caps.keys, ElementsAre("displaysleep", "lowpowermode", "proximitywake", "womp"));
  EXPECT_TRUE(PowerCapabilities::parse("").keys.empty());
}

TEST(PowerSettingsTest, RealPmsetOutputs) {
  const auto g1 = PowerSettings::parse(readFile(fixturePath("real/pmset-g-01.txt")), std::nullopt);
  EXPECT_THAT(g1.sleepPreventedBy, ElementsAre("screensharingd"));
  EXPECT_EQ(g1.current.at("sleep"), "0");
  EXPECT_EQ(g1.current.at("Sleep On Power Button"), "1");
  EXPECT_EQ(g1.current.at("hibernatemode"), "3");
  EXPECT_EQ(g1.current.size(), 18u);

  const auto g2 = PowerSettings::parse(readFile(fixturePath("real/pmset-g-02.txt")), std::nullopt);
  EXPECT_THAT(g2.sleepPreventedBy, ElementsAre("storedownloadd", "storedownloadd"));
  EXPECT_EQ(g2.current.at("sleep"), "60");
  EXPECT_EQ(g2.current.count("Battery Power"), 0u);  // profile lines start in the first column

  const auto g4 = PowerSettings::parse(readFile(fixturePath("real/pmset-g-04.txt")), std::nullopt);
  EXPECT_THAT(g4.sleepPreventedBy, ElementsAre("sharingd", "coreaudiod"));

  // A paste with line numbers: the numbers become part of the keys, so the
  // sleep line is not recognised; nothing crashes.
  const auto g5 = PowerSettings::parse(readFile(fixturePath("real/pmset-g-05.txt")), std::nullopt);
  EXPECT_EQ(g5.current.count("sleep"), 0u);
  EXPECT_EQ(g5.current.at("5. standbydelay"), "4200");
  EXPECT_THAT(g5.sleepPreventedBy, IsEmpty());
}

TEST(PowerSettingsTest, RealCustomAndCapabilityOutputs) {
  // Pastes with bullets or line numbers have no recognisable headings.
  for (const char* name : {"real/pmset-custom-01.txt", "real/pmset-custom-02.txt", "real/pmset-custom-03.txt"}) {
    const auto settings = PowerSettings::parse("", readFile(fixturePath(name)));
    EXPECT_TRUE(settings.battery.empty()) << name;
    EXPECT_TRUE(settings.ac.empty()) << name;
  }
  // The same profile text with its bullets removed parses fully.
  std::string cleaned;
  const std::string bulleted = readFile(fixturePath("real/pmset-custom-03.txt"));
  for (std::string_view line : pmsettext::lines(bulleted)) {
    if (line.starts_with("- ")) line.remove_prefix(2);
    const bool heading = line.ends_with(":");
    cleaned.append(heading ? "" : " ").append(line).append("\n");
  }
  const auto custom = PowerSettings::parse("", cleaned);
  EXPECT_EQ(custom.battery.at("hibernatemode"), "25");
  EXPECT_EQ(custom.battery.at("powernap"), "0");
  EXPECT_EQ(custom.ac.at("powernap"), "1");
  EXPECT_EQ(custom.battery.size(), 18u);
  EXPECT_EQ(custom.ac.size(), 19u);

  // Side-by-side captures hold two words per line: nothing is a capability.
  EXPECT_TRUE(PowerCapabilities::parse(readFile(fixturePath("real/pmset-cap-03.txt"))).keys.empty());
  EXPECT_TRUE(PowerCapabilities::parse(readFile(fixturePath("real/pmset-cap-04.txt"))).keys.empty());
  const auto cap5 = PowerCapabilities::parse(readFile(fixturePath("real/pmset-cap-05.txt")));
  EXPECT_EQ(cap5.keys.size(), 16u);
  EXPECT_TRUE(cap5.contains("womp"));
  EXPECT_TRUE(cap5.contains("ttyskeepawake"));
  EXPECT_FALSE(cap5.contains("hw.model:"));
}

}  // namespace
}  // namespace snoozlet
