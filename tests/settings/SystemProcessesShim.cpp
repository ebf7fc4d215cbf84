// Temporary stand-in for the holder classification, so that these tests link
// before the sessions library's own implementation is merged.

#include <set>
#include <string>

#include "sessions/SystemProcesses.h"

namespace snoozlet {

std::string_view toString(HolderOrigin origin) {
  switch (origin) {
    case HolderOrigin::system: return "system";
    case HolderOrigin::userTool: return "userTool";
    case HolderOrigin::app: return "app";
  }
  return "app";
}

namespace SystemProcesses {

bool isSystemName(std::string_view process) {
  static const std::set<std::string, std::less<>> names = {"powerd",
                                                           "kernel_task",
                                                           "WindowServer",
                                                           "loginwindow",
                                                           "mDNSResponder",
                                                           "configd",
                                                           "coreaudiod",
                                                           "sharingd",
                                                           "PowerUIAgent",
                                                           "PowerChime",
                                                           "AddressBookSourceSync",
                                                           "CloudTelemetryService",
                                                           "DictationIM",
                                                           "AirPlayXPCHelper",
                                                           "Safari",
                                                           "Mail",
                                                           "Music",
                                                           "Photos",
                                                           "Messages",
                                                           "FaceTime",
                                                           "Finder",
                                                           "softwareupdate",
                                                           "Software Update",
                                                           "mds",
                                                           "mds_stores",
                                                           "mdworker",
                                                           "backupd",
                                                           "useractivityd",
                                                           "runningboardd",
                                                           "appstoreagent",
                                                           "nsurlsessiond"};
  return names.count(process) > 0;
}

bool isUserToolName(std::string_view process) {
  static const std::set<std::string, std::less<>> names = {
      "caffeinate", "python", "python3", "node",           "ruby",       "perl",      "bash", "zsh",
      "sh",         "fish",   "swift",   "swift-frontend", "xcodebuild", "make",      "brew", "rsync",
      "ffmpeg",     "java",   "tmux",    "screen",         "ssh",        "scp",       "curl", "wget",
      "git",        "npm",    "yarn",    "deno",           "bun",        "osascript", "sudo", "Terminal",
      "iTerm2",     "ollama"};
  return names.count(process) > 0;
}

bool isSystem(std::string_view process, std::string_view name) {
  if (isUserToolName(process)) return false;
  if (isSystemName(process)) return true;
  const bool lowerFirst = !process.empty() && process.front() >= 'a' && process.front() <= 'z';
  const bool noSpace = process.find(' ') == std::string_view::npos;
  if (name.starts_with("com.apple.") && noSpace && lowerFirst) return true;
  if (!lowerFirst || !process.ends_with("d")) return false;
  return noSpace;
}

HolderOrigin origin(std::string_view process, std::string_view name) {
  if (isUserToolName(process)) return HolderOrigin::userTool;
  if (isSystem(process, name)) return HolderOrigin::system;
  return HolderOrigin::app;
}

}  // namespace SystemProcesses

}  // namespace snoozlet
