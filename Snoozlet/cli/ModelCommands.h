#pragma once

// The terminal front end of the application model: the operations the
// windows offer, as subcommands of `snoozlet`, each driven through AppModel.
//
//   settings   the explained power settings and the fix offered for each
//   fix        review, confirm and apply fixes (--dry-run only records)
//   undo       list the changes in force, or review and put one back
//   history    the archived nights
//   battery    the battery's health
//
// Every command builds the model over the standard data folder (or
// --data-dir) and the configured pmset (or --pmset); all but `undo` refresh
// it first. A QCoreApplication must exist.
//
// Exit status: 0 on success; 1 when pmset fails, the change was refused,
// cancelled or did not take, or it could not be confirmed; 2 for a bad
// argument (an unknown fix or record id among them).

#include "cli/CommandLine.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::cli {

// The streams a command talks through.
struct Terminal {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  // `in` is a terminal that can be asked.
  bool interactive = false;
};

struct ModelCommand {
  std::string_view name;
  // One line for `snoozlet --help`.
  std::string_view summary;
  // The switches without a value it takes besides --help.
  std::vector<std::string_view> flags;
  int (*run)(const CommandLine& line, const Terminal& terminal);
  std::string (*help)();
};

// The five commands, in the order `snoozlet --help` lists them.
const std::vector<ModelCommand>& modelCommands();
// Nothing for a name that is not one of them.
const ModelCommand* findModelCommand(std::string_view name);

int runSettings(const CommandLine& line, const Terminal& terminal);
int runFix(const CommandLine& line, const Terminal& terminal);
int runUndo(const CommandLine& line, const Terminal& terminal);
int runHistory(const CommandLine& line, const Terminal& terminal);
int runBattery(const CommandLine& line, const Terminal& terminal);

// The options every model command takes, for the help texts.
std::string_view globalOptionsHelp();

}  // namespace snoozlet::cli
