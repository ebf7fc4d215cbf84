#pragma once

// The values of a hardware property table (the battery driver's registry
// entry): native integers, number objects, Booleans, strings, raw data,
// arrays and dictionaries. Number objects are kept apart from native integers
// because the table's readers treat them differently (a number object may
// hold a real and is read through its integer or Boolean value).

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace snoozlet {

class PropertyValue;

// Keys in byte order; values of any kind.
using PropertyMap = std::map<std::string, PropertyValue>;
using PropertyArray = std::vector<PropertyValue>;

// A boxed number holding either an integer or a real.
class NumberObject {
 public:
  static NumberObject ofInteger(long long value) { return NumberObject(value); }
  static NumberObject ofReal(double value) { return NumberObject(value); }

  // The integer it holds, or the real truncated towards zero; no value for a
  // real that is not finite or lies outside the 64-bit range.
  std::optional<long long> integerValue() const;
  // True when the number is neither zero nor NaN.
  bool boolValue() const;
  const std::variant<long long, double>& value() const { return value_; }

  bool operator==(const NumberObject&) const = default;

 private:
  explicit NumberObject(long long v) : value_(v) {}
  explicit NumberObject(double v) : value_(v) {}
  std::variant<long long, double> value_;
};

// Raw bytes, kept apart from text.
struct PropertyData {
  std::string bytes;
  bool operator==(const PropertyData&) const = default;
};

// A nested dictionary; shared and immutable, compared by contents.
class PropertyDictionary {
 public:
  PropertyDictionary();
  explicit PropertyDictionary(PropertyMap map);
  const PropertyMap& map() const;
  bool operator==(const PropertyDictionary& other) const;

 private:
  std::shared_ptr<const PropertyMap> map_;
};

// One value of a property table.
class PropertyValue {
 public:
  using Storage =
      std::variant<long long, NumberObject, bool, std::string, PropertyData, PropertyArray, PropertyDictionary>;

  static PropertyValue integer(long long value) { return PropertyValue(Storage(std::in_place_type<long long>, value)); }
  static PropertyValue number(NumberObject value) { return PropertyValue(Storage(value)); }
  static PropertyValue boolean(bool value) { return PropertyValue(Storage(std::in_place_type<bool>, value)); }
  static PropertyValue string(std::string value) { return PropertyValue(Storage(std::move(value))); }
  static PropertyValue data(std::string bytes) { return PropertyValue(Storage(PropertyData{std::move(bytes)})); }
  static PropertyValue array(PropertyArray values) { return PropertyValue(Storage(std::move(values))); }
  static PropertyValue dictionary(PropertyMap map) {
    return PropertyValue(Storage(PropertyDictionary(std::move(map))));
  }

  // Each accessor gives the value when it is of that kind, else null.
  const long long* asInteger() const { return std::get_if<long long>(&storage_); }
  const NumberObject* asNumber() const { return std::get_if<NumberObject>(&storage_); }
  const bool* asBoolean() const { return std::get_if<bool>(&storage_); }
  const std::string* asString() const { return std::get_if<std::string>(&storage_); }
  const PropertyData* asData() const { return std::get_if<PropertyData>(&storage_); }
  const PropertyArray* asArray() const { return std::get_if<PropertyArray>(&storage_); }
  const PropertyMap* asDictionary() const {
    const auto* d = std::get_if<PropertyDictionary>(&storage_);
    return d ? &d->map() : nullptr;
  }
  const Storage& storage() const { return storage_; }

  bool operator==(const PropertyValue&) const = default;

 private:
  explicit PropertyValue(Storage storage) : storage_(std::move(storage)) {}
  Storage storage_;
};

inline const PropertyMap& PropertyDictionary::map() const { return *map_; }

// Reads a key as an integer: a native integer as is, a number object through
// its integer value; anything else (or a missing key) gives no value.
std::optional<long long> integerProperty(const PropertyMap& map, const std::string& key);

// Reads a key as a flag: a Boolean as is, a number (native or boxed) through
// its Boolean value; anything else (or a missing key) is false.
bool flagProperty(const PropertyMap& map, const std::string& key);

}  // namespace snoozlet
