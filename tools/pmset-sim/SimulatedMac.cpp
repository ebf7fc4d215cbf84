#include "SimulatedMac.h"

#include <algorithm>
#include <cctype>

#include "common/Text.h"

namespace snoozlet::SimulatedMac {

std::string_view toString(Profile profile) { return profile == Profile::battery ? "battery" : "ac"; }

std::optional<Profile> profileFromString(std::string_view raw) {
  if (raw == "battery") return Profile::battery;
  if (raw == "ac") return Profile::ac;
  return std::nullopt;
}

const std::vector<Setting>& catalogue() {
  // A recent MacBook on macOS 14: the six settings that matter at night
  // (powernap, tcpkeepalive, womp, proximitywake, ttyskeepawake,
  // lowpowermode) among the usual others.
  static const std::vector<Setting> settings = {
      {"lowpowermode", "0", "0"},  {"standby", "1", "1"},
      {"ttyskeepawake", "1", "1"}, {"hibernatemode", "3", "3"},
      {"powernap", "1", "1"},      {"hibernatefile", "/var/vm/sleepimage", "/var/vm/sleepimage", false},
      {"proximitywake", "1", "1"}, {"displaysleep", "2", "10"},
      {"womp", "0", "1"},          {"networkoversleep", "0", "0"},
      {"sleep", "1", "1"},         {"lidwake", "1", "1"},
      {"halfdim", "1", "1"},       {"lessbright", "1", "0"},
      {"tcpkeepalive", "1", "1"},  {"disksleep", "10", "10"},
  };
  return settings;
}

const Setting* find(std::string_view key) {
  for (const Setting& s : catalogue())
    if (s.key == key) return &s;
  return nullptr;
}

std::optional<std::string> numericValue(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  for (char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  const std::size_t first = text.find_first_not_of('0');
  return std::string(first == std::string_view::npos ? "0" : text.substr(first));
}

Settings Settings::defaults() {
  Settings s;
  for (const Setting& setting : catalogue()) {
    s.battery.emplace(setting.key, setting.battery);
    s.ac.emplace(setting.key, setting.ac);
  }
  return s;
}

Settings applied(Settings settings, const std::vector<Change>& changes) {
  for (const Change& change : changes) settings.profile(change.profile)[change.key] = change.value;
  return settings;
}

namespace {

// A word of a damaged file for a message: quoted, at most 40 bytes, control
// characters shown as "?".
std::string quoted(std::string_view word) {
  std::string out = "\"";
  for (char c : word.substr(0, 40)) out.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c);
  return out + (word.size() > 40 ? "…\"" : "\"");
}

// Why a state line cannot be used, or nothing when it can.
std::optional<std::string> stateLineProblem(const std::vector<std::string_view>& words) {
  if (words.size() != 3) return "expected \"profile key value\"";
  if (!profileFromString(words[0])) return "unknown profile " + quoted(words[0]);
  const Setting* setting = find(words[1]);
  if (!setting) return "unknown setting " + quoted(words[1]);
  if (setting->numeric && !numericValue(words[2])) return quoted(words[2]) + " is not a number";
  return std::nullopt;
}

// Blank-separated words of a line, without empty ones.
std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && text::isBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !text::isBlank(line[i])) ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

// One setting line as pmset prints it: a blank, the key padded to 20
// characters, a blank and the value.
void appendSetting(std::string& out, std::string_view key, std::string_view value) {
  out.push_back(' ');
  out.append(key);
  for (std::size_t n = key.size(); n < 20; ++n) out.push_back(' ');
  out.push_back(' ');
  out.append(value);
}

void appendProfile(std::string& out, const Settings& settings, Profile profile) {
  for (const Setting& setting : catalogue()) {
    appendSetting(out, setting.key, settings.profile(profile).at(std::string(setting.key)));
    out.push_back('\n');
  }
}

}  // namespace

