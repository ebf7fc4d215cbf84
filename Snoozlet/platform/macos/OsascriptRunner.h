#pragma once

#include <string>

#include "settings/PrivilegedRunner.h"

namespace snoozlet {

// Runs a plan's administrator script (`do shell script "…" with administrator
// privileges`) with `osascript -e`, so that macOS asks for the password.
class OsascriptRunner final : public PrivilegedRunner {
 public:
  using Failure = RunFailure;

  struct Options {
    // The pmset executable named in the script (checked before use).
    std::string pmsetPath = "/usr/bin/pmset";
    std::string osascript = "/usr/bin/osascript";
  };

  OsascriptRunner() = default;
  explicit OsascriptRunner(Options options) : options_(std::move(options)) {}

  bool isDryRun() const override { return false; }

  // AppleScript error -128 (the user cancelled the dialog) is `cancelled`;
  // any other failure is `script` with the script runner's message.
  RunResult run(const FixPlan& plan) override;

  // What osascript reported on its error output, as a failure.
  static Failure failureFrom(std::string_view errorOutput, std::string_view fallback);

 private:
  Options options_;
};

}  // namespace snoozlet
