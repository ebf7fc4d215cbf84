#include "settings/DryRunRunner.h"

#include "settings/HelperCommand.h"
#include "settings/PmsetCommand.h"

namespace snoozlet {

RunResult DryRunRunner::run(const FixPlan& plan) {
  auto text = PmsetCommand::shellText(plan);
  if (!text) return RunResult::failure(RunFailure::script(text.error().description()));
  std::string script = std::move(text).value();
  // A Linux laptop's changes: the helper's command line for each.
  for (const SystemChange& change : plan.system) {
    const auto command = helper_command::commandText(change);
    if (!command) return RunResult::failure(RunFailure::script(command.error().description()));
    script += (script.empty() ? "" : " && ") + command.value();
  }
  const std::lock_guard lock(mutex_);
  scripts_.push_back(std::move(script));
  return {};
}

std::vector<std::string> DryRunRunner::scripts() const {
  const std::lock_guard lock(mutex_);
  return scripts_;
}

}  // namespace snoozlet
