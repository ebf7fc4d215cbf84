#include "cli/ReportCommand.h"

#include "presentation/PageRows.h"
#include "presentation/SourceTexts.h"

#include "cli/CommandLine.h"
#include "cli/LogFile.h"
#include "cli/ReportJson.h"
#include "cli/ReportText.h"
#include "cli/RibbonText.h"
#include "common/TimeZone.h"
#include "common/Version.h"
#include "demo/DemoLog.h"
#include "platform/LoadingStep.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include <ostream>

namespace snoozlet::cli {

namespace {

struct ReportOptions {
  std::optional<std::string> log;
  std::optional<Mood> demo;
  std::optional<std::string> pmset;
  std::optional<std::string> dataDir;
  std::optional<NightSource> source;
  std::optional<std::string> journal;
  std::optional<std::string> upower;
  Language language = language::preferred();
  TimeZone zone = TimeZone::current();
  report_text::Options text;
  bool json = false;
  bool help = false;
};

// Reads the arguments with the reader every command uses; an error text on a bad one.
Result<ReportOptions> parse(const std::vector<std::string>& args) {
  auto fail = [](std::string message) { return Result<ReportOptions>::failure({std::move(message)}); };
  auto parsed = parseCommandLine(args, {"--demo", "--plain", "--all", "--json", "--ribbon"},
                                 {"--log", "--tz", "--journal", "--upower"});
  if (!parsed) return fail(parsed.error().description());
  const CommandLine& line = parsed.value();
  ReportOptions o;
  o.help = line.help();
  o.log = line.value("--log");
  o.pmset = line.pmset;
  o.dataDir = line.dataDir;
  o.source = line.source;
  o.journal = line.value("--journal");
  o.upower = line.value("--upower");
  if (line.language) o.language = *line.language;
  if (const auto zone = line.value("--tz")) {
    const auto named = TimeZone::named(*zone);
    if (!named) return fail("unknown time zone '" + *zone + "'");
    o.zone = *named;
  }
  if (line.has("--demo")) {
    o.demo = Mood::restless;
    if (!line.operands.empty()) {
      const auto mood = moodFromString(line.operands.front());
      if (!mood) return fail("unknown mood '" + line.operands.front() + "' (soundAsleep, restless or sleepless)");
      o.demo = *mood;
    }
  }
  if (line.operands.size() > (o.demo ? 1u : 0u)) return fail("unknown argument '" + line.operands.back() + "'");
  o.text.plain = line.has("--plain");
  o.text.all = line.has("--all");
  o.text.ribbon = line.has("--ribbon") || (!o.text.plain && ::isatty(STDOUT_FILENO) == 1);
  o.text.columns = ribbon_text::terminalColumns();
  o.json = line.has("--json");
  if (o.log && o.demo) return fail("--log and --demo cannot be combined");
  if ((o.log || o.demo) && (o.pmset || o.dataDir)) {
    return fail("--pmset and --data-dir read this machine; they do not go with --log or --demo");
  }
  const bool journal = o.journal || o.upower;
  if ((o.log || o.demo) && (journal || o.source)) {
    return fail("--journal, --upower and --source choose where nights come from; they do not go with --log or --demo");
  }
  if (journal && ((o.source && *o.source != NightSource::journal) || o.pmset)) {
    return fail("--journal and --upower read a Linux journal; they do not go with --pmset or another --source");
  }
  return o;
}

// The source the settings file names ("nightSource=journal" under
// [General] of ~/.config/Snoozlet/Snoozlet.conf, which the application keeps
// with QSettings), if any. Read by hand: this program links no Qt.
std::optional<NightSource> savedNightSource() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::filesystem::path folder;
  if (xdg != nullptr && xdg[0] == '/') {
    folder = xdg;
  } else if (home != nullptr && *home != '\0') {
    folder = std::filesystem::path(home) / ".config";
  } else {
    return std::nullopt;
  }
  std::ifstream in(folder / "Snoozlet" / "Snoozlet.conf");
  std::string line;
  bool general = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with('[')) {
      general = line == "[General]";
    } else if (general && line.starts_with("nightSource=")) {
      return nightSourceFromString(std::string_view(line).substr(12));
    }
  }
  return std::nullopt;
}

// The demo week ending today in the given zone.
std::string demoText(Mood mood, const TimeZone& zone) {
  const GregorianCalendar calendar(zone);
  const auto now = static_cast<Instant>(std::time(nullptr));
  const CivilTime today = calendar.civil(now);
  DateComponents ending;
  ending.year = today.year;
  ending.month = today.month;
  ending.day = today.day;
  return DemoLog::text(DemoLog::week(ending, mood), zone);
}

}  // namespace

