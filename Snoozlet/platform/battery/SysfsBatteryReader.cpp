#include "platform/battery/SysfsBatteryReader.h"

#include "common/Text.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <vector>

namespace snoozlet {

namespace fs = std::filesystem;

namespace {

// Attributes are a line of text; a larger file is not one.
constexpr std::size_t kMaxAttributeSize = 4096;

// The trimmed contents of an attribute file; no value when it is missing,
// not a regular file, unreadable or too large.
std::optional<std::string> readAttribute(const fs::path& dir, const char* name) {
  const fs::path path = dir / name;
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return std::nullopt;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::string contents;
  char buffer[1024];
  bool ok = true;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) break;
    if (n < 0 || contents.size() + static_cast<std::size_t>(n) > kMaxAttributeSize) {
      ok = false;
      break;
    }
    contents.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  if (!ok) return std::nullopt;
  return std::string(text::trimChars(contents, " \t\r\n\v\f"));
}

std::optional<long long> readInteger(const fs::path& dir, const char* name) {
  const auto value = readAttribute(dir, name);
  return value ? SysfsBatteryReader::parseValue(*value) : std::nullopt;
}

using Attributes = SysfsBatteryReader::Attributes;

// An attribute's trimmed text; no value when it was not read.
std::optional<std::string_view> textOf(const Attributes& attributes, std::string_view name) {
  const auto found = attributes.find(name);
  if (found == attributes.end()) return std::nullopt;
  return text::trimChars(found->second, " \t\r\n\v\f");
}

std::optional<long long> integerOf(const Attributes& attributes, std::string_view name) {
  const auto value = textOf(attributes, name);
  return value ? SysfsBatteryReader::parseValue(*value) : std::nullopt;
}

std::optional<long long> nonNegativeOf(const Attributes& attributes, std::string_view name) {
  const auto value = integerOf(attributes, name);
  return value && *value >= 0 ? value : std::nullopt;
}

// Micro-units to milli-units, rounded to nearest.
long long microToMilli(long long micro) { return micro / 1000 + (micro % 1000 >= 500 ? 1 : 0); }

// A real number rounded to an integer when it fits.
std::optional<long long> rounded(double value) {
  if (!std::isfinite(value) || std::fabs(value) >= 9.2e18) return std::nullopt;
  return std::llround(value);
}

struct Supply {
  std::string name;
  fs::path dir;
  std::string type;
};

std::vector<Supply> listSupplies(const fs::path& root) {
  std::vector<Supply> supplies;
  std::error_code error;
  for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
    const fs::path dir = it->path();
    supplies.push_back({dir.filename().string(), dir, readAttribute(dir, "type").value_or("")});
  }
  std::sort(supplies.begin(), supplies.end(), [](const Supply& a, const Supply& b) {
    const bool aBat = a.name.starts_with("BAT");
    const bool bBat = b.name.starts_with("BAT");
    return aBat != bBat ? aBat : a.name < b.name;
  });
  return supplies;
}

bool isSystemBattery(const Supply& s) {
  if (s.type != "Battery") return false;
  if (readAttribute(s.dir, "scope") == "Device") return false;
  return readInteger(s.dir, "present").value_or(1) != 0;
}

bool isOnlineCharger(const Supply& s) {
  if (s.type != "Mains" && !s.type.starts_with("USB")) return false;
  return readInteger(s.dir, "online").value_or(0) > 0;
}

// mAh from charge_<what> (µAh), else from energy_<what> (µWh) at the design
// voltage: mAh = µWh / µV × 1000.
std::optional<long long> capacityMilliampHours(const Attributes& attributes, const std::string& what,
                                               std::optional<long long> designMicrovolts) {
  if (const auto charge = nonNegativeOf(attributes, "charge_" + what)) return microToMilli(*charge);
  const auto energy = nonNegativeOf(attributes, "energy_" + what);
  if (!energy || !designMicrovolts || *designMicrovolts <= 0) return std::nullopt;
  return rounded(static_cast<double>(*energy) * 1000.0 / static_cast<double>(*designMicrovolts));
}

