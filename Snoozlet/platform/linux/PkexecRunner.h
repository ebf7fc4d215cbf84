#pragma once

#include <string>
#include <vector>

#include "common/Result.h"
#include "settings/PrivilegedRunner.h"

namespace snoozlet {

// Runs a plan's pmset commands as root through polkit: `pkexec /bin/sh -c
// "<shell text>"`, where polkit asks for the administrator password. Without
// elevation (when the pmset executable is the simulated Mac, owned by the
// user) it runs `/bin/sh -c "<shell text>"` directly.
class PkexecRunner final : public PrivilegedRunner {
 public:
  using Failure = RunFailure;

  struct Options {
    // The pmset executable named in the command text (checked before use).
    std::string pmsetPath = "/usr/bin/pmset";
    // False runs the shell directly, as the user.
    bool elevate = true;
    // The elevation program; a bare name is looked up in PATH.
    std::string elevator = "pkexec";
    std::string shell = "/bin/sh";
  };

  PkexecRunner() = default;
  explicit PkexecRunner(Options options) : options_(std::move(options)) {}

  bool isDryRun() const override { return false; }
  bool asksPassword() const override { return options_.elevate; }

  // Status 126 from pkexec (the password dialog was dismissed) is
  // `cancelled`; any other failure is `script` with the error output.
  RunResult run(const FixPlan& plan) override;

  // The program and arguments run would start, or the refusal of the
  // command text.
  Result<std::vector<std::string>> commandLine(const FixPlan& plan) const;

 private:
  Options options_;
};

}  // namespace snoozlet
