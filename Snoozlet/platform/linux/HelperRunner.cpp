#include "platform/linux/HelperRunner.h"

#include "common/Text.h"
#include "platform/Process.h"
#include "settings/HelperCommand.h"

#include <unistd.h>

#include <cstdlib>

namespace snoozlet {

namespace {

// pkexec's exit status when the user dismissed the authentication dialog.
constexpr int kDismissed = 126;

std::string_view withoutName(std::string_view message) {
  constexpr std::string_view kName = "snoozlet-helper: ";
  return message.substr(0, kName.size()) == kName ? message.substr(kName.size()) : message;
}

}  // namespace

HelperRunner::HelperRunner(std::shared_ptr<PrivilegedRunner> pmset, Options options)
    : pmset_(std::move(pmset)), options_(std::move(options)) {}

std::string HelperRunner::locate() {
  if (const char* named = std::getenv("SNOOZLET_HELPER"); named != nullptr && *named != '\0') return named;
  const std::filesystem::path self = Process::executableFolder();
  const std::filesystem::path installed = self.parent_path() / "libexec" / "snoozlet" / "snoozlet-helper";
  if (::access(installed.c_str(), X_OK) == 0) return installed.string();
  return (self / "snoozlet-helper").string();
}

Result<std::vector<std::string>> HelperRunner::commandLine(const SystemChange& change) const {
  auto arguments = helper_command::arguments(change);
  if (!arguments) return Result<std::vector<std::string>>::failure(arguments.error());
  std::vector<std::string> line;
  if (options_.elevate) line.push_back(options_.elevator);
  line.push_back(options_.helper);
  line.insert(line.end(), arguments->begin(), arguments->end());
  return line;
}

RunResult HelperRunner::run(const FixPlan& plan) {
  if (!plan.changes.empty()) {
    if (!pmset_) return RunResult::failure(RunFailure::script("nothing here runs pmset's changes"));
    if (RunResult ran = pmset_->run(FixPlan{plan.changes, plan.skipped}); !ran) return ran;
  }
  // Every change is checked before the first runs: a refused one runs nothing.
  std::vector<std::vector<std::string>> lines;
  for (const SystemChange& change : plan.system) {
    auto line = commandLine(change);
    if (!line) return RunResult::failure(RunFailure::script(line.error().description()));
    lines.push_back(std::move(line).value());
  }
  for (const auto& line : lines) {
    Process::Command command{line.front(), std::vector<std::string>(line.begin() + 1, line.end()), {}};
    if (!options_.elevate) command.environment.emplace_back("SNOOZLET_SYSTEM_ROOT", options_.root.root().string());
    const auto output = Process::run(command);
    if (!output) return RunResult::failure(RunFailure::script(output.error().description()));
    const Process::Exit& exit = output->exit;
    if (exit.succeeded()) continue;
    if (options_.elevate && !exit.signal && exit.status == kDismissed)
      return RunResult::failure(RunFailure::cancelled());
    const std::string_view message = withoutName(text::trimWhitespace(output->err));
    if (!message.empty()) return RunResult::failure(RunFailure::script(std::string(message)));
    return RunResult::failure(RunFailure::script(command.program + " " + exit.describe()));
  }
  return {};
}

}  // namespace snoozlet
