#pragma once

// The command line of the model-driven terminal commands. Four switches are
// global and may stand before or after the command word:
//   --data-dir DIR   the folder of nights.sqlite and changes.json
//   --pmset PATH     the pmset to run
//   --lang en|tr     the language of every text
//   --source pmset|journal|simulated   where the nights come from
// Each command adds switches without a value (--json, --yes, --dry-run),
// switches of its own with a value (report's --log and --tz) and takes
// operands (fix ids, a record id, a demo mood). "--name=value" is accepted
// for every switch with a value. None of these names is one Qt or X11 claims for itself
// (-platform, -display, -geometry, -name, -title, -icon, -session, -reverse …),
// so they keep working when a QGuiApplication reads the same arguments.

#include "common/NightSource.h"
#include "common/Result.h"
#include "sessions/Language.h"

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::cli {

struct CommandLine {
  std::optional<std::string> dataDir;
  std::optional<std::string> pmset;
  std::optional<Language> language;
  std::optional<NightSource> source;
  // The command's own switches that were given ("--json", "--help" …).
  std::set<std::string, std::less<>> flags;
  // The command's own switches with a value, by name ("--log" → "night.log").
  std::map<std::string, std::string, std::less<>> values;
  // Everything else, in order.
  std::vector<std::string> operands;

  bool has(std::string_view flag) const { return flags.contains(flag); }
  bool help() const { return has("--help"); }
  std::optional<std::string> value(std::string_view name) const {
    const auto it = values.find(name);
    return it != values.end() ? std::optional<std::string>(it->second) : std::nullopt;
  }
};

// Parses the arguments after the command word. `flags` are the switches
// without a value the command accepts ("--help", "-h", always is); `valued`
// are its own switches that take one. An unknown switch, or a switch without
// its value, is an error.
Result<CommandLine> parseCommandLine(const std::vector<std::string>& arguments,
                                     const std::vector<std::string_view>& flags,
                                     const std::vector<std::string_view>& valued = {});

// Where the command word is: the first argument that is neither a switch nor
// the value of a global switch. Nothing when there is none.
std::optional<std::size_t> commandIndex(const std::vector<std::string>& arguments);

}  // namespace snoozlet::cli