std::optional<long long> chargePercent(const Attributes& attributes) {
  if (const auto capacity = nonNegativeOf(attributes, "capacity")) return *capacity <= 100 ? capacity : std::nullopt;
  for (const char* unit : {"charge", "energy"}) {
    const auto now = nonNegativeOf(attributes, std::string(unit) + "_now");
    const auto full = nonNegativeOf(attributes, std::string(unit) + "_full");
    if (!now || !full || *full <= 0) continue;
    // A gauge may count a little past full.
    if (*now >= *full) return 100;
    return std::llround(static_cast<double>(*now) * 100.0 / static_cast<double>(*full));
  }
  return std::nullopt;
}

}  // namespace

SysfsBatteryReader::SysfsBatteryReader(fs::path root) : root_(std::move(root)) {}

std::optional<BatteryHealth> SysfsBatteryReader::read() {
  const auto properties = readProperties();
  if (!properties) return std::nullopt;
  return BatteryHealth::from(*properties);
}

const std::vector<std::string_view>& SysfsBatteryReader::attributeNames() {
  static const std::vector<std::string_view> names{"cycle_count",        "voltage_min_design",
                                                   "charge_full_design", "energy_full_design",
                                                   "charge_full",        "energy_full",
                                                   "capacity",           "charge_now",
                                                   "energy_now",         "temp",
                                                   "voltage_now",        "status"};
  return names;
}

std::optional<long long> SysfsBatteryReader::parseValue(std::string_view value) {
  return text::parseInteger(text::trimChars(value, " \t\r\n\v\f"));
}

std::optional<PropertyMap> SysfsBatteryReader::readProperties() const {
  const std::vector<Supply> supplies = listSupplies(root_);
  const auto battery = std::find_if(supplies.begin(), supplies.end(), isSystemBattery);
  if (battery == supplies.end()) return std::nullopt;
  Attributes attributes;
  for (std::string_view name : attributeNames()) {
    if (auto value = readAttribute(battery->dir, std::string(name).c_str()))
      attributes.emplace(name, std::move(*value));
  }
  return properties(attributes, std::any_of(supplies.begin(), supplies.end(), isOnlineCharger));
}

PropertyMap SysfsBatteryReader::properties(const Attributes& attributes, bool chargerOnline) {
  PropertyMap table;
  const auto put = [&table](const char* key, std::optional<long long> value) {
    if (value) table.insert_or_assign(key, PropertyValue::integer(*value));
  };
  put("CycleCount", nonNegativeOf(attributes, "cycle_count"));
  const auto designVoltage = nonNegativeOf(attributes, "voltage_min_design");
  put("DesignCapacity", capacityMilliampHours(attributes, "full_design", designVoltage));
  put("AppleRawMaxCapacity", capacityMilliampHours(attributes, "full", designVoltage));
  put("CurrentCapacity", chargePercent(attributes));
  // Bounded so that the conversion cannot overflow; no battery comes near.
  constexpr long long kTemperatureLimit = 1'000'000'000'000LL;
  if (const auto tenths = integerOf(attributes, "temp");
      tenths && *tenths >= -kTemperatureLimit && *tenths <= kTemperatureLimit) {
    put("Temperature", *tenths * 10);
  }
  if (const auto microvolts = nonNegativeOf(attributes, "voltage_now")) put("Voltage", microToMilli(*microvolts));

  const auto status = textOf(attributes, "status");
  const bool charging = status == "Charging";
  if (status) table.insert_or_assign("IsCharging", PropertyValue::boolean(charging));
  // A battery only charges from outside power, so "Charging" alone tells it
  // on machines that list no adapter.
  table.insert_or_assign("ExternalConnected", PropertyValue::boolean(charging || chargerOnline));
  return table;
}

}  // namespace snoozlet
