#pragma once

// Running the built `snoozlet` as a child process, and a simulated Mac with
// its own state folder for the commands that drive the application model.

#include "TestSupport.h"

#include <filesystem>
#include <memory>
#include <string>

namespace snoozlet::testing {

struct Outcome {
  int status = -1;
  std::string out, err;
};

// Runs the built `snoozlet` with `arguments` (shell words) and standard input
// read from the file `input`.
Outcome runSnoozlet(const std::string& arguments, const std::string& input = "/dev/null");

// Runs a shell command line (which names the program itself) and collects
// its outputs.
Outcome runShell(const std::string& command, const std::string& input = "/dev/null");

// A simulated Mac for the child processes: SNOOZLET_PMSET is the built
// snoozlet-pmset with the state folder "mac", its demonstration week ends on
// 6 December 2026 in UTC, HOME is the folder "home" (so the standard data
// folder is home/.local/share/Snoozlet) and the language is English.
class CliMac {
 public:
  CliMac();
  ~CliMac();

  const TempDir& dir() const { return dir_; }
  // "--data-dir <folder data>".
  std::string dataArgument() const;
  std::filesystem::path journalFile() const { return dir_ / "data" / "changes.json"; }
  std::filesystem::path standardFolder() const { return dir_ / "home" / ".local" / "share" / "Snoozlet"; }
  const std::string& pmset() const { return pmset_; }
  // The value the Mac reports for a key in "-g custom"'s battery profile.
  std::string batterySetting(const std::string& key) const;

 private:
  TempDir dir_;
  std::string pmset_;
  struct Environment;
  std::unique_ptr<Environment> environment_;
};

}  // namespace snoozlet::testing
