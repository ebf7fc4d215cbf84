#include "SimulatedMac.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(SimulatedMacTest, NumericValuesAreDigitsOnlyWrittenWithoutLeadingZeros) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"0", "0"},         {"25", "25"}, {"010", "10"},  {"000", "0"}, {"123456789", "123456789"},
      {"1234567890", {}}, {"", {}},     {"1;rm", {}},   {"abc", {}},  {"-1", {}},
      {"+1", {}},         {" 1", {}},   {"1.5", {}},    {"0x1", {}},  {"\xd9\xa1", {}}};  // Arabic-Indic one
  for (const auto& [given, stored] : cases) EXPECT_EQ(SimulatedMac::numericValue(given), stored) << given;
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
  SimulatedMac::Settings expected = SimulatedMac::Settings::defaults();
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

}  // namespace
}  // namespace snoozlet
