#pragma once

// Reads the battery driver's property table from the property-list XML that
// macOS's `ioreg -r -c AppleSmartBattery -a` prints (what the battery reader
// runs).
//
// The parser works on untrusted bytes: it never throws, runs in time linear
// in the input, and bounds the nesting depth of arrays and dictionaries, so a
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

}  // namespace snoozlet::IoregParser