std::string reportHelp() {
  return R"(usage: snoozlet report [--log FILE | --demo [MOOD]] [options]

Tells how the machine slept: last night's morning report, with a table of
every night its log holds.

Where the nights come from (by default this machine's: see --source):
  --log FILE        a captured power log (the output of "pmset -g log");
                    "-" reads standard input
  --demo [MOOD]     a demonstration week ending today whose last night is
                    soundAsleep, restless (the default) or sleepless
  --pmset PATH      the pmset to run (default: $SNOOZLET_PMSET, else
                    /usr/bin/pmset, else the simulated Mac snoozlet-pmset
                    installed beside snoozlet)
  --data-dir DIR    the folder of the night archive (default: the standard
                    data folder, ~/.local/share/Snoozlet)
  --source pmset|journal|simulated
                    macOS's pmset, this Linux laptop's systemd journal with
                    UPower's battery history, or the simulated Mac (default:
                    nightSource in the settings file, else pmset where it
                    exists, else the journal when it holds a sleep you may
                    read, else the simulated Mac). Reading the system journal
                    needs membership of the systemd-journal (or adm) group.
  --journal PATH    a journal folder or journal file copied from a Linux
                    machine (what journalctl --directory or --file reads)
  --upower PATH     UPower's history for it: the folder (/var/lib/upower) or
                    a history-charge-*.dat file

Reading this machine archives every night in nights.sqlite, so the normal
draws on nights the power log has forgotten; --log, --demo and --journal
never touch the archive.

Options:
  --lang en|tr      language of the report (default: from LANGUAGE, LC_ALL,
                    LC_MESSAGES or LANG)
  --tz ZONE         time zone for nights and clock times, an IANA name such as
                    Europe/Istanbul (default: the system's zone)
  --plain           the plain summary instead of the mascot's speech (and no
                    ribbon)
  --ribbon          draw the night's ribbon even when the output is not a
                    terminal (it is drawn on a terminal unless --plain)
  --all             every night and nap, not only the last night
  --json            one JSON document with every field of every night, its
                    speech and plain summary; instants are seconds since 1970
  -h, --help        this text

Exit status: 0 on success (also when the log holds no night), 1 when pmset
fails or the system journal may not be read, 2 for a bad argument or a log,
journal or history that cannot be read.
)";
}

int runReport(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  auto parsed = parse(arguments);
  if (!parsed.ok()) {
    err << "snoozlet report: " << parsed.error().description() << "\nTry 'snoozlet report --help'.\n";
    return 2;
  }
  const ReportOptions& o = parsed.value();
  if (o.help) {
    out << reportHelp();
    return 0;
  }
  SleepAnalysis analysis;
  std::optional<BatteryHealth> battery;
  std::optional<ArchiveProblem> archive;
  NightSource source = NightSource::pmset;
  if (o.log || o.demo) {
    LogReader reader;
    if (o.log) {
      if (const Status read = readLogFile(*o.log, reader); !read.ok()) {
        err << "snoozlet report: " << read.error().description() << "\n";
        return 2;
      }
    } else {
      reader.ingest(demoText(*o.demo, o.zone));
    }
    analysis = NightAnalyzer::analyze(std::move(reader), o.zone, {});
  } else {
    JournalPaths paths;
    if (o.journal) paths.journal = *o.journal;
    if (o.upower) paths.upower = *o.upower;
    auto chosen = chooseNightSource(o.source ? o.source : savedNightSource(), o.pmset, paths);
    if (!chosen) {
      err << "snoozlet report: " << chosen.error().description() << "\n";
      return 1;
    }
    if (chosen->notice) err << "snoozlet report: " << *chosen->notice << " Until then: the simulated Mac.\n";
    // A journal copied from another machine is told, never archived here.
    const bool copied = paths.journal.has_value();
    const std::filesystem::path folder = o.dataDir ? std::filesystem::path(*o.dataDir) : standardDataFolder();
    LoadOptions options;
    if (!copied) options.archive = folder / "nights.sqlite";
    options.timeZone = o.zone;
    options.appVersion = kVersionText;
    auto loaded = load(chosen->source, LogReader(), options);
    if (!loaded) {
      err << "snoozlet report: " << loaded.error().description() << "\n";
      return copied || paths.upower ? 2 : 1;
    }
    analysis = std::move(loaded->analysis);
    archive = std::move(loaded->archiveProblem);
    if (const int skipped = loaded->journal.unreadableFiles(); skipped > 0) {
      err << "snoozlet report: "
          << presentation::unreadableJournalFiles(skipped, loaded->journal.journalFiles(), o.language) << "\n";
    }
    if (!copied) battery = loaded->battery;
    source = chosen->source.nightSource();
  }

  const Narrator narrator(NightFormat(o.language, o.zone), source);
  // The nights shown are right; that they are not being kept is said beside them.
  if (archive) err << "snoozlet report: " << presentation::archiveProblemSentence(*archive, o.language) << "\n";
  if (o.json) {
    report_json::write(out, analysis, narrator, battery, archive);
  } else {
    report_text::Options text = o.text;
    text.source = source;
    out << report_text::render(analysis, narrator, text);
    if (battery) out << report_text::batteryHealth(*battery, narrator.format());
  }
  out.flush();
  return out.good() ? 0 : 1;
}

}  // namespace snoozlet::cli
