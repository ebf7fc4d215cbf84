#pragma once

// The simulated Mac behind `snoozlet-pmset`: a laptop on battery with two
// power profiles (battery and AC) and the settings a recent MacBook lists.
// Everything here is pure: the settings as values, the state file as text,
// and the three text layouts of pmset that the application reads:
//
//   state file text → Settings → pmset -g / -g custom text
//   catalogue       →            pmset -g cap text
//
// The command line (PmsetArguments) turns validated changes into `Change`s;
// the state folder (StateFolder) reads and writes the files.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace snoozlet::SimulatedMac {

// The two power profiles of the machine; it has no UPS.
enum class Profile { battery, ac };

// "battery" / "ac": the words of the state file.
std::string_view toString(Profile profile);
std::optional<Profile> profileFromString(std::string_view raw);

// One setting the machine supports, with the value of a typical laptop in
// each profile. Settings that are not numbers (the hibernate file) are shown
// but cannot be changed.
struct Setting {
  std::string_view key;
  std::string_view battery;
  std::string_view ac;
  bool numeric = true;
};

// Every setting, in the order pmset prints them.
const std::vector<Setting>& catalogue();
// The catalogue entry of a key (exact, case-sensitive), if any.
const Setting* find(std::string_view key);

// The value pmset stores for a value given on the command line: one to nine
// ASCII digits, read as a number and written without leading zeros ("010"
// becomes "10"). Anything else (signs, blanks, words, "1;rm") gives nothing.
std::optional<std::string> numericValue(std::string_view text);

// The values of both profiles. Every catalogue key is present in both.
struct Settings {
  std::map<std::string, std::string> battery;
  std::map<std::string, std::string> ac;

  static Settings defaults();
  const std::map<std::string, std::string>& profile(Profile p) const { return p == Profile::battery ? battery : ac; }
  std::map<std::string, std::string>& profile(Profile p) { return p == Profile::battery ? battery : ac; }

  bool operator==(const Settings&) const = default;
};

// One validated change of one profile.
struct Change {
  Profile profile = Profile::battery;
  std::string key;
  std::string value;
  bool operator==(const Change&) const = default;
};

// The settings with the changes made, in order (a later change of the same
// key wins). Changes are expected to be validated already.
Settings applied(Settings settings, const std::vector<Change>& changes);

// What was read from a state file: the settings (defaults for whatever the
// file does not say) and one message per line that could not be used.
struct StateRead {
  Settings settings;
  std::vector<std::string> problems;
};

// Reads the state file: "profile key value" lines; blank lines and lines
// starting with "#" are skipped. A line with another shape, an unknown
// profile or key, or a value the command line would refuse is skipped and
// reported, so one damaged line never costs the others.
StateRead parseState(std::string_view text);
// The state file for the settings: a comment line, then every catalogue key
// of the battery profile, then of the AC profile.
std::string stateText(const Settings& settings);

// `pmset -g`: the profile in use (battery) under "Currently in use:". When
// processes prevent sleep they are named in a remark on the sleep line, as
// pmset does: "sleep 1 (sleep prevented by a, b)".
std::string liveText(const Settings& settings, const std::vector<std::string>& sleepPreventers = {});
// `pmset -g custom`: "Battery Power:" and "AC Power:", each with its settings.
std::string customText(const Settings& settings);
// `pmset -g cap`: the keys the machine supports, for the profile in use.
std::string capabilitiesText();

// The simulated battery: the properties of its registry entry, by name, as
// integers ("CycleCount" 412) or flags ("IsCharging" false), in file order.
struct BatteryProperty {
  std::string key;
  std::variant<long long, bool> value;
  bool operator==(const BatteryProperty&) const = default;
};
using Battery = std::vector<BatteryProperty>;

// A typical three-year-old laptop battery: 4386 of its designed 5103 mAh
// left after 412 of 1000 rated cycles, 81% charged, on battery, 29.6 °C.
Battery typicalBattery();
// The battery file: one "Key value" line per property, values decimal
// integers or Yes/No. Lines of another shape are skipped.
Battery parseBattery(std::string_view text);
std::string batteryText(const Battery& battery);
// The entry as `ioreg -r -c AppleSmartBattery -a` prints it: a property-list
// array holding one dictionary.
std::string batteryXml(const Battery& battery);

}  // namespace snoozlet::SimulatedMac
