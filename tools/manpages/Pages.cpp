#include "Pages.h"

#include "HelpText.h"
#include "ManPage.h"
#include "PmsetArguments.h"
#include "cli/MeasureCommand.h"
#include "cli/ModelCommands.h"
#include "cli/ProgramHelp.h"
#include "cli/ReportCommand.h"

namespace snoozlet::manual {

namespace {

ManPage pageOf(const Release& release, std::string program, std::string summary, std::string_view help) {
  ManPage page;
  page.program = std::move(program);
  page.summary = std::move(summary);
  page.date = release.date;
  page.source = "Snoozlet " + release.version;
  page.help = parseHelp(help);
  return page;
}

}  // namespace

std::string snoozletPage(const Release& release) {
  ManPage page =
      pageOf(release, "snoozlet", "how your laptop slept: dark wakes, who woke it, battery drain", cli::programHelp());
  page.commands.push_back({"report", parseHelp(cli::reportHelp())});
  for (const cli::ModelCommand& command : cli::modelCommands()) {
    page.commands.push_back({std::string(command.name), parseHelp(command.help())});
  }
  page.commands.push_back({"--measure", parseHelp(cli::measureHelp())});
  page.seeAlso = {"snoozlet-pmset(1)", "pkexec(1)", "journalctl(1)", "upower(1)"};
  return render(page);
}

std::string pmsetPage(const Release& release) {
  ManPage page =
      pageOf(release, "snoozlet-pmset",
             "a simulated Mac with pmset's command line, so that Snoozlet runs without macOS", PmsetArguments::help());
  page.seeAlso = {"snoozlet(1)"};
  return render(page);
}

}  // namespace snoozlet::manual
