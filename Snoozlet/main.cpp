// snoozlet-app: the application. The `snoozlet` command hands every command
// but `report` over to it with the same arguments. With no command it is the
// tray application. Subcommands run in the terminal: `report` on its own, the
// others (and the measurement pass, --measure) through the application model
// inside a QCoreApplication, so none of them needs a display.

#include "cli/CommandLine.h"
#include "cli/MeasureCommand.h"
#include "cli/ModelCommands.h"
#include "cli/ProgramHelp.h"
#include "cli/ReportCommand.h"
#include "shell/TrayApplication.h"

#include <QApplication>

#include <QCoreApplication>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Runs a model-driven command inside a QCoreApplication. `arguments` were
// copied before Qt saw argv, so nothing of ours is lost to Qt's own options.
int runWithModel(int& argc, char** argv, const std::vector<std::string>& arguments,
                 const std::vector<std::string_view>& flags,
                 int (*run)(const snoozlet::cli::CommandLine&, const snoozlet::cli::Terminal&),
                 const std::string& name) {
  // A copied journal (and UPower's history beside it) may stand for this laptop's.
  auto line = snoozlet::cli::parseCommandLine(arguments, flags, {"--journal", "--upower"});
  if (!line) {
    std::cerr << "snoozlet " << name << ": " << line.error().description() << "\nTry 'snoozlet " << name
              << " --help'.\n";
    return 2;
  }
  QCoreApplication app(argc, argv);
  const snoozlet::cli::Terminal terminal{std::cin, std::cout, std::cerr, ::isatty(STDIN_FILENO) == 1};
  const int status = run(line.value(), terminal);
  std::cout.flush();
  return status != 0 || std::cout.good() ? status : 1;
}

constexpr const char* kNoDisplay =
    "snoozlet: no display to show the tray on. In a terminal, 'snoozlet report' tells last night.\n";

// While Qt connects to the display: a platform that cannot start ends the
// process with Qt's fatal message and an abort; it ends with ours instead.
QtMessageHandler qtHandler = nullptr;
void platformMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtFatalMsg) {
    std::cerr << message.toStdString() << "\n" << kNoDisplay;
    std::_Exit(1);
  }
  if (qtHandler != nullptr) {
    qtHandler(type, context, message);
  } else {
    std::cerr << qFormatLogMessage(type, context, message).toStdString() << "\n";
  }
}

// `snoozlet` alone: the tray application, on the desktop's display.
int tray(int& argc, char** argv, const std::vector<std::string>& arguments) {
  auto line = snoozlet::cli::parseCommandLine(arguments, {"--login-item"});
  if (!line) {
    std::cerr << "snoozlet: " << line.error().description() << "\n"
              << snoozlet::cli::programUsage() << "Try 'snoozlet --help'.\n";
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    std::cerr << kNoDisplay;
    return 1;
  }
  // On Wayland the compositor matches the windows to the desktop entry (and its icon) by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("snoozlet"));
  qtHandler = qInstallMessageHandler(platformMessage);
  QApplication app(argc, argv);
  qInstallMessageHandler(qtHandler);
  snoozlet::prepareApplication(app, line->language);
  snoozlet::shell::TrayOptions options;
  if (line->dataDir) options.launch.dataDir = *line->dataDir;
  options.launch.pmset = line->pmset;
  options.launch.source = line->source;
  options.atLogin = line->has("--login-item");
  return snoozlet::shell::runTray(options);
}

int measure(const snoozlet::cli::CommandLine& line, const snoozlet::cli::Terminal& terminal) {
  return snoozlet::cli::runMeasure(line, terminal.out, terminal.err);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  if (const auto at = std::find(args.begin(), args.end(), "--measure"); at != args.end()) {
    args.erase(at);
    return runWithModel(argc, argv, args, {}, measure, "--measure");
  }
  const auto index = snoozlet::cli::commandIndex(args);
  if (!index) {
    const bool help = std::find_if(args.begin(), args.end(),
                                   [](const std::string& a) { return a == "--help" || a == "-h"; }) != args.end();
    if (help) {
      std::cout << snoozlet::cli::programHelp();
      return 0;
    }
    return tray(argc, argv, args);
  }
  const std::string command = args[*index];
  args.erase(args.begin() + static_cast<std::ptrdiff_t>(*index));
  if (command == "help") {
    std::cout << snoozlet::cli::programHelp();
    return 0;
  }
  if (command == "report") return snoozlet::cli::runReport(args, std::cout, std::cerr);
  if (const auto* model = snoozlet::cli::findModelCommand(command)) {
    return runWithModel(argc, argv, args, model->flags, model->run, command);
  }
  std::cerr << "snoozlet: unknown command '" << command << "'\n"
            << snoozlet::cli::programUsage() << "Try 'snoozlet --help'.\n";
  return 2;
}
