#include "platform/linux/PkexecRunner.h"

#include "common/Text.h"
#include "platform/Process.h"
#include "settings/PmsetCommand.h"

namespace snoozlet {

namespace {

// pkexec's exit status when the user dismissed the authentication dialog.
constexpr int kDismissed = 126;

}  // namespace

Result<std::vector<std::string>> PkexecRunner::commandLine(const FixPlan& plan) const {
  auto text = PmsetCommand::shellText(plan, options_.pmsetPath);
  if (!text) return Result<std::vector<std::string>>::failure(text.error());
  std::vector<std::string> line;
  if (options_.elevate) line.push_back(options_.elevator);
  line.insert(line.end(), {options_.shell, "-c", std::move(text).value()});
  return line;
}

RunResult PkexecRunner::run(const FixPlan& plan) {
  // A Linux laptop's changes are the helper runner's; pmset's alone run here.
  if (plan.changes.empty()) return {};
  auto line = commandLine(plan);
  if (!line) return RunResult::failure(Failure::script(line.error().description()));
  Process::Command command{line->front(), std::vector<std::string>(line->begin() + 1, line->end()), {}};
  const auto output = Process::run(command);
  if (!output) return RunResult::failure(Failure::script(output.error().description()));
  const Process::Exit& exit = output->exit;
  if (exit.succeeded()) return {};
  if (options_.elevate && !exit.signal && exit.status == kDismissed) return RunResult::failure(Failure::cancelled());
  const std::string_view message = text::trimWhitespace(output->err);
  if (!message.empty()) return RunResult::failure(Failure::script(std::string(message)));
  return RunResult::failure(Failure::script(command.program + " " + exit.describe()));
}

}  // namespace snoozlet
