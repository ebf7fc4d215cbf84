#pragma once

// Sleep sessions: from entering sleep to the full wake, shutdown or restart
// that ended it, with every dark wake, battery reading, assertion holder and
// sleep failure in between.

#include "common/Instant.h"
#include "common/Shared.h"
#include "log/LogFacts.h"
#include "sessions/SystemProcesses.h"
#include "sessions/WakeCategory.h"

#include <optional>
#include <string>
#include <vector>

namespace snoozlet {

// How a session ended: a full wake (with its reason), a shutdown or restart,
// or not yet (the session is still open at the end of the log).
class SessionEnd {
 public:
  enum class Kind { fullWake, shutdown, ongoing };

  static SessionEnd fullWake(WakeReason reason) { return SessionEnd(Kind::fullWake, std::move(reason)); }
  static SessionEnd shutdown() { return SessionEnd(Kind::shutdown, std::nullopt); }
  static SessionEnd ongoing() { return SessionEnd(Kind::ongoing, std::nullopt); }

  Kind kind() const { return kind_; }
  // The full wake's reason; nothing for the other two cases.
  const std::optional<WakeReason>& reason() const { return reason_; }

  bool operator==(const SessionEnd&) const = default;

 private:
  SessionEnd(Kind kind, std::optional<WakeReason> reason) : kind_(kind), reason_(std::move(reason)) {}
  Kind kind_;
  std::optional<WakeReason> reason_;
};

// Case names "fullWake", "shutdown", "ongoing".
std::string_view toString(SessionEnd::Kind kind);

// One short wake with the display off.
struct DarkWakeEvent {
  Instant date = 0;
  // Seconds awake, as the line states.
  std::optional<double> duration;
  WakeReason reason;
  std::optional<BatteryPoint> battery;
  // The fired wake request that explains this wake (shared between copies).
  SharedOptional<WakeRequest> request;
  bool operator==(const DarkWakeEvent&) const = default;
};

// A failure line logged during a session.
struct SleepFailure {
  Instant date = 0;
  std::string message;
  bool operator==(const SleepFailure&) const = default;
};

// One program that held a sleep-preventing assertion during a session: every
// process id of the same program, type and cleaned name together.
struct HolderGroup {
  std::string process;
  std::string type;
  std::string name;
  // Times created, at least 1.
  int count = 1;
  double heldSeconds = 0;
  HolderOrigin origin = HolderOrigin::app;
  bool operator==(const HolderGroup&) const = default;
};

struct SleepSession {
  Instant start = 0;
  Instant end = 0;
  SessionEnd ending = SessionEnd::ongoing();
  // The quoted reason of the sleep entry; "?" when unknown.
  std::string sleepReason = "?";
  std::optional<std::string> tcpKeepAlive;
  // Oldest first.
  std::vector<BatteryPoint> battery;
  std::vector<DarkWakeEvent> darkWakes;
  // Most held time first.
  std::vector<HolderGroup> holders;
  std::vector<SleepFailure> failures;
  // Opened by a dark wake because the sleep entry is not in the log.
  bool isPartial = false;
  bool operator==(const SleepSession&) const = default;
};

}  // namespace snoozlet
