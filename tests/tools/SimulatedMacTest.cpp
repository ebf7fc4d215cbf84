#include "SimulatedMac.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace snoozlet {
namespace {

using SimulatedMac::Profile;
using SimulatedMac::Settings;

// The six settings the application's fixes act on.
const std::vector<std::string> kFixKeys = {"tcpkeepalive",  "powernap",      "womp",
                                           "proximitywake", "ttyskeepawake", "lowpowermode"};

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    EXPECT_NE(end, std::string::npos) << "the text must end with a line feed";
    if (end == std::string::npos) break;
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

// A setting line as pmset prints it: " key" padded to 21 columns, a blank,
// the value. Returns key and value, failing the test on another layout.
std::pair<std::string, std::string> settingLine(const std::string& line) {
  EXPECT_GE(line.size(), 23u) << line;
  EXPECT_EQ(line[0], ' ') << line;
  EXPECT_NE(line[1], ' ') << line;
  EXPECT_EQ(line[21], ' ') << line;
  EXPECT_NE(line[22], ' ') << line;
  const std::string key = line.substr(1, line.find(' ', 1) - 1);
  EXPECT_EQ(line.find_first_not_of(' ', 1 + key.size()), 22u) << line;
  return {key, line.substr(22)};
}

TEST(SimulatedMacTest, DefaultsAreALaptopOnBatteryWithTheFixKeys) {
  const Settings s = Settings::defaults();
  for (const auto& setting : SimulatedMac::catalogue()) {
    EXPECT_TRUE(s.battery.contains(std::string(setting.key))) << setting.key;
    EXPECT_TRUE(s.ac.contains(std::string(setting.key))) << setting.key;
  }
  const std::map<std::string, std::string> battery = {
      {"powernap", "1"},      {"tcpkeepalive", "1"},  {"womp", "0"},         {"proximitywake", "1"},
      {"ttyskeepawake", "1"}, {"hibernatemode", "3"}, {"lowpowermode", "0"}, {"sleep", "1"},
      {"displaysleep", "2"},  {"disksleep", "10"},    {"standby", "1"}};
  for (const auto& [key, value] : battery) EXPECT_EQ(s.battery.at(key), value) << key;
  EXPECT_EQ(s.ac.at("womp"), "1");
  EXPECT_EQ(s.ac.at("sleep"), "1");

  const auto cap = lines(SimulatedMac::capabilitiesText());
  ASSERT_FALSE(cap.empty());
  EXPECT_EQ(cap[0], "Capabilities for Battery Power:");
  std::set<std::string> keys;
  for (std::size_t i = 1; i < cap.size(); ++i) {
    ASSERT_EQ(cap[i].substr(0, 1), " ") << cap[i];
    EXPECT_EQ(cap[i].find(' ', 1), std::string::npos) << cap[i];
    keys.insert(cap[i].substr(1));
  }
  for (const auto& key : kFixKeys) EXPECT_TRUE(keys.contains(key)) << key;
  EXPECT_EQ(keys.size(), SimulatedMac::catalogue().size());
}

TEST(SimulatedMacTest, NumericValuesAreDigitsOnlyWrittenWithoutLeadingZeros) {
  const struct {
    const char* given;
    std::optional<std::string> stored;
  } cases[] = {{"0", "0"},         {"1", "1"}, {"25", "25"}, {"010", "10"}, {"000", "0"},    {"123456789", "123456789"},
               {"1234567890", {}}, {"", {}},   {"1;rm", {}}, {"abc", {}},   {"-1", {}},      {"+1", {}},
               {" 1", {}},         {"1 ", {}}, {"1.5", {}},  {"0x1", {}},   {"\xd9\xa1", {}}};  // Arabic-Indic one
  for (const auto& c : cases) EXPECT_EQ(SimulatedMac::numericValue(c.given), c.stored) << c.given;
}

TEST(SimulatedMacTest, StateTextReadsBackExactly) {
  const Settings changed = SimulatedMac::applied(Settings::defaults(), {{Profile::battery, "powernap", "0"},
                                                                        {Profile::ac, "womp", "0"},
                                                                        {Profile::battery, "hibernatemode", "25"},
                                                                        {Profile::battery, "powernap", "2"}});
  EXPECT_EQ(changed.battery.at("powernap"), "2");  // the later change wins
  EXPECT_EQ(changed.ac.at("powernap"), "1");
  const auto read = SimulatedMac::parseState(SimulatedMac::stateText(changed));
  EXPECT_TRUE(read.problems.empty());
  EXPECT_EQ(read.settings, changed);
  EXPECT_EQ(SimulatedMac::parseState("").settings, Settings::defaults());
}

TEST(SimulatedMacTest, DamagedStateLinesAreSkippedAndReported) {
  const std::string text =
      "# comment\r\n"
      "battery powernap 0\r\n"
      "\n"
      "battery womp\n"                   // line 4: too short
      "ups sleep 1\n"                    // 5: unknown profile
      "ac Sleep 0\n"                     // 6: keys are case-sensitive
      "ac sleep abc\n"                   // 7
      "battery sleep 1;rm\n"             // 8
      "ac tcpkeepalive 0 extra\n"        // 9
      "battery \x01\x1b[2J 1\n"          // 10: control characters
      "  ac   disksleep\t007  \n"        // blanks and tabs between words
      "battery hibernatefile /tmp/x\n";  // a path, not a number
  const auto read = SimulatedMac::parseState(text);
  Settings expected = Settings::defaults();
  expected.battery["powernap"] = "0";
  expected.ac["disksleep"] = "7";
  expected.battery["hibernatefile"] = "/tmp/x";
  EXPECT_EQ(read.settings, expected);
  ASSERT_EQ(read.problems.size(), 7u);
  for (std::size_t i = 0; i < read.problems.size(); ++i) {
    EXPECT_EQ(read.problems[i].rfind("line " + std::to_string(i + 4) + ": ", 0), 0u) << read.problems[i];
    for (char c : read.problems[i]) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << read.problems[i];
  }
}

TEST(SimulatedMacTest, LiveAndCustomTextsHavePmsetsLayout) {
  const Settings s = SimulatedMac::applied(Settings::defaults(), {{Profile::battery, "powernap", "0"}});

  const auto live = lines(SimulatedMac::liveText(s, {"sharingd", "coreaudiod"}));
  ASSERT_GE(live.size(), 3u);
  EXPECT_EQ(live[0], "System-wide power settings:");
  EXPECT_EQ(live[1], "Currently in use:");
  std::map<std::string, std::string> current;
  for (std::size_t i = 2; i < live.size(); ++i) current.insert(settingLine(live[i]));
  EXPECT_EQ(current.at("powernap"), "0");  // the battery profile is in use
  EXPECT_EQ(current.at("womp"), "0");
  EXPECT_EQ(current.at("sleep"), "1 (sleep prevented by sharingd, coreaudiod)");
  EXPECT_EQ(current.size(), SimulatedMac::catalogue().size());
  EXPECT_EQ(SimulatedMac::liveText(s).find("prevented"), std::string::npos);

  std::map<std::string, std::map<std::string, std::string>> sections;
  std::string heading;
  std::vector<std::string> headings;
  for (const std::string& line : lines(SimulatedMac::customText(s))) {
    if (line[0] != ' ') {
      heading = line;
      headings.push_back(line);
      continue;
    }
    sections[heading].insert(settingLine(line));
  }
  EXPECT_EQ(headings, (std::vector<std::string>{"Battery Power:", "AC Power:"}));
  for (const auto& [key, value] : s.battery) EXPECT_EQ(sections["Battery Power:"].at(key), value) << key;
  for (const auto& [key, value] : s.ac) EXPECT_EQ(sections["AC Power:"].at(key), value) << key;
}

}  // namespace
}  // namespace snoozlet
