#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "settings/PrivilegedRunner.h"

namespace snoozlet {

// A runner that changes nothing: it records the shell text it would have run.
// Safe to call from any thread.
class DryRunRunner final : public PrivilegedRunner {
 public:
  bool isDryRun() const override { return true; }

  // Records the plan's shell text (the run lines joined with " && ", then
  // the helper's command line for each Linux change). Fails, recording
  // nothing, when a part is refused.
  RunResult run(const FixPlan& plan) override;

  // The recorded shell texts, oldest first (a copy).
  std::vector<std::string> scripts() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> scripts_;
};

}  // namespace snoozlet
