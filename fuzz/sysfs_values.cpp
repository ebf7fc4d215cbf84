// The Linux battery reader's value handling: attribute texts as the kernel
// (or a broken driver) might present them, turned into the driver property
// table. Values stay in range; nothing overflows.
//
// Input: the attribute texts in SysfsBatteryReader::attributeNames() order,
// separated by NUL bytes; trailing bytes say which attributes exist and
// whether a charger is online.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "archive/BatteryHealth.h"
#include "common/Text.h"
#include "platform/battery/SysfsBatteryReader.h"

namespace {

using namespace snoozlet;

std::optional<long long> integerAt(const PropertyMap& table, const char* key) {
  const auto found = table.find(key);
  if (found == table.end()) return std::nullopt;
  const long long* value = found->second.asInteger();
  FUZZ_CHECK(value != nullptr);
  return *value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const auto present = provider.ConsumeIntegral<std::uint16_t>();
  const bool chargerOnline = provider.ConsumeBool();
  const std::string rest = provider.ConsumeRemainingBytesAsString();

  const auto& names = SysfsBatteryReader::attributeNames();
  std::vector<std::string_view> parts(names.size());
  fuzz::split(rest, parts.data(), parts.size());

  SysfsBatteryReader::Attributes attributes;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (const auto value = SysfsBatteryReader::parseValue(parts[i])) {
      FUZZ_CHECK(SysfsBatteryReader::parseValue(std::to_string(*value)) == value);
      FUZZ_CHECK(text::trimChars(parts[i], " \t\r\n\v\f").find_first_not_of("+-0123456789") == std::string::npos);
    }
    if (present & (1u << i)) attributes.emplace(std::string(names[i]), std::string(parts[i]));
  }

  const PropertyMap table = SysfsBatteryReader::properties(attributes, chargerOnline);
  for (const char* key : {"CycleCount", "DesignCapacity", "AppleRawMaxCapacity", "Voltage"}) {
    if (const auto value = integerAt(table, key)) FUZZ_CHECK(*value >= 0);
  }
  if (const auto percent = integerAt(table, "CurrentCapacity")) FUZZ_CHECK(*percent >= 0 && *percent <= 100);
  if (const auto temperature = integerAt(table, "Temperature")) FUZZ_CHECK(*temperature % 10 == 0);
  FUZZ_CHECK(table.contains("IsCharging") == attributes.contains("status"));
  const auto external = table.find("ExternalConnected");
  FUZZ_CHECK(external != table.end() && external->second.asBoolean() != nullptr);
  if (chargerOnline) FUZZ_CHECK(*external->second.asBoolean());

  const BatteryHealth health = BatteryHealth::from(table);
  FUZZ_CHECK(health.chargePercent == integerAt(table, "CurrentCapacity"));
  return 0;
}
