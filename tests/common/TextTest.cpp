#include "common/Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace snoozlet {
namespace {

TEST(TextTest, Utf8ReplacementKeepsValidTextAndReplacesBadBytes) {
  EXPECT_EQ(text::decodeUtf8("plain ğüş €"), "plain ğüş €");
  EXPECT_EQ(text::decodeUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  // A truncated three-byte sequence is one replacement character.
  EXPECT_EQ(text::decodeUtf8("a\xE2\x82"), "a\xEF\xBF\xBD");
  // Overlong encodings and surrogates are invalid.
  EXPECT_EQ(text::decodeUtf8("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(text::decodeUtf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_TRUE(text::isValidUtf8("ı\x00x"));
  EXPECT_FALSE(text::isValidUtf8("\xF5\x80\x80\x80"));

  // Bytes that end exactly at the end of their buffer, at every length around the word steps (the address sanitizer
  // sees any read past them), with a bad byte at the end or none.
  for (std::size_t length = 0; length <= 80; ++length) {
    for (const bool badEnd : {false, true}) {
      const auto buffer = std::make_unique<char[]>(length);
      std::memset(buffer.get(), 'a', length);
      if (badEnd && length > 0) buffer[length - 1] = '\xFF';
      std::string expected(length, 'a');
      if (badEnd && length > 0) expected.replace(length - 1, 1, "\xEF\xBF\xBD");
      ASSERT_EQ(text::decodeUtf8(std::string_view(buffer.get(), length)), expected) << length;
    }
  }
}

TEST(TextTest, TrimLowerAndNumbers) {
  EXPECT_EQ(text::trimWhitespace("\xC2\xA0 x y\t\xE2\x80\xAF\r"), "x y");
  EXPECT_EQ(text::trimBlanks(" \tx \n"), "x \n");
  EXPECT_EQ(text::toLower("WİFİ ÜBER Lid"), "wi̇fi̇ über lid");
  EXPECT_EQ(text::toLower("ABC"), "abc");
  EXPECT_EQ(text::parseInteger("-42"), -42);
  EXPECT_EQ(text::parseInteger("+7"), 7);
  EXPECT_EQ(text::parseInteger("9223372036854775807"), 9223372036854775807LL);
  for (const char* bad : {"9223372036854775808", " 1", "1 ", "-"}) EXPECT_FALSE(text::parseInteger(bad)) << bad;
  EXPECT_EQ(text::parseDouble("1.5"), 1.5);
  EXPECT_EQ(text::parseDouble("+1.5"), 1.5);
  EXPECT_EQ(text::parseDouble("-1.5"), -1.5);
  for (const char* bad : {" 1.5", "1.5s", "+-1", "++1", "+", ""}) EXPECT_FALSE(text::parseDouble(bad)) << bad;
  EXPECT_EQ(text::fixed(2.25, 1), "2.2");  // exact binary value, rounded half to even like printf
  EXPECT_EQ(text::fixed(1.0 / 3, 2), "0.33");
  using Pieces = std::vector<std::string_view>;
  EXPECT_EQ(text::split("a,,b", ','), (Pieces{"a", "", "b"}));
  EXPECT_EQ(text::split("", ','), (Pieces{""}));
  EXPECT_EQ(text::split("a,,b", ',', 1, true), (Pieces{"a", ",b"}));
  EXPECT_EQ(text::split("a::b:c", ':', 2, true), (Pieces{"a", "b:c"}));
  EXPECT_EQ(text::split(",a,", ',', 9, true), (Pieces{"a"}));
  EXPECT_EQ(text::replaceAll("a-b--c", "-", "+"), "a+b++c");
  EXPECT_EQ(text::replaceAll("a-b", "", "+"), "a-b");
  EXPECT_EQ(text::replaceAll("aaa", "aa", "b"), "ba");
  EXPECT_EQ(text::join({"a", "", "b"}, ", "), "a, , b");
  EXPECT_EQ(text::trimChars("<(x.y)>", "<>.()"), "x.y");
}

}  // namespace
}  // namespace snoozlet
