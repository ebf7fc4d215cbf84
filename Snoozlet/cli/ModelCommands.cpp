// The command table, the help texts and the three commands that only read
// the model: settings, history and battery. fix and undo are in FixCommand.cpp.

#include "cli/ModelCommands.h"

#include "presentation/PageRows.h"

#include "cli/ModelSession.h"
#include "cli/PagesText.h"
#include "cli/SettingsText.h"

#include <ostream>

namespace snoozlet::cli {

namespace {

std::string settingsHelp() {
  return std::string(R"(usage: snoozlet settings [--json] [options]

The power settings that matter for night-time drain, as the Sleep settings
page shows them: each one's status, value, what it does and what changing it
costs, and the fix Snoozlet offers for it (apply it with 'snoozlet fix ID').
On a Linux laptop: its sleep state, the devices allowed to wake it, what
closing the lid does, who keeps it awake now, hibernation and Wake-on-LAN.
Then the changes Snoozlet made that are still in force.

  --json            the same as one JSON document
)") + std::string(globalOptionsHelp());
}

std::string historyHelp() {
  return std::string(R"(usage: snoozlet history [--json] [options]

Every night Snoozlet has archived on this machine, newest first: its date,
length, dark wakes, time awake, battery drain and the most frequent reason
for waking; then the drain per night as a strip of bars with this Mac's
normal. Refreshes first, so last night is archived too.

  --json            the archived nights as one JSON document (instants are
                    seconds since 1970)
)") + std::string(globalOptionsHelp());
}

std::string batteryHelp() {
  return std::string(R"(usage: snoozlet battery [--json] [options]

The battery's health as the Battery page shows it: capacity left, charge
cycles, charge, temperature and voltage, and the drain of a normal night.

  --json            the battery's figures and the rows as one JSON document
)") + std::string(globalOptionsHelp());
}

std::string fixHelp() {
  return std::string(R"(usage: snoozlet fix FIXID... [--dry-run] [--yes] [options]

Reviews the fixes against the current settings and shows what would run:
the exact pmset command, the command that puts the value back and what you
give up. After you confirm (a fix that costs Find My asks you to acknowledge
that too), the commands run with administrator rights and the change is
recorded in changes.json, so 'snoozlet undo' can put it back.

Fixes: tcpKeepAliveOff, powerNapOff, wakeForNetworkOff, proximityWakeOff,
remoteSessionAwakeOff, lowPowerModeOn ('snoozlet settings' shows which one
each setting offers). On a Linux laptop: deepSleep, and wakeupOff:DEVICE
for a device that may no longer wake it (wakeupOff:0000:00:14.0); the review
names the value each file gets now and the line that keeps it after a
restart, and the change runs through snoozlet-helper after the password.

  --dry-run         run nothing; record what would have run, marked as a dry run
  --yes             answer yes to every question (needed when standard input
                    is not a terminal)
)") + std::string(globalOptionsHelp());
}

std::string undoHelp() {
  return std::string(R"(usage: snoozlet undo [RECORD-ID [--yes]] [options]

Without an id: lists the changes Snoozlet made that are still in force, each
with its id, date and the values it changed. With an id: reviews putting that
change's previous values back and, after you confirm, runs it.

  --yes             confirm without asking (needed when standard input is not
                    a terminal)
)") + std::string(globalOptionsHelp());
}

// A command that takes no operands refuses the first one.
bool refuseOperands(const CommandLine& line, std::string_view name, const Terminal& t) {
  if (line.operands.empty()) return false;
  t.err << "snoozlet " << name << ": unknown argument '" << line.operands.front() << "'\nTry 'snoozlet " << name
        << " --help'.\n";
  return true;
}

std::optional<Baseline> baselineOf(const AppModel& model) {
  return model.analysis() ? model.analysis()->baseline : std::nullopt;
}

}  // namespace

std::string_view globalOptionsHelp() {
  return R"(
Options of every command:
  --data-dir DIR    the folder of nights.sqlite and changes.json (default: the
                    standard data folder, ~/.local/share/Snoozlet)
  --pmset PATH      the pmset to run (default: $SNOOZLET_PMSET, else
                    /usr/bin/pmset, else the simulated Mac snoozlet-pmset
                    installed beside snoozlet)
  --lang en|tr      the language of every text (default: the system's)
  --source pmset|journal|simulated
                    where the nights come from: macOS's pmset, this Linux
                    laptop's systemd journal and UPower history, or the
                    simulated Mac (default: nightSource in the settings file,
                    else pmset where it exists, else the journal when it holds
                    a sleep you may read, else the simulated Mac)
  --journal PATH    read the nights from this journal (a file or a folder of
                    them) as this Linux laptop's; its settings are still read
                    from the system ($SNOOZLET_SYSTEM_ROOT, else /)
  --upower PATH     UPower's history for that journal
  -h, --help        this text
)";
}

const std::vector<ModelCommand>& modelCommands() {
  static const std::vector<ModelCommand> commands = {
      {"settings",
       "the power settings explained, with the fix offered for each",
       {"--json"},
       runSettings,
       settingsHelp},
      {"fix",
       "review and apply fixes (FIXID…), asking before anything changes",
       {"--dry-run", "--yes"},
       runFix,
       fixHelp},
      {"undo", "list the changes in force, or put one back (RECORD-ID)", {"--yes"}, runUndo, undoHelp},
      {"history", "every archived night, with the drain per night", {"--json"}, runHistory, historyHelp},
      {"battery", "the battery's health", {"--json"}, runBattery, batteryHelp},
  };
  return commands;
}

const ModelCommand* findModelCommand(std::string_view name) {
  for (const ModelCommand& command : modelCommands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

namespace {

// The read-only pages share their start: help, no operands, a model read
// afresh; then `show` writes the page (or its JSON) from the model.
template <typename Show>
int runPage(const CommandLine& line, const Terminal& t, std::string_view name, std::string (*help)(), Show show) {
  if (line.help()) {
    t.out << help();
    return 0;
  }
  if (refuseOperands(line, name, t)) return 2;
  const auto session = startSession(line);
  if (!refreshFor(*session, name, t.err)) return 1;
  show(*session, line.has("--json"));
  return 0;
}

}  // namespace

int runSettings(const CommandLine& line, const Terminal& t) {
  return runPage(line, t, "settings", settingsHelp, [&](ModelSession& session, bool json) {
    const AppModel& model = session.model();
    const FixJournal& journal = session.changes().journal();
    const std::vector<settings_text::FindingRow> rows = model.settingsRows();
    if (json) {
      settings_text::json(t.out, rows, journal, model.language(), model.pmsetPath());
    } else {
      t.out << settings_text::page(rows, journal, formatOf(model), model.nightSource());
    }
  });
}

int runHistory(const CommandLine& line, const Terminal& t) {
  return runPage(line, t, "history", historyHelp, [&](ModelSession& session, bool json) {
    const AppModel& model = session.model();
    if (json) {
      pages_text::historyJson(t.out, model.history(), baselineOf(model), model.archiveProblem(), model.language());
    } else {
      t.out << pages_text::history(model.nightSource(), model.history(), baselineOf(model), formatOf(model));
    }
    // The nights shown are right; that they are not being kept is said beside them.
    if (const auto& problem = model.archiveProblem()) {
      t.err << "snoozlet history: " << presentation::archiveProblemSentence(*problem, model.language()) << "\n";
    }
  });
}

int runBattery(const CommandLine& line, const Terminal& t) {
  return runPage(line, t, "battery", batteryHelp, [&](ModelSession& session, bool json) {
    const AppModel& model = session.model();
    if (json) {
      pages_text::batteryJson(t.out, model.battery(), baselineOf(model), formatOf(model));
    } else {
      t.out << pages_text::battery(model.nightSource(), model.battery(), baselineOf(model), formatOf(model));
    }
  });
}

}  // namespace snoozlet::cli
