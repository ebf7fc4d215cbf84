#include "archive/IoregParser.h"

#include "TestSupport.h"
#include "archive/BatteryHealth.h"

#include <gtest/gtest.h>

#include <string>

namespace snoozlet {
namespace {

using testing::fixturePath;
using testing::readFile;

std::optional<long long> intOf(const PropertyMap& map, const std::string& key) { return integerProperty(map, key); }

const PropertyMap& dictOf(const PropertyMap& map, const std::string& key) {
  static const PropertyMap empty;
  const auto it = map.find(key);
  if (it == map.end() || !it->second.asDictionary()) {
    ADD_FAILURE() << "no dictionary under " << key;
    return empty;
  }
  return *it->second.asDictionary();
}

std::string plist(std::string_view body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
         "<plist version=\"1.0\">\n<array>\n" +
         std::string(body) + "\n</array>\n</plist>\n";
}

TEST(IoregParserTest, CutXmlCaptureKeepsItsCompletedKeys) {
  const auto map = IoregParser::parseXml(readFile(fixturePath("real/ioreg-battery-09.txt")));
  ASSERT_TRUE(map);
  EXPECT_EQ(intOf(*map, "Amperage"), -1889);
  EXPECT_EQ(intOf(*map, "AppleRawCurrentCapacity"), 6974);
  EXPECT_EQ(intOf(*map, "AppleRawMaxCapacity"), 8747);
  EXPECT_EQ(intOf(*map, "AvgTimeToEmpty"), 221);
  EXPECT_EQ(intOf(*map, "AvgTimeToFull"), 65535);
  EXPECT_EQ(intOf(dictOf(*map, "AdapterDetails"), "FamilyCode"), 0);
  const auto& adapters = map->at("AppleRawAdapterDetails");
  ASSERT_TRUE(adapters.asArray());
  ASSERT_EQ(adapters.asArray()->size(), 1u);
  // The capture stops inside BatteryData: that value is dropped, not kept half read.
  EXPECT_FALSE(map->contains("BatteryData"));
  EXPECT_EQ(map->size(), 8u);

  const BatteryHealth h = BatteryHealth::from(*map);
  EXPECT_EQ(h.fullChargeCapacity, 8747);
  EXPECT_FALSE(h.cycleCount);
  EXPECT_FALSE(h.chargePercent);
}

TEST(IoregParserTest, XmlValuesOfEveryKind) {
  const auto map = IoregParser::parseXml(plist(R"(<dict>
    <key>CycleCount</key><integer>292</integer>
    <key>Hex</key><integer> 0x1F </integer>
    <key>Huge</key><integer>18446744073172697098</integer>
    <key>Temperature</key><real>30.5</real>
    <key>IsCharging</key><true/>
    <key>ExternalConnected</key><false/>
    <key>Name</key><string>Tom &amp; Jerry &lt;3 &#x131;&#351; &bogus; &#0;</string>
    <key>Raw</key><data>
      AAEC/w==
    </data>
    <key>Made</key><date>2024-12-01T10:00:00Z</date>
    <key>Cells</key><array><integer>3824</integer><integer>3888</integer></array>
    <key>Empty</key><dict/>
    <key>Strange</key><unknown>7</unknown>
    <key>BadNumber</key><integer>12abc</integer>
    <key>BadData</key><data>!!!!</data>
    <key>Nested</key><dict><key>Inner</key><dict><key>Deep</key><integer>1</integer></dict></dict>
    <key>Last</key><string><![CDATA[a<b]]></string>
  </dict>)"));
  ASSERT_TRUE(map);
  EXPECT_EQ(map->at("CycleCount"), PropertyValue::integer(292));
  EXPECT_EQ(map->at("Hex"), PropertyValue::integer(31));
  ASSERT_TRUE(map->at("Huge").asNumber());
  EXPECT_FALSE(map->at("Huge").asNumber()->integerValue());
  EXPECT_EQ(map->at("Temperature"), PropertyValue::number(NumberObject::ofReal(30.5)));
  EXPECT_EQ(map->at("IsCharging"), PropertyValue::boolean(true));
  EXPECT_EQ(map->at("ExternalConnected"), PropertyValue::boolean(false));
  EXPECT_EQ(map->at("Name"), PropertyValue::string("Tom & Jerry <3 ış &bogus; \xEF\xBF\xBD"));
  EXPECT_EQ(map->at("Raw"), PropertyValue::data(std::string("\x00\x01\x02\xff", 4)));
  EXPECT_EQ(map->at("Made"), PropertyValue::string("2024-12-01T10:00:00Z"));
  EXPECT_EQ(map->at("Cells"), PropertyValue::array({PropertyValue::integer(3824), PropertyValue::integer(3888)}));
  EXPECT_EQ(map->at("Empty"), PropertyValue::dictionary({}));
  EXPECT_FALSE(map->contains("Strange"));
  EXPECT_FALSE(map->contains("BadNumber"));
  EXPECT_FALSE(map->contains("BadData"));
  EXPECT_EQ(intOf(dictOf(dictOf(*map, "Nested"), "Inner"), "Deep"), 1);
  EXPECT_EQ(map->at("Last"), PropertyValue::string("a<b"));
}

TEST(IoregParserTest, XmlTopLevelShapes) {
  EXPECT_FALSE(IoregParser::parseXml(""));
  EXPECT_FALSE(IoregParser::parseXml("ioreg: command not found"));
  EXPECT_FALSE(IoregParser::parseXml(plist("")));  // no battery: an empty array
  EXPECT_FALSE(IoregParser::parseXml("<plist><array/></plist>"));
  // A bare dictionary, and the first dictionary of an array.
  EXPECT_EQ(IoregParser::parseXml("<dict><key>A</key><integer>1</integer></dict>"),
            PropertyMap({{"A", PropertyValue::integer(1)}}));
  EXPECT_EQ(IoregParser::parseXml(plist("<string>x</string><dict><key>A</key><integer>1</integer></dict>"
                                        "<dict><key>A</key><integer>2</integer></dict>")),
            PropertyMap({{"A", PropertyValue::integer(1)}}));
  // Cut right after the dictionary opened: a table with nothing in it.
  EXPECT_EQ(IoregParser::parseXml("<array><dict><key>CycleC"), PropertyMap{});
  // A mismatched end tag stops reading; what came before stays.
  EXPECT_EQ(IoregParser::parseXml("<dict><key>A</key><integer>1</integer><key>B</key><integer>2</string>"
                                  "<key>C</key><integer>3</integer></dict>"),
            PropertyMap({{"A", PropertyValue::integer(1)}}));
}

TEST(IoregParserTest, XmlNestingIsBounded) {
  auto nested = [](int depth) {
    std::string s = "<dict><key>Deep</key>";
    for (int i = 0; i < depth; ++i) s += "<array>";
    s += "<integer>1</integer>";
    for (int i = 0; i < depth; ++i) s += "</array>";
    return s + "<key>After</key><integer>2</integer></dict>";
  };
  const auto ok = IoregParser::parseXml(nested(IoregParser::kMaxNesting));
  ASSERT_TRUE(ok);
  EXPECT_TRUE(ok->contains("Deep"));
  // The container past the limit is left out of its parent.
  const auto deep = IoregParser::parseXml(nested(IoregParser::kMaxNesting + 1));
  ASSERT_TRUE(deep);
  PropertyValue expected = PropertyValue::array({});
  for (int i = 1; i < IoregParser::kMaxNesting; ++i) expected = PropertyValue::array({expected});
  EXPECT_EQ(deep->at("Deep"), expected);
  EXPECT_EQ(intOf(*deep, "After"), 2);
  // Hostile depth with no end: no stack overflow, nothing kept.
  const auto hostile = IoregParser::parseXml("<dict><key>X</key>" + std::string(1'000'000, '<') + "array>");
  ASSERT_TRUE(hostile);
  EXPECT_TRUE(hostile->empty());
  std::string opens = "<dict><key>X</key>";
  for (int i = 0; i < 200'000; ++i) opens += "<dict><key>k</key>";
  EXPECT_EQ(IoregParser::parseXml(opens), PropertyMap{});
}

TEST(IoregParserTest, TextNodeWithMarkdownIndent) {
  const auto map = IoregParser::parseText(readFile(fixturePath("real/ioreg-battery-01.txt")));
  ASSERT_TRUE(map);
  EXPECT_EQ(intOf(*map, "CycleCount"), 8);
  EXPECT_EQ(intOf(*map, "DesignCapacity"), 7150);
  EXPECT_EQ(intOf(*map, "MaxCapacity"), 7171);
  EXPECT_EQ(map->at("ExternalChargeCapable"), PropertyValue::boolean(false));
  EXPECT_EQ(map->at("BatteryInstalled"), PropertyValue::boolean(true));
  EXPECT_EQ(map->at("Manufacturer"), PropertyValue::string("SMP"));
  EXPECT_EQ(map->at("IOGeneralInterest"), PropertyValue::string("IOCommand is not serializable"));
  EXPECT_EQ(map->at("CellVoltage"), PropertyValue::array({PropertyValue::integer(4269), PropertyValue::integer(4270),
                                                          PropertyValue::integer(0), PropertyValue::integer(0)}));
  EXPECT_EQ(intOf(dictOf(*map, "LegacyBatteryInfo"), "Cycle Count"), 8);
  ASSERT_TRUE(map->at("ManufacturerData").asData());
  EXPECT_EQ(map->at("ManufacturerData").asData()->bytes.size(), 27u);
  EXPECT_EQ(map->size(), 37u);

  const BatteryHealth h = BatteryHealth::from(*map);
  EXPECT_EQ(h.cycleCount, 8);
  EXPECT_EQ(h.designCycleCount, 1000);
  EXPECT_EQ(h.designCapacity, 7150);
  EXPECT_EQ(h.fullChargeCapacity, 7171);
  EXPECT_FALSE(h.chargePercent);  // 7171 is mAh, not a percentage
  EXPECT_DOUBLE_EQ(h.temperatureCelsius.value_or(0), 30.41);
  EXPECT_DOUBLE_EQ(h.voltage.value_or(0), 8.539);
  EXPECT_FALSE(h.isCharging);
  EXPECT_FALSE(h.externalConnected);
  EXPECT_NEAR(h.capacityFraction().value_or(0), 1.0029, 0.0001);
}

TEST(IoregParserTest, TextCaptureWithHeadingsAndACutLastLine) {
  const auto map = IoregParser::parseText(readFile(fixturePath("real/ioreg-battery-02.txt")));
  ASSERT_TRUE(map);
  EXPECT_EQ(intOf(*map, "CurrentCapacity"), 80);
  EXPECT_EQ(intOf(*map, "AppleRawCurrentCapacity"), 6698);
  EXPECT_EQ(intOf(*map, "UpdateTime"), 1778437783);
  EXPECT_EQ(map->at("built-in"), PropertyValue::boolean(true));
  EXPECT_EQ(map->at("AppleRawAdapterDetails"), PropertyValue::array({}));
  EXPECT_EQ(intOf(dictOf(*map, "CarrierMode"), "CarrierModeHighVoltage"), 4100);
  // (( 7167869599145487988, 6460407809, "BatteryCycleCount" ))
  const auto* legend = map->at("IOReportLegend").asArray();
  ASSERT_TRUE(legend && legend->size() == 1);
  ASSERT_TRUE((*legend)[0].asDictionary());
  const auto* channels = (*legend)[0].asDictionary()->at("IOReportChannels").asArray();
  ASSERT_TRUE(channels && channels->size() == 1);
  EXPECT_EQ((*channels)[0],
            PropertyValue::array({PropertyValue::integer(7167869599145487988), PropertyValue::integer(6460407809),
                                  PropertyValue::string("BatteryCycleCount")}));
  EXPECT_FALSE(map->contains("AppleRawBatteryVoltage"));
  EXPECT_FALSE(map->contains("Model Name"));
  EXPECT_EQ(map->size(), 21u);

  const BatteryHealth h = BatteryHealth::from(*map);
  EXPECT_EQ(h.chargePercent, 80);
  EXPECT_FALSE(h.cycleCount);
  EXPECT_FALSE(h.externalConnected);
}

TEST(IoregParserTest, TextGrepOutputWithGiantNestedValues) {
  const auto map = IoregParser::parseText(readFile(fixturePath("real/ioreg-battery-04.txt")));
  ASSERT_TRUE(map);
  EXPECT_EQ(map->size(), 15u);
  EXPECT_EQ(intOf(*map, "AppleRawBatteryVoltage"), 12690);
  EXPECT_EQ(intOf(*map, "DesignCycleCount9C"), 1000);
  EXPECT_EQ(intOf(*map, "MaxCapacity"), 100);
  EXPECT_EQ(intOf(*map, "Temperature"), 2985);
  // The first line lost its indentation but is whole.
  const auto* adapters = map->at("AppleRawAdapterDetails").asArray();
  ASSERT_TRUE(adapters && adapters->size() == 1);
  EXPECT_EQ(intOf(*(*adapters)[0].asDictionary(), "Watts"), 45);
  // ioreg prints signed numbers unsigned: 18446744073172697098 is -536854518.
  EXPECT_EQ(intOf(*(*adapters)[0].asDictionary(), "FamilyCode"), -536854518);
  const auto& data = dictOf(*map, "BatteryData");
  EXPECT_EQ(intOf(data, "CycleCount"), 292);
  EXPECT_EQ(intOf(data, "DesignCapacity"), 8400);
  EXPECT_EQ(intOf(data, "PassedCharge"), -1078);
  EXPECT_FALSE(data.contains("AdapterPower"));  // printed empty
  EXPECT_FALSE(data.contains("SystemPower"));
  EXPECT_EQ(intOf(dictOf(data, "LifetimeData"), "MaximumTemperature"), 473);
  EXPECT_EQ(data.at("Serial"), PropertyValue::string("C0171041G1WFY2C9I"));
  EXPECT_EQ(intOf(dictOf(*map, "ChargerData"), "NotChargingReason"), 1);

  const BatteryHealth h = BatteryHealth::from(*map);
  EXPECT_EQ(h.designCycleCount, 1000);
  EXPECT_FALSE(h.fullChargeCapacity);  // MaxCapacity 100 is a percentage
  EXPECT_FALSE(h.cycleCount);          // only inside BatteryData here
  EXPECT_DOUBLE_EQ(h.temperatureCelsius.value_or(0), 29.85);
}

TEST(IoregParserTest, TextTimestampedSnapshotsKeepTheLast) {
  const auto map = IoregParser::parseText(readFile(fixturePath("real/ioreg-battery-10.txt")));
  ASSERT_TRUE(map);
  EXPECT_EQ(map->size(), 7u);
  EXPECT_EQ(intOf(*map, "CurrentCapacity"), 6308);
  EXPECT_EQ(intOf(dictOf(*map, "LegacyBatteryInfo"), "Amperage"), -806);
  const BatteryHealth h = BatteryHealth::from(*map);
  EXPECT_EQ(h.cycleCount, 1);
  EXPECT_EQ(h.designCycleCount, 1000);
  EXPECT_EQ(h.designCapacity, 6700);
  EXPECT_EQ(h.fullChargeCapacity, 6667);
  EXPECT_FALSE(h.chargePercent);
}

TEST(IoregParserTest, TextCountsOnlyBatteryNodes) {
  const std::string tree =
      "+-o Root  <class IORegistryEntry, id 0x100000100, retain 30>\n"
      "  {\n"
      "    \"CycleCount\" = 999\n"
      "  }\n"
      "| |   +-o AppleSmartBattery  <class AppleSmartBattery, id 0x100000222, registered>\n"
      "| |     {\n"
      "| |       \"CycleCount\" = 8\r\n"
      "| |       \"Weird\" = Maybe\n"
      "| |       \"Open\" = {\"A\"=1\n"
      "| |       \"Hex\" = 0x10\n"
      "| |       \"Real\" = 2.5\n"
      "| |       \"Quote\" = \"say \"hi\"\"\n"
      "| |       \"Bytes\" = <\"abc\">\n"
      "| |     }\n"
      "| |   +-o AppleSmartBatteryManager  <class AppleSmartBatteryManager>\n"
      "| |       \"CycleCount\" = 1\n";
  const auto map = IoregParser::parseText(tree);
  ASSERT_TRUE(map);
  EXPECT_EQ(intOf(*map, "CycleCount"), 8);
  EXPECT_FALSE(map->contains("Weird"));
  EXPECT_FALSE(map->contains("Open"));
  EXPECT_EQ(intOf(*map, "Hex"), 16);
  EXPECT_EQ(map->at("Real"), PropertyValue::number(NumberObject::ofReal(2.5)));
  EXPECT_EQ(map->at("Quote"), PropertyValue::string("say \"hi\""));
  EXPECT_EQ(map->at("Bytes"), PropertyValue::data("abc"));
  EXPECT_FALSE(IoregParser::parseText("no properties here\n+-o AppleSmartBattery\n"));
  EXPECT_FALSE(IoregParser::parseText(""));
}

TEST(IoregParserTest, TextNestingIsBounded) {
  auto line = [](int depth) {
    return "\"Deep\" = " + std::string(static_cast<std::size_t>(depth), '(') + "1" +
           std::string(static_cast<std::size_t>(depth), ')') + "\n\"After\" = 2\n";
  };
  const auto ok = IoregParser::parseText(line(IoregParser::kMaxNesting));
  ASSERT_TRUE(ok);
  EXPECT_TRUE(ok->contains("Deep"));
  // Deeper containers are left out of their parent; the property stays.
  const auto deep = IoregParser::parseText(line(IoregParser::kMaxNesting + 1));
  ASSERT_TRUE(deep);
  PropertyValue expected = PropertyValue::array({});
  for (int i = 1; i < IoregParser::kMaxNesting; ++i) expected = PropertyValue::array({expected});
  EXPECT_EQ(deep->at("Deep"), expected);
  EXPECT_EQ(intOf(*deep, "After"), 2);
  for (char open : {'{', '('}) {
    const auto hostile = IoregParser::parseText("\"X\" = " + std::string(1'000'000, open) + "\n\"After\" = 2\n");
    ASSERT_TRUE(hostile);
    EXPECT_FALSE(hostile->contains("X"));
    EXPECT_EQ(intOf(*hostile, "After"), 2);
  }
}

}  // namespace
}  // namespace snoozlet
