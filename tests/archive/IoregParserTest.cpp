#include "archive/IoregParser.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace snoozlet {
namespace {

PropertyValue integer(long long v) { return PropertyValue::integer(v); }

std::string plist(std::string_view body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\">\n<array>\n" +
         std::string(body) + "\n</array>\n</plist>\n";
}

TEST(IoregParserTest, CutCaptureKeepsItsCompletedKeys) {
  const auto map = IoregParser::parseXml(testing::readFile(testing::fixturePath("real/ioreg-battery-09.txt")));
  ASSERT_TRUE(map);
  EXPECT_EQ(integerProperty(*map, "Amperage"), -1889);
  ASSERT_TRUE(map->at("AppleRawAdapterDetails").asArray());
  EXPECT_EQ(map->at("AppleRawAdapterDetails").asArray()->size(), 1u);
  // The capture stops inside BatteryData: that value is dropped, not kept half read.
  EXPECT_FALSE(map->contains("BatteryData"));
  EXPECT_EQ(map->size(), 8u);
}

TEST(IoregParserTest, ValuesOfEveryKind) {
  const std::pair<const char*, std::optional<PropertyValue>> rows[] = {
      {"<integer>292</integer>", integer(292)}, {"<integer> 0x1F </integer>", integer(31)},
      {"<integer>0xaA</integer>", integer(170)}, {"<integer>-0x10</integer>", integer(-16)},
      {"<integer>010</integer>", integer(10)}, {"<integer>-42</integer>", integer(-42)},
      // Beyond 64 bits: a number without an integer value, never a wrapped one.
      {"<integer>18446744073172697098</integer>", PropertyValue::number(NumberObject::ofReal(18446744073172697098.0))},
      {"<integer>0xFFFFFFFFFFFFFFFF</integer>", PropertyValue::number(NumberObject::ofReal(18446744073709551615.0))},
      {"<integer>0x10000000000000000</integer>", std::nullopt}, {"<integer>12abc</integer>", std::nullopt},
      {"<integer>0x</integer>", std::nullopt},
      {"<real>30.5</real>", PropertyValue::number(NumberObject::ofReal(30.5))},
      {"<true/>", PropertyValue::boolean(true)}, {"<false/>", PropertyValue::boolean(false)},
      {"<string>Tom &amp; Jerry &lt;3 &#x131;&#351; &bogus; &#0; &#xD800; &#1114112;</string>",
       PropertyValue::string("Tom & Jerry <3 ış &bogus; \uFFFD \uFFFD \uFFFD")},
      {"<string>&quot;&gt;&apos; a&;b &#x7F;&#x80;&#x7FF;&#x800;&#xFFFF;&#x10000;</string>",
       PropertyValue::string("\">' a&;b \x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80")},
      {"<string><![CDATA[a<b]]></string>", PropertyValue::string("a<b")},
      {"<string>&#9;&#X41;</string>", PropertyValue::string("\tA")},
      {"<date>2024-12-01T10:00:00Z</date>", PropertyValue::string("2024-12-01T10:00:00Z")},
      {"<data>\n  AAEC/w==\n</data>", PropertyValue::data(std::string("\x00\x01\x02\xff", 4))},
      {"<data>AZaz09+/</data>", PropertyValue::data("\x01\x96\xb3\xd3\xdf\xbf")},
      {"<data>QUI</data>", PropertyValue::data("AB")}, {"<data>QQ</data>", PropertyValue::data("A")},
      {"<data>Q</data>", std::nullopt}, {"<data>QQ==QQ==</data>", std::nullopt}, {"<data>!!!!</data>", std::nullopt},
      {"<array><integer>3824</integer><integer>3888</integer></array>",
       PropertyValue::array({integer(3824), integer(3888)})},
      {"<dict/>", PropertyValue::dictionary({})},
      // A key without a value is left out; the dictionary goes on.
      {"<dict><key>A</key><integer>1</integer><key>B</key></dict>", PropertyValue::dictionary({{"A", integer(1)}})},
      {"<dict><key>Inner</key><dict><key>Deep</key><integer>1</integer></dict></dict>",
       PropertyValue::dictionary({{"Inner", PropertyValue::dictionary({{"Deep", integer(1)}})}})},
      {"<unknown>7</unknown>", std::nullopt},
  };
  for (const auto& [xml, expected] : rows) {
    const auto map = IoregParser::parseXml(plist("<dict><key>K</key>" + std::string(xml) +
                                                 "<key>After</key><integer>2</integer></dict>"));
    ASSERT_TRUE(map) << xml;
    EXPECT_EQ(map->contains("K") ? std::optional(map->at("K")) : std::nullopt, expected) << xml;
    EXPECT_EQ(integerProperty(*map, "After"), 2) << xml;
  }
}

TEST(IoregParserTest, TopLevelShapes) {
  EXPECT_FALSE(IoregParser::parseXml("ioreg: command not found"));
  EXPECT_FALSE(IoregParser::parseXml(plist("")));  // no battery: an empty array
  EXPECT_FALSE(IoregParser::parseXml("<plist><array/></plist>"));
  // A bare dictionary, and the first dictionary of an array.
  const PropertyMap one{{"A", integer(1)}};
  EXPECT_EQ(IoregParser::parseXml("<dict><key>A</key><integer>1</integer></dict>"), one);
  EXPECT_EQ(IoregParser::parseXml(plist("<string>x</string><dict><key>A</key><integer>1</integer></dict>"
                                        "<dict><key>A</key><integer>2</integer></dict>")),
            one);
  // Cut right after the dictionary opened: a table with nothing in it.
  EXPECT_EQ(IoregParser::parseXml("<array><dict><key>CycleC"), PropertyMap{});
  // A mismatched end tag stops reading, also where a value should follow a
  // key in a nested dictionary; what came before stays.
  EXPECT_EQ(IoregParser::parseXml("<dict><key>A</key><integer>1</integer><key>K</key><dict><key>B</key></array>"
                                  "<key>C</key><integer>3</integer></dict></dict>"),
            one);
  EXPECT_EQ(IoregParser::parseXml("<dict><key>A</key><integer>1</integer><key>B</key><integer>2</string>"
                                  "<key>C</key><integer>3</integer></dict>"),
            one);
}

TEST(IoregParserTest, NestingIsBounded) {
  auto nested = [](int depth) {
    std::string s = "<dict><key>Deep</key>";
    for (int i = 0; i < depth; ++i) s += "<array>";
    s += "<integer>1</integer>";
    for (int i = 0; i < depth; ++i) s += "</array>";
    return s + "<key>After</key><integer>2</integer></dict>";
  };
  EXPECT_TRUE(IoregParser::parseXml(nested(IoregParser::kMaxNesting)).value().contains("Deep"));
  // The container past the limit is left out of its parent.
  const auto deep = IoregParser::parseXml(nested(IoregParser::kMaxNesting + 1));
  ASSERT_TRUE(deep);
  PropertyValue expected = PropertyValue::array({});
  for (int i = 1; i < IoregParser::kMaxNesting; ++i) expected = PropertyValue::array({expected});
  EXPECT_EQ(deep->at("Deep"), expected);
  EXPECT_EQ(integerProperty(*deep, "After"), 2);
  // Hostile depth with no end: no stack overflow, nothing kept.
  EXPECT_EQ(IoregParser::parseXml("<dict><key>X</key>" + std::string(1'000'000, '<') + "array>"), PropertyMap{});
  std::string opens = "<dict><key>X</key>";
  for (int i = 0; i < 200'000; ++i) opens += "<dict><key>k</key>";
  EXPECT_EQ(IoregParser::parseXml(opens), PropertyMap{});
}

}  // namespace
}  // namespace snoozlet
