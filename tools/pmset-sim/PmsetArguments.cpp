#include "PmsetArguments.h"

#include <optional>

namespace snoozlet::PmsetArguments {

using SimulatedMac::Change;
using SimulatedMac::Profile;

std::string_view failureName(Show show) {
  switch (show) {
    case Show::live: return "live";
    case Show::custom: return "custom";
    case Show::cap: return "cap";
    case Show::log: return "log";
    case Show::battery: return "battery";
  }
  return "live";
}

namespace {

Refusal refuse(std::string message, bool withUsage = false) { return Refusal{std::move(message), withUsage}; }

// Quotes a word of the command line for a message; control characters are
// shown as "?" so a hostile argument cannot rewrite the terminal.
std::string quoted(std::string_view word) {
  std::string out = "'";
  for (char c : word) out.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c);
  return out + "'";
}

Command parseDisplay(const std::vector<std::string_view>& arguments) {
  if (arguments.size() == 1) return Display{Show::live};
  if (arguments.size() > 2) return refuse("pmset: too many arguments after -g", true);
  const std::string_view what = arguments[1];
  if (what == "live") return Display{Show::live};
  if (what == "custom") return Display{Show::custom};
  if (what == "cap") return Display{Show::cap};
  if (what == "log") return Display{Show::log};
  if (what == "smartbattery") return Display{Show::battery};
  return refuse("pmset: unknown -g option " + quoted(what), true);
}

// The profiles a flag selects, or nothing for a word that is not a flag.
std::optional<std::vector<Profile>> profilesOf(std::string_view flag) {
  if (flag == "-a") return std::vector<Profile>{Profile::battery, Profile::ac};
  if (flag == "-b") return std::vector<Profile>{Profile::battery};
  if (flag == "-c") return std::vector<Profile>{Profile::ac};
  return std::nullopt;
}

Command parseSet(const std::vector<std::string_view>& arguments) {
  std::vector<Profile> profiles = {Profile::battery, Profile::ac};
  bool flagWaiting = false;  // a flag not yet followed by a pair
  std::vector<Change> changes;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view word = arguments[i];
    if (auto selected = profilesOf(word)) {
      if (flagWaiting) return refuse("pmset: no setting given after " + std::string(arguments[i - 1]), true);
      profiles = std::move(*selected);
      flagWaiting = true;
      continue;
    }
    if (word == "-u") return refuse("pmset: -u: this Mac has no UPS attached");
    if (word.starts_with("-")) return refuse("pmset: unknown option " + quoted(word), true);
    const SimulatedMac::Setting* setting = SimulatedMac::find(word);
    if (!setting) return refuse("pmset: unknown setting " + quoted(word), true);
    if (i + 1 >= arguments.size()) return refuse("pmset: no value given for " + quoted(word), true);
    if (!setting->numeric) return refuse("pmset: " + std::string(setting->key) + " cannot be changed on this Mac");
    const std::string_view given = arguments[++i];
    const auto value = SimulatedMac::numericValue(given);
    if (!value) return refuse("pmset: bad value " + quoted(given) + " for " + quoted(word) + ": expected a number");
    for (Profile profile : profiles) changes.push_back({profile, std::string(setting->key), *value});
    flagWaiting = false;
  }
  if (flagWaiting) return refuse("pmset: no setting given after " + std::string(arguments.back()), true);
  return Set{std::move(changes)};
}

}  // namespace

Command parse(const std::vector<std::string_view>& arguments) {
  if (arguments.empty()) return refuse("pmset: no command given", true);
  if (arguments[0] == "--help" || arguments[0] == "-h") {
    if (arguments.size() == 1) return Help{};
    return refuse("pmset: too many arguments after " + std::string(arguments[0]), true);
  }
  if (arguments[0] == "-g") return parseDisplay(arguments);
  return parseSet(arguments);
}

std::string usage() {
  return "Usage: snoozlet-pmset -g [live | custom | cap | log | smartbattery]\n"
         "       snoozlet-pmset [-a | -b | -c] SETTING VALUE [SETTING VALUE ...]\n"
         "       snoozlet-pmset --help\n";
}

std::string help() {
  std::string out =
      "snoozlet-pmset: a simulated Mac with pmset's command line, so Snoozlet runs end to end\n"
      "without macOS. It acts as a laptop on battery power.\n"
      "\n" +
      usage() +
      "\n"
      "Commands:\n"
      "  -g, -g live   the settings in use (the battery profile)\n"
      "  -g custom     both profiles, \"Battery Power:\" and \"AC Power:\"\n"
      "  -g cap        the settings this Mac supports\n"
      "  -g log        the power log: the file \"log\" in the state folder when there is one\n"
      "                (a log captured on a real Mac with pmset -g log), otherwise a\n"
      "                demonstration week ending on the day the log was first asked for\n"
      "  -g smartbattery  the battery's registry entry as ioreg -r -c AppleSmartBattery -a\n"
      "                prints it (not a pmset command): a typical three-year-old laptop\n"
      "                battery, kept in the state folder's \"battery\" file\n"
      "  -a, -b, -c    change the following settings in both profiles, on battery, or on\n"
      "                AC power; settings before any of these change both profiles.\n"
      "                Values are numbers (ASCII digits). Nothing is changed unless every\n"
      "                setting and value is valid. No administrator rights are needed.\n"
      "\n"
      "Settings:";
  for (const auto& setting : SimulatedMac::catalogue()) out.append(" ").append(setting.key);
  out +=
      "\n"
      "  (hibernatefile is shown but cannot be changed)\n"
      "\n"
      "Files:\n"
      "  The state folder is $SNOOZLET_PMSET_HOME, else $XDG_STATE_HOME/snoozlet-pmset,\n"
      "  else ~/.local/state/snoozlet-pmset; it is created on first use and holds:\n"
      "  settings    the changed profiles\n"
      "  demo        the day and mood of the demonstration week (delete it to start\n"
      "              a new week)\n"
      "  battery     one \"Key value\" line per battery property\n"
      "  log         a power log to show instead of the demonstration week, when you\n"
      "              put one there\n"
      "\n"
      "Environment:\n"
      "  SNOOZLET_PMSET_HOME        the state folder\n"
      "  SNOOZLET_PMSET_DEMO_MOOD   soundAsleep, restless (default) or sleepless: the mood of\n"
      "                             the demonstration week's last night, read only when the\n"
      "                             week is first created\n"
      "  SNOOZLET_PMSET_PREVENTERS  comma-separated process names that -g reports as\n"
      "                             preventing sleep right now\n"
      "Testing aids:\n"
      "  SNOOZLET_PMSET_TODAY       YYYY-MM-DD: the day taken as today for a new\n"
      "                             demonstration week (default: the local date)\n"
      "  SNOOZLET_PMSET_FAIL        comma-separated commands that fail with exit status 1\n"
      "                             and a message on standard error: live (-g), custom,\n"
      "                             cap, log, battery (-g smartbattery), set (-a/-b/-c)\n"
      "\n"
      "Exit status:\n"
      "  0   success\n"
      "  1   a refused command or value, or a failure; the reason is on standard error\n";
  return out;
}

}  // namespace snoozlet::PmsetArguments
