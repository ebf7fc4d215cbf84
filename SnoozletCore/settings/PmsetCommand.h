#pragma once

// The exact command text the privileged runner executes. Text is built only
// from checked parts: the key must be one of the six catalogue keys, the value
// one to three numeric characters and the pmset path a plain absolute path, so
// nothing on the way to the administrator shell needs quoting. A part that
// fails its check makes the builder refuse with an error, and the caller then
// runs nothing.

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/Result.h"
#include "settings/FixPlan.h"

namespace snoozlet::PmsetCommand {

inline constexpr std::string_view kDefaultPath = "/usr/bin/pmset";

// "/usr/bin/pmset".
std::string_view path();

// The six catalogue keys, built once from the catalogue.
const std::set<std::string>& allowedKeys();

// True when the key is a catalogue key and the value is one to three
// characters (code points), each numeric in the Unicode sense.
bool isSafe(std::string_view key, std::string_view value);

// True when a pmset path can appear unquoted in a shell command: absolute and
// made only of ASCII letters, digits, "/", ".", "_" and "-".
bool isSafePath(std::string_view pmsetPath);

// "<pmset> <scope flag> <key> <value>", e.g. "/usr/bin/pmset -b powernap 0".
Result<std::string> line(PowerScope scope, std::string_view key, std::string_view value,
                         std::string_view pmsetPath = kDefaultPath);

// The run lines of the plan's changes (each setting its target), in order.
Result<std::vector<std::string>> lines(const FixPlan& plan, std::string_view pmsetPath = kDefaultPath);

// The lines restoring each change's previous value, last change first.
Result<std::vector<std::string>> undoLines(const FixPlan& plan, std::string_view pmsetPath = kDefaultPath);

// `lines` joined with " && "; empty for an empty plan.
Result<std::string> shellText(const FixPlan& plan, std::string_view pmsetPath = kDefaultPath);

// `undoLines` joined with " && ".
Result<std::string> undoShellText(const FixPlan& plan, std::string_view pmsetPath = kDefaultPath);

// do shell script "<shellText>" with administrator privileges
Result<std::string> appleScript(const FixPlan& plan, std::string_view pmsetPath = kDefaultPath);

}  // namespace snoozlet::PmsetCommand
