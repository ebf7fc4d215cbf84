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

PropertyValue integer(long long v) { return PropertyValue::integer(v); }

TEST(SysfsBatteryReaderTest, PropertyMapOfTheAttributes) {
  const std::string most = "9223372036854775807";
  const PropertyValue no = PropertyValue::boolean(false), yes = PropertyValue::boolean(true);
  struct Row {
    const char* what;
    SysfsBatteryReader::Attributes attributes;
    bool chargerOnline;
    PropertyMap expected;
  };
  const Row rows[] = {
      {"charge based",
       {{"present", "1"},
        {"status", "Discharging"},
        {"cycle_count", "292"},
        {"charge_full_design", "5103000"},
        {"charge_full", "4382400"},
        {"charge_now", "1000000"},
        {"capacity", "86"},
        {"temp", "301"},
        {"voltage_now", "12650400"},
        {"voltage_min_design", "11400000"}},
       false,
       {{"CycleCount", integer(292)},
        {"DesignCapacity", integer(5103)},
        {"AppleRawMaxCapacity", integer(4382)},
        {"CurrentCapacity", integer(86)},
        {"Temperature", integer(3010)},
        {"Voltage", integer(12650)},
        {"IsCharging", no},
        {"ExternalConnected", no}}},
      // 57 Wh / 11.4 V is 5000 mAh; 48 Wh gives 4210.5… mAh; no capacity: now over full. Charging means
      // outside power though no adapter is online. A new battery has counted no cycle yet.
      {"energy based",
       {{"status", "Charging"},
        {"energy_full_design", "57000000"},
        {"energy_full", "48000000"},
        {"energy_now", "24000000"},
        {"voltage_min_design", "11400000"},
        {"temp", "-52"},
        {"cycle_count", "0"}},
       false,
       {{"DesignCapacity", integer(5000)},
        {"AppleRawMaxCapacity", integer(4211)},
        {"CurrentCapacity", integer(50)},
        {"Temperature", integer(-520)},
        {"IsCharging", yes},
        {"ExternalConnected", yes},
        {"CycleCount", integer(0)}}},
      {"energy without a design voltage: no honest conversion",
       {{"energy_full_design", "57000000"}, {"energy_full", "48000000"}},
       true,
       {{"ExternalConnected", yes}}},
      {"garbage",
       {{"cycle_count", "-3"},
        {"charge_full_design", "-5"},
        {"charge_full", ""},
        {"capacity", "101"},
        {"temp", "99999999999999999999999"},
        {"voltage_now", "12.5V"},
        {"energy_full_design", std::string("12\0"
                                           "34",
                                           5)},
        {"voltage_min_design", "0"},
        {"energy_full", "48000000"}},
       false,
       {{"ExternalConnected", no}}},
      // 9.2e21 mAh does not fit; energy_now over energy_full is 0%.
      {"huge numbers",
       {{"cycle_count", most},
        {"charge_full_design", most},
        {"energy_full", most},
        {"voltage_min_design", "1"},
        {"charge_now", most},
        {"energy_now", "1"},
        {"temp", "-9223372036854775808"},
        {"voltage_now", most}},
       false,
       {{"CycleCount", integer(9223372036854775807)},
        {"DesignCapacity", integer(9223372036854776)},
        {"Voltage", integer(9223372036854776)},
        {"CurrentCapacity", integer(0)},
        {"ExternalConnected", no}}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(SysfsBatteryReader::properties(row.attributes, row.chargerOnline), row.expected) << row.what;

  const std::pair<const char*, std::optional<long long>> values[] = {
      {"42", 42},  {" 42\n", 42}, {"+7", 7},    {"-12\r\n", -12}, {"0", 0},    {"", {}},   {"\n", {}},
      {"4 2", {}}, {"42mAh", {}}, {"0x10", {}}, {"-", {}},        {"1e3", {}}, {"٤٢", {}}, {"9223372036854775808", {}}};
  for (const auto& [text, expected] : values) EXPECT_EQ(SysfsBatteryReader::parseValue(text), expected) << text;
}

TEST(SysfsBatteryReaderTest, ReadsTheAttributeFilesOfTheFirstPresentSystemBattery) {
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

  // What the reader makes of the files is the table of their contents; a
  // folder, a file too large to be an attribute, or one whose read fails (as
  // a battery's attribute does when its controller does not answer), is left out.
  TempDir other;
  const SysfsBatteryReader::Attributes attributes{
      {"capacity", "55\n"}, {"status", " Charging \n"}, {"temp", "-45"}, {"voltage_now", "junk"}};
  Attributes files{{"type", "Battery"}};
  for (const auto& [name, value] : attributes) files[name] = value;
  addSupply(other, "BAT0", files);
  std::filesystem::create_directories(other / "BAT0" / "cycle_count");
  testing::writeFile(other / "BAT0" / "charge_now", std::string(10'000, '7'));
  std::filesystem::create_symlink("/proc/self/mem", other / "BAT0" / "energy_now");  // reading it fails with EIO
  EXPECT_EQ(SysfsBatteryReader(other.path()).readProperties(), SysfsBatteryReader::properties(attributes, false));
}

TEST(SysfsBatteryReaderTest, ExternalPowerComesFromAnOnlineAdapter) {
  struct Case {
    std::string adapterType, online, status;
    bool external, charging;
  };
  const Case cases[] = {
      {"Mains", "1", "Not charging", true, false},    {"USB_C", "1", "Full", true, false},
      {"Mains", "0", "Full", false, false},           {"Mains", "abc", "Discharging", false, false},
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

}  // namespace
}  // namespace snoozlet
