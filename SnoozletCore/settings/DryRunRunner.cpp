#include "settings/DryRunRunner.h"

#include "settings/PmsetCommand.h"

namespace snoozlet {

RunResult DryRunRunner::run(const FixPlan& plan) {
  auto text = PmsetCommand::shellText(plan);
  if (!text) return RunResult::failure(RunFailure::script(text.error().description()));
  const std::lock_guard lock(mutex_);
  scripts_.push_back(std::move(text).value());
  return {};
}

std::vector<std::string> DryRunRunner::scripts() const {
  const std::lock_guard lock(mutex_);
  return scripts_;
}

}  // namespace snoozlet
