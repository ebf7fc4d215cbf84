#include "cli/MeasureCommand.h"

#include "cli/ModelSession.h"
#include "cli/TerminalText.h"
#include "common/Text.h"
#include "platform/LoadingStep.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <fstream>
#include <ostream>
#include <sstream>

#if defined(__APPLE__)
#include <mach/mach.h>
#endif

namespace snoozlet::cli {

namespace {

constexpr int kSettleMilliseconds = 1500;
constexpr int kIdleMilliseconds = 3000;

std::string_view label(LoadStage stage) {
  switch (stage) {
    case LoadStage::read: return "read";
    case LoadStage::parse: return "parse";
    case LoadStage::archive: return "archive";
  }
  return "?";
}

// Lets the event loop run for a while, as an idle application would.
void pause(int milliseconds) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

// The number of kB in a line "Name:   1234 kB".
double kilobytes(std::string_view value) {
  std::string_view figure = text::trimWhitespace(value);
  if (figure.ends_with("kB")) figure = text::trimWhitespace(figure.substr(0, figure.size() - 2));
  const auto number = text::parseInteger(figure);
  return number && *number >= 0 ? static_cast<double>(*number) : 0.0;
}

}  // namespace

MemoryFigures parseProcStatus(std::string_view status) {
  MemoryFigures figures;
  for (std::string_view line : text::split(status, '\n')) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, colon);
    if (name == "VmRSS") figures.footprint = kilobytes(line.substr(colon + 1)) / 1024.0;
    if (name == "VmHWM") figures.peak = kilobytes(line.substr(colon + 1)) / 1024.0;
  }
  return figures;
}

MemoryFigures currentMemory() {
#if defined(__APPLE__)
  constexpr double kMiB = 1024.0 * 1024.0;
  task_vm_info_data_t info{};
  mach_msg_type_number_t count = TASK_VM_INFO_COUNT;
  if (task_info(mach_task_self(), TASK_VM_INFO, reinterpret_cast<task_info_t>(&info), &count) != KERN_SUCCESS) {
    return {};
  }
  // Fields an older kernel does not fill stay 0.
  const double footprint = static_cast<double>(info.phys_footprint) / kMiB;
  const double peak = static_cast<double>(info.ledger_phys_footprint_peak) / kMiB;
  return {footprint, peak > footprint ? peak : footprint};
#else
  std::ifstream file("/proc/self/status");
  if (!file) return {};
  std::ostringstream text;
  text << file.rdbuf();
  return parseProcStatus(text.str());
#endif
}

std::string measureLine(std::string_view name, const MemoryFigures& figures) {
  return "MEASURE " + terminal::padded(std::string(name), 10) + " phys_footprint " + text::fixed(figures.footprint, 1) +
         " MB  peak " + text::fixed(figures.peak, 1) + " MB";
}

std::string measureSummary(std::size_t nights, std::size_t naps, std::size_t history) {
  return "MEASURE nights " + std::to_string(nights) + " naps " + std::to_string(naps) + " history " +
         std::to_string(history);
}

std::string measureHelp() {
  return R"(usage: snoozlet --measure [--data-dir DIR] [--pmset PATH]

Loads as a launch does, without any window or notification, and prints the
process's memory (resident and peak, MiB) at fixed points:

    MEASURE launch     phys_footprint 12.3 MB  peak 12.3 MB

at launch, after the power log is read, parsed and archived, 1.5 seconds
later (settled, then "MEASURE nights N naps N history N"), after a second
refresh that reads only new lines, and 3 seconds after that (idle). A failed
load prints "MEASURE failed: " and the reason. Exits 0.

  --data-dir DIR    use DIR/nights.sqlite and DIR/changes.json instead of the
                    standard data folder, which is then left untouched
  --pmset PATH      the pmset to run (see 'snoozlet --help')
)";
}

int runMeasure(const CommandLine& line, std::ostream& out, std::ostream& err) {
  if (line.help()) {
    out << measureHelp();
    return 0;
  }
  if (!line.operands.empty()) {
    err << "snoozlet --measure: unknown argument '" << line.operands.front() << "'\n";
    return 2;
  }
  const auto session = startSession(line);
  AppModel& model = session->model();
  // The kernel updates its high-water mark lazily, so it can read lower than
  // a footprint printed before; the peak printed is the highest seen.
  double peak = 0;
  const auto print = [&](std::string_view name) {
    MemoryFigures figures = currentMemory();
    peak = std::max({peak, figures.peak, figures.footprint});
    figures.peak = peak;
    out << measureLine(name, figures) << '\n' << std::flush;
  };
  const auto failed = [&](const std::string& message) { out << "MEASURE failed: " << message << '\n' << std::flush; };

  print("launch");
  LoadOptions options = model.loadOptions();
  options.onStage = [&](LoadStage stage) { print(label(stage)); };
  // The first step starts from an empty reader, as at launch.
  if (auto loaded = load(model.source(), LogReader(), options)) {
    model.publishLoaded(std::move(loaded).value());
  } else {
    failed(loaded.error().description());
  }

  pause(kSettleMilliseconds);
  print("settled");
  const auto& analysis = model.analysis();
  out << measureSummary(analysis ? analysis->nights().size() : 0, analysis ? analysis->naps().size() : 0,
                        model.history().size())
      << '\n'
      << std::flush;

  // The model's own refresh: its reader now reads only what is new.
  if (const Status refreshed = session->refresh(); !refreshed) failed(refreshed.error().description());
  print("refresh");
  pause(kIdleMilliseconds);
  print("idle");
  return 0;
}

}  // namespace snoozlet::cli
