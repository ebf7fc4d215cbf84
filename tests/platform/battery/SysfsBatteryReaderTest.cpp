#include "platform/battery/SysfsBatteryReader.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>

namespace snoozlet {
namespace {

using testing::TempDir;
using Attributes = std::map<std::string, std::string>;

// One power supply folder with one file per attribute, as the kernel shows them.
void addSupply(const TempDir& root, const std::string& name, const Attributes& attributes) {
  std::filesystem::create_directories(root / name);
  for (const auto& [key, value] : attributes) testing::writeFile(root / name / key, value + "\n");
}

const Attributes kMains{{"type", "Mains"}, {"online", "0"}};

TEST(SysfsBatteryReaderTest, ChargeBasedBattery) {
  TempDir root;
  addSupply(root, "AC", kMains);
  addSupply(root, "BAT0", {{"type", "Battery"}, {"present", "1"}, {"status", "Discharging"}, {"cycle_count", "292"},
                          {"charge_full_design", "5103000"}, {"charge_full", "4382400"}, {"charge_now", "1000000"},
                          {"capacity", "86"}, {"temp", "301"}, {"voltage_now", "12650400"},
                          {"voltage_min_design", "11400000"}});
  SysfsBatteryReader reader(root.path());
  const auto table = reader.readProperties();
  ASSERT_TRUE(table);
  EXPECT_EQ(*table, PropertyMap({{"CycleCount", PropertyValue::integer(292)},
                                 {"DesignCapacity", PropertyValue::integer(5103)},
                                 {"AppleRawMaxCapacity", PropertyValue::integer(4382)},
                                 {"CurrentCapacity", PropertyValue::integer(86)},
                                 {"Temperature", PropertyValue::integer(3010)},
                                 {"Voltage", PropertyValue::integer(12650)},
                                 {"IsCharging", PropertyValue::boolean(false)},
                                 {"ExternalConnected", PropertyValue::boolean(false)}}));
  EXPECT_EQ(reader.read(), BatteryHealth::from(*table));
}

TEST(SysfsBatteryReaderTest, EnergyBasedBatteryConvertsAtTheDesignVoltage) {
  TempDir root;
  addSupply(root, "BAT1", {{"type", "Battery"}, {"status", "Charging"}, {"energy_full_design", "57000000"},
                          {"energy_full", "48000000"}, {"energy_now", "24000000"},
                          {"voltage_min_design", "11400000"}, {"temp", "-52"}});
  const auto table = SysfsBatteryReader(root.path()).readProperties();
  ASSERT_TRUE(table);
  EXPECT_EQ(integerProperty(*table, "DesignCapacity"), 5000);       // 57 Wh / 11.4 V
  EXPECT_EQ(integerProperty(*table, "AppleRawMaxCapacity"), 4211);  // 4210.5…
  EXPECT_EQ(integerProperty(*table, "CurrentCapacity"), 50);        // no capacity file: now over full
  EXPECT_EQ(integerProperty(*table, "Temperature"), -520);
  EXPECT_FALSE(table->contains("Voltage"));
  EXPECT_FALSE(table->contains("CycleCount"));
  // Charging means outside power even though no adapter is listed.
  EXPECT_TRUE(flagProperty(*table, "IsCharging"));
  EXPECT_TRUE(flagProperty(*table, "ExternalConnected"));

  // Without a design voltage there is no honest conversion.
  std::filesystem::remove(root / "BAT1" / "voltage_min_design");
  const auto bare = SysfsBatteryReader(root.path()).readProperties();
  ASSERT_TRUE(bare);
  EXPECT_FALSE(bare->contains("DesignCapacity"));
  EXPECT_FALSE(bare->contains("AppleRawMaxCapacity"));
}

TEST(SysfsBatteryReaderTest, ReadsTheFirstPresentSystemBattery) {
  TempDir root;
  EXPECT_FALSE(SysfsBatteryReader(root / "missing").read());
  EXPECT_FALSE(SysfsBatteryReader(root.path()).read());
  addSupply(root, "AC", {{"type", "Mains"}, {"online", "1"}});
  addSupply(root, "hidpp_battery_0", {{"type", "Battery"}, {"scope", "Device"}, {"capacity", "40"}});
  addSupply(root, "BAT0", {{"type", "Battery"}, {"present", "0"}, {"capacity", "12"}});
  addSupply(root, "BAT9", {{"type", "garbage"}, {"capacity", "40"}});
  EXPECT_FALSE(SysfsBatteryReader(root.path()).read());
  const auto charge = [&] { return SysfsBatteryReader(root.path()).read().value_or(BatteryHealth{}).chargePercent; };
  addSupply(root, "macsmc-battery", {{"type", "Battery"}, {"capacity", "10"}});
  EXPECT_EQ(charge(), 10);
  addSupply(root, "BAT1", {{"type", "Battery"}, {"capacity", "11"}});
  addSupply(root, "BAT2", {{"type", "Battery"}, {"capacity", "13"}, {"scope", "System"}});
  EXPECT_EQ(charge(), 11);
}

TEST(SysfsBatteryReaderTest, ExternalPowerComesFromAnOnlineAdapter) {
  struct Case {
    std::string adapterType;
    std::string online;
    std::string status;
    bool external;
    bool charging;
  };
  const Case cases[] = {
      {"Mains", "1", "Not charging", true, false},    {"USB_C", "1", "Full", true, false},
      {"USB", "1", "Discharging", true, false},       {"Mains", "0", "Full", false, false},
      {"Mains", "0", "Not charging", false, false},   {"Mains", "abc", "Discharging", false, false},
      {"Wireless", "1", "Discharging", false, false}, {"Mains", "0", "Charging", true, true},
  };
  for (const auto& c : cases) {
    TempDir root;
    addSupply(root, "ADP1", {{"type", c.adapterType}, {"online", c.online}});
    addSupply(root, "BAT0", {{"type", "Battery"}, {"status", c.status}});
    const auto health = SysfsBatteryReader(root.path()).read();
    ASSERT_TRUE(health);
    EXPECT_EQ(health->externalConnected, c.external) << c.adapterType << " " << c.online << " " << c.status;
    EXPECT_EQ(health->isCharging, c.charging) << c.status;
  }
}

TEST(SysfsBatteryReaderTest, GarbageAttributesAreLeftOut) {
  TempDir root;
  addSupply(root, "BAT0", {{"type", "Battery"}, {"cycle_count", "abc"}, {"charge_full_design", "-5"},
                          {"charge_full", ""}, {"capacity", "4000"}, {"temp", "99999999999999999999999"},
                          {"voltage_now", "12.5V"}, {"energy_full_design", std::string("12\0" "34", 5)},
                          {"voltage_min_design", "0"}, {"energy_full", "48000000"}});
  std::filesystem::create_directories(root / "BAT0" / "status");  // a folder, not a file
  testing::writeFile(root / "BAT0" / "charge_now", std::string(10'000, '7'));
  const auto table = SysfsBatteryReader(root.path()).readProperties();
  ASSERT_TRUE(table);
  EXPECT_EQ(*table, PropertyMap({{"ExternalConnected", PropertyValue::boolean(false)}}));
  EXPECT_EQ(SysfsBatteryReader(root.path()).read(), BatteryHealth{});
}

TEST(SysfsBatteryReaderTest, HugeNumbersDoNotOverflow) {
  TempDir root;
  const std::string most = "9223372036854775807";
  addSupply(root, "BAT0", {{"type", "Battery"}, {"cycle_count", most}, {"charge_full_design", most},
                          {"energy_full", most}, {"voltage_min_design", "1"}, {"charge_now", most}, {"energy_now", "1"},
                          {"temp", "-9223372036854775808"}, {"voltage_now", most}});
  const auto table = SysfsBatteryReader(root.path()).readProperties();
  ASSERT_TRUE(table);
  EXPECT_EQ(integerProperty(*table, "CycleCount"), 9223372036854775807);
  EXPECT_EQ(integerProperty(*table, "DesignCapacity"), 9223372036854776);
  EXPECT_EQ(integerProperty(*table, "Voltage"), 9223372036854776);
  EXPECT_FALSE(table->contains("AppleRawMaxCapacity"));  // 9.2e21 mAh does not fit
  EXPECT_FALSE(table->contains("Temperature"));
  EXPECT_EQ(integerProperty(*table, "CurrentCapacity"), 0);  // energy_now over energy_full
}

TEST(SysfsBatteryReaderTest, ValueParsingWithoutFiles) {
  const std::pair<const char*, std::optional<long long>> values[] = {
      {"42", 42},  {" 42\n", 42}, {"+7", 7},    {"-12\r\n", -12}, {"0", 0},    {"", {}},   {"\n", {}},
      {"4 2", {}}, {"42mAh", {}}, {"0x10", {}}, {"-", {}},        {"1e3", {}}, {"٤٢", {}}, {"9223372036854775808", {}}};
  for (const auto& [text, expected] : values) EXPECT_EQ(SysfsBatteryReader::parseValue(text), expected) << text;

  // The pure table agrees with what the reader makes of the same files.
  const SysfsBatteryReader::Attributes attributes{{"capacity", "55\n"},
                                                  {"status", " Charging \n"},
                                                  {"temp", "-45"},
                                                  {"voltage_now", "junk"},
                                                  {"cycle_count", "-3"}};
  EXPECT_EQ(SysfsBatteryReader::properties(attributes, false),
            PropertyMap({{"CurrentCapacity", PropertyValue::integer(55)},
                         {"Temperature", PropertyValue::integer(-450)},
                         {"IsCharging", PropertyValue::boolean(true)},
                         {"ExternalConnected", PropertyValue::boolean(true)}}));
  TempDir root;
  Attributes files{{"type", "Battery"}};
  for (const auto& [name, value] : attributes) files[name] = value;
  addSupply(root, "BAT0", files);
  EXPECT_EQ(SysfsBatteryReader(root.path()).readProperties(), SysfsBatteryReader::properties(attributes, false));
}

}  // namespace
}  // namespace snoozlet
