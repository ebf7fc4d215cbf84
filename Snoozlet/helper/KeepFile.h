#pragma once

// The text of the helper's own files under /etc (a systemd-tmpfiles file and a
// udev rules file): a short header, then one entry per kept value, each a
// comment naming the sysfs file it is for and the line that sets it at boot:
//
//   # /sys/power/mem_sleep
//   w /sys/power/mem_sleep - - - - deep
//
// An entry is replaced or removed by its sysfs file; lines that are not part
// of an entry (an administrator's own) are kept as they are.

#include <string>
#include <string_view>

namespace snoozlet::keep_file {

// The text with the entry for `file` set to `line` (added at the end, or
// replacing the earlier one in place); a new text starts with the header.
std::string withEntry(std::string_view text, std::string_view file, std::string_view line);
// The text without the entry for `file`.
std::string withoutEntry(std::string_view text, std::string_view file);
// True when the text holds nothing but the header (and blank lines): the
// file can go.
bool onlyHeader(std::string_view text);

}  // namespace snoozlet::keep_file
