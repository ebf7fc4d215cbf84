#include "cli/ProgramHelp.h"

#include "cli/ModelCommands.h"

namespace snoozlet::cli {

std::string programUsage() {
  return "usage: snoozlet [--login-item] [options]   the tray application\n"
         "       snoozlet <command> [options]\n"
         "       snoozlet --measure [--data-dir DIR]\n";
}

std::string programHelp() {
  std::string text = programUsage();
  text +=
      "\n"
      "Snoozlet explains every morning how this laptop slept. It reads the power\n"
      "log (macOS's \"pmset -g log\", or a Linux laptop's systemd journal with UPower's\n"
      "battery history), cuts it into sleep sessions, finds every dark wake (a short\n"
      "wake with the display off), names who woke the machine and who kept it awake,\n"
      "measures the battery drain per hour, compares the night with the machine's\n"
      "own normal and tells it in a few sentences, in English or Turkish. It keeps\n"
      "every night in an archive, explains the power settings and applies the fixes\n"
      "you review and confirm, and can put each one back.\n"
      "\n"
      "Alone, snoozlet is the tray application (with --login-item, as at login: it\n"
      "waits for the desktop's tray and opens no window). Its commands run in the\n"
      "terminal and need no display. snoozlet runs 'report' itself and hands\n"
      "everything else to snoozlet-app, installed beside it, with the same arguments.\n"
      "\n"
      "Commands:\n"
      "  report      how the Mac slept: last night's morning report and a table of nights\n";
  for (const auto& command : modelCommands()) {
    text += "  " + std::string(command.name) + std::string(12 - command.name.size(), ' ') +
            std::string(command.summary) + "\n";
  }
  text +=
      "  --measure   the measurement pass: loads as a launch does, prints the memory\n"
      "              at fixed points (MEASURE lines) and exits\n"
      "Run 'snoozlet <command> --help' for a command's options.\n";
  text += globalOptionsHelp();
  text +=
      "  ('snoozlet report' takes its own; see 'snoozlet report --help')\n"
      "\n"
      "Environment:\n"
      "  SNOOZLET_PMSET      the pmset to run when --pmset is not given\n"
      "  LANGUAGE, LC_ALL, LC_MESSAGES, LANG\n"
      "                      the language when --lang is not given (Turkish for tr,\n"
      "                      else English)\n"
      "  COLUMNS             the width of the night's ribbon in 'snoozlet report'\n"
      "  XDG_DATA_HOME, XDG_CONFIG_HOME\n"
      "                      where the data folder and the settings file are\n"
      "Testing aid:\n"
      "  SNOOZLET_ELEVATOR   the program that runs changes with administrator rights\n"
      "                      instead of pkexec; used even for the simulated Mac and\n"
      "                      when running as root (it gets \"/bin/sh -c COMMANDS\";\n"
      "                      exit status 126 means the prompt was dismissed)\n"
      "\n"
      "Files:\n"
      "  ~/.local/share/Snoozlet/nights.sqlite\n"
      "                      every night read on this machine (the archive)\n"
      "  ~/.local/share/Snoozlet/changes.json\n"
      "                      the changes made, with the values they replaced\n"
      "  ~/.config/Snoozlet/Snoozlet.conf\n"
      "                      the settings (nightSource=pmset|journal|simulated under\n"
      "                      [General] chooses where the nights come from)\n"
      "  ~/.config/autostart/snoozlet.desktop\n"
      "                      written by Settings, \"Open at login\"\n"
      "  /var/lib/upower/history-charge-*.dat\n"
      "                      UPower's battery history, read with the journal\n"
      "\n"
      "Exit status:\n"
      "  0     success (also \"nothing to change\")\n"
      "  1     pmset failed, the system journal may not be read, or a change was\n"
      "        declined, cancelled, refused or did not take\n"
      "  2     a bad argument (an unknown fix or record id among them), or a log\n"
      "        that cannot be read\n"
      "  127   snoozlet-app cannot be started\n";
  return text;
}

}  // namespace snoozlet::cli
