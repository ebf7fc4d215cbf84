#include "cli/ReportCommand.h"

#include "cli/LogFile.h"
#include "cli/ReportJson.h"
#include "cli/ReportText.h"
#include "common/TimeZone.h"
#include "common/Version.h"
#include "demo/DemoLog.h"
#include "platform/LoadingStep.h"

#include <ostream>

namespace snoozlet::cli {

namespace {

struct ReportOptions {
  std::optional<std::string> log;
  std::optional<Mood> demo;
  std::optional<std::string> pmset;
  std::optional<std::string> dataDir;
  Language language = language::preferred();
  TimeZone zone = TimeZone::current();
  report_text::Options text;
  bool json = false;
  bool help = false;
};

// Parses the arguments; an error text on a bad one.
Result<ReportOptions> parse(const std::vector<std::string>& args) {
  ReportOptions o;
  auto fail = [](std::string message) { return Result<ReportOptions>::failure({std::move(message)}); };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--log") {
      auto v = value();
      if (!v) return fail("--log needs a file (or - for standard input)");
      o.log = *v;
    } else if (a == "--demo") {
      o.demo = Mood::restless;
      if (i + 1 < args.size() && !args[i + 1].starts_with("-")) {
        const auto mood = moodFromString(args[i + 1]);
        if (!mood) return fail("unknown mood '" + args[i + 1] + "' (soundAsleep, restless or sleepless)");
        o.demo = *mood;
        ++i;
      }
    } else if (a == "--lang") {
      auto v = value();
      const auto language = v ? languageFromString(*v) : std::nullopt;
      if (!language) return fail("--lang needs en or tr");
      o.language = *language;
    } else if (a == "--tz") {
      auto v = value();
      const auto zone = v ? TimeZone::named(*v) : std::nullopt;
      if (!zone) return fail(v ? "unknown time zone '" + *v + "'" : "--tz needs a time zone name");
      o.zone = *zone;
    } else if (a == "--pmset") {
      auto v = value();
      if (!v || v->empty()) return fail("--pmset needs the path of a pmset executable");
      o.pmset = *v;
    } else if (a == "--data-dir") {
      auto v = value();
      if (!v || v->empty()) return fail("--data-dir needs a folder");
      o.dataDir = *v;
    } else if (a == "--plain") {
      o.text.plain = true;
    } else if (a == "--all") {
      o.text.all = true;
    } else if (a == "--json") {
      o.json = true;
    } else {
      return fail("unknown argument '" + a + "'");
    }
  }
  if (o.log && o.demo) return fail("--log and --demo cannot be combined");
  if ((o.log || o.demo) && (o.pmset || o.dataDir)) {
    return fail("--pmset and --data-dir read this machine; they do not go with --log or --demo");
  }
  return o;
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

Tells how the Mac slept: last night's morning report, with a table of every
night the power log holds.

Source of the power log (by default this machine's, through pmset):
  --log FILE        a captured power log (the output of "pmset -g log");
                    "-" reads standard input
  --demo [MOOD]     a demonstration week ending today whose last night is
                    soundAsleep, restless (the default) or sleepless
  --pmset PATH      the pmset to run (default: $SNOOZLET_PMSET, else
                    /usr/bin/pmset, else the simulated Mac snoozlet-pmset
                    installed beside snoozlet)
  --data-dir DIR    the folder of the night archive (default: the standard
                    data folder, ~/.local/share/Snoozlet)

Reading this machine archives every night in nights.sqlite, so the normal
draws on nights the power log has forgotten; --log and --demo never touch
the archive.

Options:
  --lang en|tr      language of the report (default: from LANGUAGE, LC_ALL,
                    LC_MESSAGES or LANG)
  --tz ZONE         time zone for nights and clock times, an IANA name such as
                    Europe/Istanbul (default: the system's zone)
  --plain           the plain summary instead of the mascot's speech
  --all             every night and nap, not only the last night
  --json            one JSON document with every field of every night, its
                    speech and plain summary; instants are seconds since 1970
  -h, --help        this text

Exit status: 0 on success (also when the log holds no night), 1 when pmset
fails, 2 for a bad argument or a log that cannot be read.
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
    const PowerDataSource source(PowerDataSource::resolvePmset(o.pmset), makeSystemBatteryReader());
    const std::filesystem::path folder = o.dataDir ? std::filesystem::path(*o.dataDir) : standardDataFolder();
    LoadOptions options;
    options.archive = folder / "nights.sqlite";
    options.timeZone = o.zone;
    options.appVersion = kVersionText;
    auto loaded = load(source, LogReader(), options);
    if (!loaded) {
      err << "snoozlet report: " << loaded.error().description() << "\n";
      return 1;
    }
    analysis = std::move(loaded->analysis);
    battery = loaded->battery;
  }

  const Narrator narrator(NightFormat(o.language, o.zone));
  if (o.json) {
    report_json::write(out, analysis, narrator, battery);
  } else {
    out << report_text::render(analysis, narrator, o.text);
    if (battery) out << report_text::batteryHealth(*battery, o.language);
  }
  out.flush();
  return out.good() ? 0 : 1;
}

}  // namespace snoozlet::cli