StateRead parseState(std::string_view textIn) {
  StateRead read{Settings::defaults(), {}};
  int number = 0;
  for (std::string_view line : text::split(textIn, '\n')) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view trimmed = text::trimBlanks(line);
    if (trimmed.empty() || trimmed.front() == '#') continue;
    const auto w = words(trimmed);
    if (const auto problem = stateLineProblem(w)) {
      read.problems.push_back("line " + std::to_string(number) + ": " + *problem);
      continue;
    }
    const Setting* setting = find(w[1]);
    read.settings.profile(*profileFromString(w[0]))[std::string(w[1])] =
        setting->numeric ? *numericValue(w[2]) : std::string(w[2]);
  }
  return read;
}

std::string stateText(const Settings& settings) {
  std::string out = "# snoozlet-pmset settings: one \"profile key value\" line per setting\n";
  for (Profile profile : {Profile::battery, Profile::ac}) {
    for (const Setting& setting : catalogue()) {
      out.append(toString(profile)).append(" ").append(setting.key).append(" ");
      out.append(settings.profile(profile).at(std::string(setting.key))).append("\n");
    }
  }
  return out;
}

std::string liveText(const Settings& settings, const std::vector<std::string>& sleepPreventers) {
  std::string out = "System-wide power settings:\nCurrently in use:\n";
  for (const Setting& setting : catalogue()) {
    appendSetting(out, setting.key, settings.battery.at(std::string(setting.key)));
    if (setting.key == "sleep" && !sleepPreventers.empty())
      out.append(" (sleep prevented by ").append(text::join(sleepPreventers, ", ")).append(")");
    out.push_back('\n');
  }
  return out;
}

std::string customText(const Settings& settings) {
  std::string out = "Battery Power:\n";
  appendProfile(out, settings, Profile::battery);
  out.append("AC Power:\n");
  appendProfile(out, settings, Profile::ac);
  return out;
}

std::string capabilitiesText() {
  std::string out = "Capabilities for Battery Power:\n";
  for (const Setting& setting : catalogue()) out.append(" ").append(setting.key).append("\n");
  return out;
}

Battery typicalBattery() {
  return {{"DesignCapacity", 5103LL}, {"AppleRawMaxCapacity", 4386LL}, {"NominalChargeCapacity", 4412LL},
          {"CycleCount", 412LL},      {"DesignCycleCount9C", 1000LL},  {"CurrentCapacity", 81LL},
          {"IsCharging", false},      {"ExternalConnected", false},    {"Temperature", 2960LL},
          {"Voltage", 12410LL}};
}

Battery parseBattery(std::string_view text) {
  Battery battery;
  for (std::string_view line : text::split(text, '\n')) {
    const auto words = text::split(text::trimBlanks(line), ' ', 1, true);
    if (words.size() != 2 || words[0].starts_with("#")) continue;
    const std::string_view key = words[0];
    const std::string_view value = text::trimBlanks(words[1]);
    // Keys are plain words: nothing that could break the XML they are written into.
    if (!std::all_of(key.begin(), key.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
      continue;
    if (value == "Yes" || value == "No") {
      battery.push_back({std::string(key), value == "Yes"});
    } else if (const auto number = text::parseInteger(value)) {
      battery.push_back({std::string(key), *number});
    }
  }
  return battery;
}

std::string batteryText(const Battery& battery) {
  std::string out = "# The simulated battery: Key value (integers, or Yes/No)\n";
  for (const BatteryProperty& p : battery) {
    out += p.key + " ";
    out += std::holds_alternative<bool>(p.value) ? (std::get<bool>(p.value) ? "Yes" : "No")
                                                 : std::to_string(std::get<long long>(p.value));
    out += "\n";
  }
  return out;
}

std::string batteryXml(const Battery& battery) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n<array>\n\t<dict>\n";
  for (const BatteryProperty& p : battery) {
    out += "\t\t<key>" + p.key + "</key>\n\t\t";
    out += std::holds_alternative<bool>(p.value)
               ? (std::get<bool>(p.value) ? "<true/>" : "<false/>")
               : "<integer>" + std::to_string(std::get<long long>(p.value)) + "</integer>";
    out += "\n";
  }
  return out + "\t</dict>\n</array>\n</plist>\n";
}

}  // namespace snoozlet::SimulatedMac
