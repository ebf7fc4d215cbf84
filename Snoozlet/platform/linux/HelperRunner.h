#pragma once

// Runs a plan on a Linux laptop: its pmset changes (a Mac's, or the simulated
// Mac's) through the runner for those, then each of its Linux changes through
// snoozlet-helper, one run per change and never through a shell:
//   pkexec /usr/libexec/snoozlet/snoozlet-helper write FILE VALUE keep|forget
// pkexec asks for the password under the helper's own polkit action (which
// keeps the authorisation for a few minutes, so a plan of several changes
// asks once). Without elevation (a tree of files standing for the system, or
// a process that is root already) the helper runs directly, with the system
// root in its environment. The first change that fails stops the rest.

#include "platform/linux/SystemRoot.h"
#include "settings/PrivilegedRunner.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace snoozlet {

class HelperRunner final : public PrivilegedRunner {
 public:
  struct Options {
    // The helper program (absolute: pkexec and its polkit action name it so).
    std::string helper;
    // False runs the helper directly.
    bool elevate = true;
    // The elevation program; a bare name is looked up in PATH.
    std::string elevator = "pkexec";
    // Handed to a helper run directly.
    SystemRoot root;
  };

  // `pmset` runs the plan's pmset changes; it may be null when there are none to run.
  HelperRunner(std::shared_ptr<PrivilegedRunner> pmset, Options options);

  bool isDryRun() const override { return false; }
  bool asksPassword() const override { return options_.elevate; }

  // pkexec's status 126 (the password dialog was dismissed) is `cancelled`;
  // any other failure is `script` with the helper's message.
  RunResult run(const FixPlan& plan) override;

  // The program and arguments that run one change, or why the change is refused.
  Result<std::vector<std::string>> commandLine(const SystemChange& change) const;

  // Where the helper is: $SNOOZLET_HELPER; else libexec/snoozlet/snoozlet-helper
  // beside the bin folder of this program (an installed package); else
  // snoozlet-helper beside this program (a build tree).
  static std::string locate();

 private:
  std::shared_ptr<PrivilegedRunner> pmset_;
  Options options_;
};

}  // namespace snoozlet
