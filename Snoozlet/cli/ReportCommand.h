#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace snoozlet::cli {

// `snoozlet report`: last night's morning report in the terminal, or as JSON.
// Returns the process exit status: 0 on success, 2 for bad arguments or an
// unreadable log.
int runReport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// The text of `snoozlet report --help`.
std::string reportHelp();

}  // namespace snoozlet::cli
