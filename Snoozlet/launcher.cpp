// snoozlet: the command people type. `report` runs here, on the core alone;
// everything else (the model-driven commands, --measure, help, and later the
// tray) is the application, `snoozlet-app` beside this program, which this
// process becomes with the same arguments. Keeping Qt out of this executable
// keeps `snoozlet report` quick: loading Qt's libraries costs more than
// reading a week of power log.

#include "cli/CommandLine.h"
#include "cli/ReportCommand.h"
#include "platform/Process.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  const auto index = snoozlet::cli::commandIndex(args);
  const bool measuring = std::find(args.begin(), args.end(), "--measure") != args.end();
  if (!measuring && index && args[*index] == "report") {
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(*index));
    return snoozlet::cli::runReport(args, std::cout, std::cerr);
  }

  const auto folder = snoozlet::Process::executableFolder();
  if (folder.empty()) {
    std::cerr << "snoozlet: cannot find the folder of this program (/proc/self/exe is unreadable)\n";
    return 127;
  }
  const std::string app = (folder / "snoozlet-app").string();
  // A caller may start a program with no arguments at all, not even its name.
  char name[] = "snoozlet";
  char* nameOnly[] = {name, nullptr};
  ::execv(app.c_str(), argc > 0 ? argv : nameOnly);
  std::cerr << "snoozlet: cannot run " << app << ": " << std::strerror(errno) << "\n";
  return 127;
}
