#pragma once

// A manual page in section 1, written in the man macros from a program's
// --help text (see HelpText.h): the synopsis becomes SYNOPSIS, the text before
// the first heading DESCRIPTION, and each headed section the page's section
// of that name (Commands, Options…, Exit status, Environment and Testing
// aids, Files; any other heading stays in DESCRIPTION under its own name).
// A program with subcommands gives each command's help as a subsection of
// COMMANDS instead of its own short list. Sections come in the usual order:
// NAME, SYNOPSIS, DESCRIPTION, COMMANDS, OPTIONS, EXIT STATUS, ENVIRONMENT,
// FILES, SEE ALSO.

#include "HelpText.h"

#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::manual {

struct CommandHelp {
  // The subsection's title: the command word ("report", "--measure").
  std::string name;
  HelpText help;
};

struct ManPage {
  std::string program;  // "snoozlet"
  std::string summary;  // the NAME line's description
  std::string date;     // YYYY-MM-DD
  std::string source;   // "Snoozlet 1.0"
  HelpText help;
  // A command's "Options of every command" section is left out: OPTIONS has it.
  std::vector<CommandHelp> commands;
  std::vector<std::string> seeAlso;  // "snoozlet-pmset(1)"
};

std::string render(const ManPage& page);

// Text made safe for roff: backslashes and hyphen-minus escaped (so that
// options and names can be copied from the page), characters beyond ASCII as
// \[uXXXX] and a line that would start with a control character guarded.
std::string roffText(std::string_view text);

}  // namespace snoozlet::manual
