#pragma once

// The project's manual pages, made from the help texts the programs print:
// snoozlet(1) from `snoozlet --help` and every command's own --help, and
// snoozlet-pmset(1) from `snoozlet-pmset --help`. snoozlet-app takes the
// arguments of snoozlet and shares its page.

#include <string>

namespace snoozlet::manual {

struct Release {
  std::string version;  // "1.0"
  std::string date;     // YYYY-MM-DD
};

std::string snoozletPage(const Release& release);
std::string pmsetPage(const Release& release);

}  // namespace snoozlet::manual
