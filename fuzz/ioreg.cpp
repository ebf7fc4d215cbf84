// The ioreg reader (property-list XML) on arbitrary bytes: no crash or hang,
// text comes out as valid UTF-8, nesting stays within its bound, and the
// battery record builds from whatever is read.

#include <cmath>
#include <variant>

#include "FuzzCheck.h"
#include "archive/BatteryHealth.h"
#include "archive/IoregParser.h"
#include "common/Text.h"

namespace {

using namespace snoozlet;

void checkMap(const PropertyMap& map, int depth);

void checkValue(const PropertyValue& value, int depth) {
  FUZZ_CHECK(depth <= IoregParser::kMaxNesting + 1);
  if (const std::string* s = value.asString()) FUZZ_CHECK(text::isValidUtf8(*s));
  if (const PropertyArray* array = value.asArray())
    for (const PropertyValue& item : *array) checkValue(item, depth + 1);
  if (const PropertyMap* map = value.asDictionary()) checkMap(*map, depth + 1);
  if (const NumberObject* number = value.asNumber()) {
    number->boolValue();
    if (const auto* real = std::get_if<double>(&number->value()); real && !std::isfinite(*real)) {
      FUZZ_CHECK(!number->integerValue());
    }
  }
}

void checkMap(const PropertyMap& map, int depth) {
  for (const auto& [key, value] : map) {
    FUZZ_CHECK(text::isValidUtf8(key));
    checkValue(value, depth);
  }
}

void checkBattery(const PropertyMap& map) {
  checkMap(map, 0);
  const BatteryHealth health = BatteryHealth::from(map);
  if (health.chargePercent) FUZZ_CHECK(*health.chargePercent >= 0 && *health.chargePercent <= 100);
  if (const auto fraction = health.capacityFraction()) FUZZ_CHECK(std::isfinite(*fraction));
  if (health.temperatureCelsius) FUZZ_CHECK(std::isfinite(*health.temperatureCelsius));
  if (health.voltage) FUZZ_CHECK(std::isfinite(*health.voltage));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::bytes(data, size);
  if (const auto xml = IoregParser::parseXml(input)) checkBattery(*xml);
  return 0;
}
