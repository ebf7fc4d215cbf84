#pragma once

// The welcome window's illustrations: the three moods, the system's week of
// log beside Snoozlet's notebook, a real night's ribbon, and the commands a
// fix runs.

#include "common/NightSource.h"
#include "sessions/Language.h"

#include <QWidget>

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

// The three moods, each mascot over its title.
class MoodsIllustration : public QWidget {
 public:
  MoodsIllustration(const AppModel& model, QWidget* parent = nullptr);
};

// The system's own log ("macOS’s own log", "about 7 nights"; the system
// journal on a Linux laptop) beside "My notebook" ("every night I’ve read").
class NotebookIllustration : public QWidget {
 public:
  NotebookIllustration(NightSource source, Language language, QWidget* parent = nullptr);
};

// The demonstration night of 24 October 2026 (23:31 in the model's zone, 8
// hours, the battery from 64 to 55, Wi-Fi, background and maintenance
// wakes), analysed as any log is, drawn as the night page draws it.
class RibbonIllustration : public QWidget {
 public:
  RibbonIllustration(const AppModel& model, QWidget* parent = nullptr);
};

// What a fix shows before it runs: turning Power Nap off on battery.
class CommandIllustration : public QWidget {
 public:
  CommandIllustration(const AppModel& model, QWidget* parent = nullptr);
};

}  // namespace snoozlet::views
