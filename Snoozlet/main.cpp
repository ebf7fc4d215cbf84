// snoozlet: the application's entry. Subcommands run in the terminal.

#include "cli/ReportCommand.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const kUsage = R"(usage: snoozlet <command> [options]

Commands:
  report    how the Mac slept: last night's morning report and a table of nights

Run 'snoozlet <command> --help' for a command's options.
)";

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    (args.empty() ? std::cerr : std::cout) << kUsage;
    return args.empty() ? 2 : 0;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  if (command == "report") return snoozlet::cli::runReport(args, std::cout, std::cerr);
  std::cerr << "snoozlet: unknown command '" << command << "'\n" << kUsage;
  return 2;
}
