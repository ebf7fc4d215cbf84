// Where a holder comes from, and its name cleaned on bytes: the cleaning
// must give what the regular expressions that define it give.

#include "sessions/SystemProcesses.h"

#include "common/Pattern.h"
#include "common/Text.h"

#include <gtest/gtest.h>

#include <random>

namespace snoozlet {
namespace {

TEST(SystemProcessesTest, OriginFromTheNameListsThenTheAssertionAndDaemonRules) {
  using enum HolderOrigin;
  const std::tuple<const char*, const char*, HolderOrigin> cases[] = {
      // The lists are exact and case-sensitive.
      {"caffeinate", "com.apple.x", userTool}, {"sudo", "x", userTool}, {"swift-frontend", "x", userTool},
      {"Terminal", "x", userTool}, {"terminal", "x", app}, {"python3.12", "x", app}, {"ollama", "x", userTool},
      {"WindowServer", "x", system}, {"Software Update", "x", system}, {"Safari", "Playing audio", system},
      {"safari", "x", app}, {"powerd ", "x", app},
      // A lower-case name without blanks: an Apple assertion or a final "d" make it the system's.
      {"bluetoothd", "anything", system}, {"helper", "com.apple.x", system}, {"Helper", "com.apple.x", app},
      {"My App", "com.apple.x", app}, {"my helper", "com.apple.x", app}, {"render", "x", app},
      {"my daemond", "x", app}, {"Zoomd", "x", app},
      {"élid", "x", system},  // a Unicode lower-case first letter
      {"", "com.apple.x", app}, {"", "", app},
  };
  for (const auto& [process, name, origin] : cases) {
    EXPECT_EQ(toString(SystemProcesses::origin(process, name)), toString(origin)) << process;
    EXPECT_EQ(SystemProcesses::isSystem(process, name), origin == system) << process;
  }
}

std::string cleanedByPatterns(std::string_view name) {
  static const Pattern uuid(R"([0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})");
  static const Pattern hex(R"(0x[0-9A-Fa-f]+)");
  static const Pattern counter(R"(context\d+)");
  static const Pattern space(R"([\s\p{Z}\v\x{85}]+)");
  std::string text = uuid.replaceAll(name, "");
  text = hex.replaceAll(text, "");
  text = counter.replaceAll(text, "context");
  text = space.replaceAll(text, " ");
  return std::string(text::trimChars(text, " \t<>.()"));
}

TEST(SystemProcessesTest, CleanHolderNameAgreesWithTheRegularExpressions) {
  const char* const fragments[] = {"A1B2C3D4", "-", "0000", "1111-2222-333344445555", "0x", "1a2b", "0", "x",
                                   "context", "12", " ", "  ", "\t", "\xC2\xA0", "\xE2\x80\xAF", "(", ")", "<",
                                   ">", ".", "com.apple.", "g", "F"};
  // What the expressions do: ids, addresses and counters go, white space of
  // every kind collapses, and the wrapping punctuation is trimmed.
  EXPECT_EQ(SystemProcesses::cleanHolderName("com.apple.x (0x1a2b) context12\t\n\u00A0<A1B2C3D4-0000-1111-2222-333344445555>"),
            "com.apple.x () context");
  std::mt19937_64 random(7);
  std::vector<std::string> names = {"A1B2C3D4-0000-1111-2222-333344445555A1B2C3D4-0000-1111-2222-333344445555",
                                    "00x1 0x 0xg context context1a"};
  for (int i = 0; i < 100000; ++i) {
    std::string name;
    for (int k = static_cast<int>(random() % 12); k > 0; --k) name += fragments[random() % std::size(fragments)];
    names.push_back(name);
  }
  for (const auto& name : names) ASSERT_EQ(SystemProcesses::cleanHolderName(name), cleanedByPatterns(name)) << name;
}

}  // namespace
}  // namespace snoozlet
