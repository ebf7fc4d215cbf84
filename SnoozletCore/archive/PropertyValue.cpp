#include "archive/PropertyValue.h"

#include <cmath>

namespace snoozlet {

std::optional<long long> NumberObject::integerValue() const {
  if (const auto* i = std::get_if<long long>(&value_)) return *i;
  const double d = std::get<double>(value_);
  // 2^63 itself does not fit; -2^63 does.
  constexpr double kLimit = 9223372036854775808.0;
  if (!std::isfinite(d) || d >= kLimit || d < -kLimit) return std::nullopt;
  return static_cast<long long>(std::trunc(d));
}

bool NumberObject::boolValue() const {
  if (const auto* i = std::get_if<long long>(&value_)) return *i != 0;
  const double d = std::get<double>(value_);
  return d != 0 && !std::isnan(d);
}

PropertyDictionary::PropertyDictionary() : map_(std::make_shared<const PropertyMap>()) {}

PropertyDictionary::PropertyDictionary(PropertyMap map) : map_(std::make_shared<const PropertyMap>(std::move(map))) {}

bool PropertyDictionary::operator==(const PropertyDictionary& other) const {
  return map_ == other.map_ || *map_ == *other.map_;
}

std::optional<long long> integerProperty(const PropertyMap& map, const std::string& key) {
  const auto it = map.find(key);
  if (it == map.end()) return std::nullopt;
  if (const auto* i = it->second.asInteger()) return *i;
  if (const auto* n = it->second.asNumber()) return n->integerValue();
  return std::nullopt;
}

bool flagProperty(const PropertyMap& map, const std::string& key) {
  const auto it = map.find(key);
  if (it == map.end()) return false;
  if (const auto* b = it->second.asBoolean()) return *b;
  if (const auto* n = it->second.asNumber()) return n->boolValue();
  // The registry hands every number over boxed, so a native integer stands
  // for a boxed one here: 0 is false, anything else true.
  if (const auto* i = it->second.asInteger()) return *i != 0;
  return false;
}

}  // namespace snoozlet
