#pragma once

// Runners carry out a fix plan with administrator rights. The application
// holds one behind this interface: an administrator-prompt runner in normal
// use (in the platform library), or the dry-run runner, which only records.

#include <string>

#include "common/Result.h"
#include "settings/FixPlan.h"

namespace snoozlet {

// Why a run failed: the script runner reported an error (`script`, with its
// message), or the user dismissed the password prompt (`cancelled`).
struct RunFailure {
  enum class Kind { script, cancelled };

  Kind kind = Kind::script;
  std::string message;

  static RunFailure script(std::string message) { return {Kind::script, std::move(message)}; }
  static RunFailure cancelled() { return {Kind::cancelled, {}}; }

  // What the user sees: the script's message, or "Cancelled. Nothing was
  // changed." (English; the application translates it).
  std::string description() const;
  bool operator==(const RunFailure&) const = default;
};

using RunResult = Result<void, RunFailure>;

class PrivilegedRunner {
 public:
  virtual ~PrivilegedRunner() = default;

  // True when run changes nothing on the machine.
  virtual bool isDryRun() const = 0;

  // True when running asks for an administrator password (false for a dry
  // run, for a tree of files standing for the system, and when already root).
  virtual bool asksPassword() const { return !isDryRun(); }

  // Carries out the plan's changes and returns when they are done. It blocks,
  // and an administrator prompt may wait on the user: call it off the UI
  // thread. An empty plan runs nothing and succeeds. A plan whose command text
  // is refused runs nothing and fails.
  virtual RunResult run(const FixPlan& plan) = 0;
};

}  // namespace snoozlet
