#include "platform/macos/OsascriptRunner.h"

#include "common/Pattern.h"
#include "common/Text.h"
#include "platform/Process.h"
#include "settings/PmsetCommand.h"

namespace snoozlet {

namespace {

constexpr std::string_view kUserCancelled = "-128";

}  // namespace

OsascriptRunner::Failure OsascriptRunner::failureFrom(std::string_view errorOutput, std::string_view fallback) {
  // "0:94: execution error: User canceled. (-128)"
  static const Pattern executionError(R"(execution error: (.*) \((-?[0-9]+)\)[\s\p{Z}\v]*$)");
  static const Pattern cancelNumber(R"((^|[^0-9])-128([^0-9]|$))");
  const std::string_view trimmed = text::trimWhitespace(errorOutput);
  MatchViews groups;
  if (executionError.match(trimmed, groups)) {
    if (*groups[2] == kUserCancelled) return Failure::cancelled();
    return Failure::script(std::string(text::trimWhitespace(*groups[1])));
  }
  if (cancelNumber.contains(trimmed)) return Failure::cancelled();
  return Failure::script(std::string(trimmed.empty() ? fallback : trimmed));
}

RunResult OsascriptRunner::run(const FixPlan& plan) {
  if (plan.changes.empty()) return {};
  auto script = PmsetCommand::appleScript(plan, options_.pmsetPath);
  if (!script) return RunResult::failure(Failure::script(script.error().description()));
  const Process::Command command{options_.osascript, {"-e", std::move(script).value()}, {}};
  const auto output = Process::run(command);
  if (!output) return RunResult::failure(Failure::script(output.error().description()));
  if (output->exit.succeeded()) return {};
  return RunResult::failure(failureFrom(output->err, "osascript " + output->exit.describe()));
}

}  // namespace snoozlet
