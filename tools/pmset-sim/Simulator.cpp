#include "Simulator.h"

#include "DemoWeek.h"
#include "PmsetArguments.h"
#include "SimulatedMac.h"
#include "common/Text.h"

#include <variant>

namespace snoozlet::Simulator {

namespace {

using PmsetArguments::Show;

// The comma-separated words of a variable, trimmed, without empty ones.
std::vector<std::string> listOf(const std::optional<std::string>& value) {
  std::vector<std::string> out;
  if (!value) return out;
  for (std::string_view piece : text::split(*value, ',')) {
    piece = text::trimBlanks(piece);
    if (!piece.empty()) out.emplace_back(piece);
  }
  return out;
}

bool failureRequested(const StateFolder::Environment& environment, std::string_view command) {
  for (const std::string& word : listOf(environment("SNOOZLET_PMSET_FAIL")))
    if (word == command) return true;
  return false;
}

// Process names for the sleep line's remark. A name that would break the
// remark's layout (a parenthesis or a control character) is left out.
std::vector<std::string> sleepPreventers(const StateFolder::Environment& environment) {
  std::vector<std::string> names;
  for (std::string& name : listOf(environment("SNOOZLET_PMSET_PREVENTERS"))) {
    bool printable = true;
    for (char c : name)
      printable = printable && c != '(' && c != ')' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7f;
    if (printable) names.push_back(std::move(name));
  }
  return names;
}

int finish(std::ostream& out, std::ostream& err) {
  if (out.flush()) return 0;
  err << "pmset: cannot write to standard output\n";
  return 1;
}

int fail(std::ostream& err, const Error& error) {
  err << "pmset: " << error.description() << "\n";
  return 1;
}

void reportProblems(std::ostream& err, const StateFolder& folder, const std::vector<std::string>& problems) {
  for (const std::string& problem : problems)
    err << "pmset: " << (folder.path() / "settings").string() << ": " << problem << " (ignored)\n";
}

int display(const StateFolder& folder, Show what, const StateFolder::Environment& environment, std::ostream& out,
            std::ostream& err) {
  const auto read = folder.readSettings();
  if (!read) return fail(err, read.error());
  reportProblems(err, folder, read->problems);
  out << (what == Show::custom ? SimulatedMac::customText(read->settings)
                               : SimulatedMac::liveText(read->settings, sleepPreventers(environment)));
  return finish(out, err);
}

int change(const StateFolder& folder, const std::vector<SimulatedMac::Change>& changes, std::ostream& err) {
  const auto lock = folder.lock();
  if (!lock) return fail(err, lock.error());
  const auto read = folder.readSettings();
  if (!read) return fail(err, read.error());
  if (!read->problems.empty()) {
    reportProblems(err, folder, read->problems);
    // The file is about to be rewritten from what could be read; keep the
    // original so nothing in it is lost.
    const auto copy = folder.keepDamagedSettings();
    if (!copy) return fail(err, copy.error());
    err << "pmset: the unreadable settings file was kept as " << copy->string() << "\n";
  }
  const Status written = folder.writeSettings(SimulatedMac::applied(read->settings, changes));
  if (!written) return fail(err, written.error());
  return 0;
}

// The record of a new demonstration week, from the variables or the clock.
Result<DemoWeek::Record> newRecord(const StateFolder::Environment& environment, Instant now, const TimeZone& zone) {
  DemoWeek::Record record{DemoWeek::dayOf(now, zone), Mood::restless};
  if (const auto today = environment("SNOOZLET_PMSET_TODAY"); today && !today->empty()) {
    const auto day = DemoWeek::parseDay(*today);
    if (!day) return Result<DemoWeek::Record>::failure(Error{"SNOOZLET_PMSET_TODAY must be a date YYYY-MM-DD"});
    record.endingOn = *day;
  }
  if (const auto mood = environment("SNOOZLET_PMSET_DEMO_MOOD"); mood && !mood->empty()) {
    const auto parsed = moodFromString(*mood);
    if (!parsed)
      return Result<DemoWeek::Record>::failure(
          Error{"SNOOZLET_PMSET_DEMO_MOOD must be soundAsleep, restless or sleepless"});
    record.lastNight = *parsed;
  }
  return record;
}

// The demonstration week's record: the one kept in the folder, or a new one
// saved there first, so later runs print the same week.
Result<DemoWeek::Record> demoRecord(const StateFolder& folder, const StateFolder::Environment& environment, Instant now,
                                    const TimeZone& zone, std::ostream& err) {
  const auto lock = folder.lock();
  if (!lock) return Result<DemoWeek::Record>::failure(lock.error());
  const auto file = folder.readDemo();
  if (!file) return Result<DemoWeek::Record>::failure(file.error());
  if (file->record) return *file->record;
  if (file->present)
    err << "pmset: " << (folder.path() / "demo").string() << " is damaged; starting a new demonstration week\n";
  auto record = newRecord(environment, now, zone);
  if (!record) return record;
  const Status written = folder.writeDemo(*record);
  if (!written) return Result<DemoWeek::Record>::failure(written.error());
  return record;
}

int showLog(const StateFolder& folder, const StateFolder::Environment& environment, Instant now, std::ostream& out,
            std::ostream& err) {
  const auto captured = folder.streamLog(out);
  if (!captured) return fail(err, captured.error());
  if (*captured) return 0;
  const TimeZone zone = TimeZone::current();
  const auto record = demoRecord(folder, environment, now, zone, err);
  if (!record) return fail(err, record.error());
  out << DemoWeek::logText(*record, zone);
  return finish(out, err);
}

}  // namespace

int run(const std::vector<std::string_view>& arguments, const StateFolder::Environment& environment, Instant now,
        std::ostream& out, std::ostream& err) {
  const PmsetArguments::Command command = PmsetArguments::parse(arguments);
  if (const auto* refusal = std::get_if<PmsetArguments::Refusal>(&command)) {
    err << refusal->message << "\n";
    if (refusal->withUsage) err << PmsetArguments::usage();
    return 1;
  }
  if (std::holds_alternative<PmsetArguments::Help>(command)) {
    out << PmsetArguments::help();
    return finish(out, err);
  }
  const auto* shown = std::get_if<PmsetArguments::Display>(&command);
  const std::string_view name = shown ? PmsetArguments::failureName(shown->what) : PmsetArguments::setFailureName;
  if (failureRequested(environment, name)) {
    err << "pmset: simulated failure of \"" << name << "\" (SNOOZLET_PMSET_FAIL)\n";
    return 1;
  }
  if (shown && shown->what == Show::cap) {
    out << SimulatedMac::capabilitiesText();
    return finish(out, err);
  }

  const auto location = StateFolder::locate(environment);
  if (!location) return fail(err, location.error());
  const StateFolder folder(*location);
  if (const Status created = folder.create(); !created) return fail(err, created.error());
  if (!shown) return change(folder, std::get<PmsetArguments::Set>(command).changes, err);
  if (shown->what == Show::log) return showLog(folder, environment, now, out, err);
  if (shown->what == Show::battery) {
    const auto battery = folder.readBattery();
    if (!battery) return fail(err, battery.error());
    out << SimulatedMac::batteryXml(*battery);
    return finish(out, err);
  }
  return display(folder, shown->what, environment, out, err);
}

}  // namespace snoozlet::Simulator
