#pragma once

// The command line of `snoozlet-pmset`, which keeps pmset's grammar:
//
//   pmset -g [live | custom | cap | log]
//   pmset [-a | -b | -c] KEY VALUE [KEY VALUE …] [-b | -c | -a KEY VALUE …]
//
// A profile flag applies to the pairs after it until the next flag; pairs
// before any flag change both profiles, as with -a. Every pair is checked
// here, so a command with one bad pair is refused as a whole before anything
// is written.

#include "SimulatedMac.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace snoozlet::PmsetArguments {

// What `-g` shows.
enum class Show { live, custom, cap, log, battery };

// The word SNOOZLET_PMSET_FAIL uses for each command: "live", "custom",
// "cap", "log", and "set" for changes.
std::string_view failureName(Show show);
inline constexpr std::string_view setFailureName = "set";

struct Help {
  bool operator==(const Help&) const = default;
};
struct Display {
  Show what = Show::live;
  bool operator==(const Display&) const = default;
};
struct Set {
  std::vector<SimulatedMac::Change> changes;
  bool operator==(const Set&) const = default;
};
// A refused command line: the message for standard error, and whether the
// usage text should follow it.
struct Refusal {
  std::string message;
  bool withUsage = false;
  bool operator==(const Refusal&) const = default;
};

using Command = std::variant<Help, Display, Set, Refusal>;

// Reads the arguments after the program name.
Command parse(const std::vector<std::string_view>& arguments);

// The short usage text printed with refused command lines.
std::string usage();
// The full --help text: the commands, the state folder and the variables.
std::string help();

}  // namespace snoozlet::PmsetArguments
