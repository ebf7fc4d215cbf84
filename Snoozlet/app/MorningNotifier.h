#pragma once

// The morning notification: at most one per night, posted only shortly after
// the machine woke from it, and never twice for the same night, also across
// launches (the start of the last notified night is kept in the store).

#include "analysis/NightReport.h"
#include "app/NotificationCenter.h"
#include "common/Instant.h"

#include <QSettings>
#include <QString>

#include <functional>

namespace snoozlet {

class AppSettings;

class MorningNotifier {
 public:
  using Clock = std::function<Instant()>;

  static constexpr const char* kLastNotifiedNight = "lastNotifiedNight";
  // A night is notified only within this many seconds of the wake that ended it.
  static constexpr double kFreshFor = 7200;

  // The store and the center must outlive the notifier; a null center posts
  // nothing. Without a clock the system clock is used.
  MorningNotifier(QSettings& store, NotificationCenter* center, Clock clock = {});

  // Posts the night when the rule allows: it starts after the last notified
  // night, it ended with a full wake (not by shutdown, not still ongoing),
  // and that wake was less than two hours ago. The night's start is stored
  // first, then the notification "morning-<start in whole seconds>" is
  // posted. True when it was posted. Whether notifications are switched on
  // is the caller's question.
  bool offer(const NightReport& night, const QString& title, const QString& body);

  // "morning-" followed by the night's start truncated to whole seconds.
  static QString identifier(Instant nightStart);

  // The start of the last notified night; 0 when none was.
  Instant lastNotifiedNight() const;

  // Asks the center for permission and switches the morning notification to
  // the answer (off when refused or when there is no center); `done`, when
  // given, receives the answer.
  void requestPermission(AppSettings& settings, std::function<void(bool granted)> done = {});

  NotificationCenter* center() const { return center_; }

 private:
  QSettings& store_;
  NotificationCenter* center_;
  Clock clock_;
};

}  // namespace snoozlet
