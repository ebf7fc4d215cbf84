// Holder-name cleaning works on bytes; it must give what the regular
// expressions that define it give.

#include "sessions/SystemProcesses.h"

#include "common/Pattern.h"
#include "common/Text.h"

#include <gtest/gtest.h>

#include <random>

namespace snoozlet {
namespace {

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

TEST(CleanHolderNameTest, Examples) {
  using SystemProcesses::cleanHolderName;
  EXPECT_EQ(cleanHolderName("com.apple.x (0x1a2b) context12 <A1B2C3D4-0000-1111-2222-333344445555>"),
            "com.apple.x () context");
  // White space of every kind collapses to one space; line breaks included.
  EXPECT_EQ(cleanHolderName("Playing\t\taudio\nnow\u00A0\u2003here"), "Playing audio now here");
  EXPECT_EQ(cleanHolderName("  <<..(Backup)..>>\t"), "Backup");
  EXPECT_EQ(cleanHolderName("job.a1b2c3d4-0000-1111-2222-333344445555"), "job");
  EXPECT_EQ(cleanHolderName("0xFF"), "");
  EXPECT_EQ(cleanHolderName("contextual context007"), "contextual context");
  EXPECT_EQ(cleanHolderName(""), "");
}

TEST(CleanHolderNameTest, AgreesWithTheRegularExpressions) {
  const char* const fragments[] = {"A1B2C3D4", "-", "0000", "1111-2222-333344445555", "0x", "1a2b", "0", "x",
                                   "context", "12", " ", "  ", "\t", "\xC2\xA0", "\xE2\x80\xAF", "(", ")", "<",
                                   ">", ".", "com.apple.", "g", "F"};
  std::mt19937_64 random(7);
  std::vector<std::string> names = {"com.apple.x (0x1a2b) context12 <A1B2C3D4-0000-1111-2222-333344445555>",
                                    "A1B2C3D4-0000-1111-2222-333344445555A1B2C3D4-0000-1111-2222-333344445555",
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
