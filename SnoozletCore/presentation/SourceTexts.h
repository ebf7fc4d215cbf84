#pragma once

// The windows' texts that name the machine or its system, decided by where
// the nights come from: a Mac (pmset, or the simulated Mac) or a Linux
// laptop's journal. The welcome window's pages, the notification lines of the
// welcome and settings windows, the notebook illustration's caption and the
// badge of an app that kept the machine awake. The views only place them.

#include "common/NightSource.h"
#include "sessions/Language.h"

#include <string>
#include <vector>

namespace snoozlet::presentation {

// One page of the welcome window: its title over its body.
struct WelcomePage {
  std::string title;
  std::string body;
  bool operator==(const WelcomePage&) const = default;
};

// The five pages, in order: why it woke, the notebook, reading a night, the
// changes, the two extras.
std::vector<WelcomePage> welcomePages(NightSource source, Language language);

// The lines under "Morning report notification" on the welcome window's last
// page: when it comes and who asks for permission.
std::vector<std::string> welcomeNotificationLines(NightSource source, Language language);
// The same line in the settings window.
std::string settingsNotificationLine(NightSource source, Language language);

// The caption of the system's own log in the notebook illustration: its name
// over how long it keeps nights ("macOS’s own log" over "about 7 nights").
struct LogCaption {
  std::string name;
  std::string keeps;
  bool operator==(const LogCaption&) const = default;
};
LogCaption systemLogCaption(NightSource source, Language language);

// The badge of a holder row that kept the machine from sleeping.
std::string keptAwakeBadge(NightSource source, Language language);

// A copied journal some of whose files could not be read: how many, and
// that the nights shown come from the others.
std::string unreadableJournalFiles(int unreadable, int total, Language language);

}  // namespace snoozlet::presentation
