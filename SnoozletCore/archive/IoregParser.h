#pragma once

// Reads the battery driver's property table from the text that macOS's
// `ioreg` prints for the "AppleSmartBattery" registry entry, in either of its
// two forms:
//
//   - the property-list XML of `ioreg -r -c AppleSmartBattery -a` (what the
//     battery reader runs), and
//   - the indented text form (`"Key" = Value` lines under a
//     `+-o AppleSmartBattery <class …>` node), as people paste it.
//
// Both parsers work on untrusted bytes: they never throw, run in time linear
// in the input, and bound the nesting depth of arrays and dictionaries, so a
// corrupt or hostile input gives fewer keys, never a crash or a hang. Text
// (keys and strings) comes out as well-formed UTF-8.

#include "archive/PropertyValue.h"

#include <optional>
#include <string_view>

namespace snoozlet::IoregParser {

// Arrays and dictionaries nested deeper than this are dropped.
inline constexpr int kMaxNesting = 64;

// Parses property-list XML whose top element is an array of dictionaries (the
// first dictionary is the battery's) or a dictionary. Anything before the
// first <array> or <dict> (a prompt, the XML declaration) is ignored.
// <integer> becomes a native integer (decimal or 0x hexadecimal; beyond the
// 64-bit range, a real number object), <real> a real number object, <true/>
// and <false/> Booleans, <string> text with XML entities decoded, <data> its
// base64-decoded bytes, <date> its text. A value that cannot be read (an
// unknown element, a malformed number) is left out with its key.
//
// Cut-off or broken input: the keys completed before the break are kept and
// the value being read when it came is dropped, so a truncated capture still
// gives its leading keys. No value when there is no dictionary to read (an
// empty array, no XML at all).
std::optional<PropertyMap> parseXml(std::string_view xml);

// Parses the text form. Lines may carry any mix of leading spaces, tabs,
// "|" tree rules, ">" quote markers and backticks; lines that are not a node
// header or a `"Key" = Value` property (prompts, timestamps, braces, other
// text) are ignored. Once a `+-o` node header has been seen, only properties
// of AppleSmartBattery nodes count; property lines before any header (grep
// output) count too. A key seen again replaces the earlier value, so of
// repeated snapshots the last one wins.
//
// Values: decimal integers (printed by ioreg as unsigned 64-bit numbers, so
// 2^63 and above wrap to the negative numbers they stand for), reals as real
// number objects, Yes/No Booleans, "strings", <hex> data, {"k"=v,…}
// dictionaries and (v,…) arrays. Entries with an empty value inside a
// dictionary or array (ioreg's rendering of an unprintable object) are left
// out; a property whose value is cut off or malformed is left out.
// No value when the text holds no property line at all.
std::optional<PropertyMap> parseText(std::string_view text);

}  // namespace snoozlet::IoregParser
