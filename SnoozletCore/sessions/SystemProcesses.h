#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace snoozlet {

// Who an assertion holder is: part of macOS, a command-line tool the user
// started, or an ordinary app.
enum class HolderOrigin { system, userTool, app };

// Raw values "system", "userTool", "app".
std::string_view toString(HolderOrigin origin);
std::optional<HolderOrigin> holderOriginFromString(std::string_view raw);

namespace SystemProcesses {

// The 31 process names that are part of macOS (Apple's own apps included).
bool isSystemName(std::string_view process);
// The 34 command-line tools and shells a user starts.
bool isUserToolName(std::string_view process);

// Whether the holder (process name, assertion name) belongs to macOS.
bool isSystem(std::string_view process, std::string_view name);
HolderOrigin origin(std::string_view process, std::string_view name);

// The assertion name without its volatile parts (UUIDs, hexadecimal numbers,
// context counters), white space collapsed and "<>.()" trimmed at the ends.
std::string cleanHolderName(std::string_view name);

}  // namespace SystemProcesses

}  // namespace snoozlet
