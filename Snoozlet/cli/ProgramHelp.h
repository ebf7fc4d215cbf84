#pragma once

// The text of `snoozlet --help`: what Snoozlet does, its commands, the
// options every command takes, its environment, files and exit status. The
// manual page snoozlet(1) is made from this text and the commands' own help
// texts at build time, so the two say the same.

#include <string>

namespace snoozlet::cli {

std::string programHelp();

// The synopsis alone, for a command line that cannot be run.
std::string programUsage();

}  // namespace snoozlet::cli
