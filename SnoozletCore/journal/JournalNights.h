#pragma once

// Sleep sessions of a Linux laptop, built from the systemd journal's entries
// about sleep and from UPower's battery history.
//
// What the journal records around a suspend:
// - systemd-sleep's start and end entries, each with its MESSAGE_ID and a
//   SLEEP= field. They date the session: their wording differs between
//   versions ("Entering sleep state 'suspend'...", "Performing sleep operation
//   'suspend'...", "Suspending system..."), their identifiers do not. The end
//   identifier also marks a failure ("Failed to put system to sleep. System
//   resumed again: …").
// - systemd-logind's lines: what asked for the sleep ("Lid closed.", "Suspend
//   key pressed.", "suspend requested from client PID n ('name')", "System is
//   idle"), "Suspending..." (a start, for a journal without systemd-sleep's
//   entries), "Lid opened." and "Power key pressed." after a resume.
// - the kernel's lines. In s2idle they are written only at the full resume,
//   all with one time stamp, so they are used in order and never for dates:
//   "Woke up from IRQ n (…)", "PM: Triggering wakeup from IRQ n", "PM: Wakeup
//   pending, aborting suspend", "PM: active wakeup source: …".
// A resume that goes back to sleep within a few minutes, with no lid opened
// and no key pressed, is a dark wake of the same session. A new boot ends an
// open session as a shutdown at the new boot's first entry: the machine never
// came back from that sleep.
//
// systemd-sleep writes a sleep's start and its end from one process. A start
// from another process while a sleep is open, or an end from another process,
// means the open sleep's end was never written (a lost line, a crash, a boot
// the copy does not show): the machine was awake in between, but nobody saw
// when it woke. Such a sleep ended unseen: no session is made of it, since
// nothing tells its length.

#include "common/Instant.h"
#include "log/LogFacts.h"
#include "sessions/SleepSession.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace snoozlet {

// The journal fields a night is built from.
struct JournalEntry {
  // __REALTIME_TIMESTAMP, in seconds.
  Instant date = 0;
  std::string bootId;
  std::string message;
  std::string messageId;
  // SLEEP= of systemd-sleep's entries ("suspend", "hibernate", …).
  std::string sleep;
  std::string identifier;
  // _PID, 0 when the entry carries none (the kernel's lines).
  int pid = 0;
  // _TRANSPORT=kernel.
  bool kernel = false;
};

// systemd-sleep's entries, in every version's wording.
inline constexpr std::string_view kSleepStartId = "6bbd95ee977941e497c48be27c254128";
inline constexpr std::string_view kSleepStopId = "8811e6df2a8e40f58a94cea26f8ebf14";

// UPower's history file: one "unix-time TAB value TAB state" line per change.
// The charge history's value is the battery's percentage; lines that do not
// read are skipped. `onAC` is true in every state but "discharging" and
// "unknown" (charging, fully-charged, pending-charge).
std::vector<BatteryPoint> parseUPowerHistory(std::string_view text);

// The category of a wake's text from the journal: the lid switch, the power
// button or keyboard, the charger, an RTC alarm or timer, Wake-on-LAN, Wi-Fi
// or Bluetooth, a USB device; anything else (an EC or GPE event) is unknown.
WakeCategory classifyLinuxWake(std::string_view text);

class JournalNights {
 public:
  // A resume followed by a new sleep this soon, with no lid opened and no key
  // pressed, is a dark wake.
  static constexpr double kDarkWakeGap = 180;

  // Adds the next entry in the journal's order.
  void add(const JournalEntry& entry);
  // Closed sessions, then the open one (ongoing, to the last entry), oldest
  // first, with the battery readings of `battery` (oldest first) that fall in
  // each: the last one at or before the start, those inside, and the first
  // within ten minutes after the end.
  std::vector<SleepSession> sessions(const std::vector<BatteryPoint>& battery = {}) const;

  // Attempts that failed before the machine slept, each kept as a failure of
  // the session that follows it too.
  const std::vector<SleepFailure>& failedAttempts() const { return failedAttempts_; }
  // The first and the last entry's date.
  std::optional<Instant> coveredFrom() const { return coveredFrom_; }
  std::optional<Instant> coveredTo() const { return coveredTo_; }

  bool operator==(const JournalNights&) const = default;

 private:
  // A sleep under way: from its start entry to its end entry, or to a new boot.
  struct Open {
    SleepSession session;
    // The time systemd-sleep's end entry came (a dark wake's start, should
    // the machine go back to sleep soon), and the wake cause seen so far.
    std::optional<Instant> resumed;
    std::optional<std::string> cause;
    std::optional<WakeCategory> causeCategory;
    bool userSeen = false;
    bool fromSleepd = false;
    // The systemd-sleep process whose end closes it (0: not known).
    int pid = 0;
    // A full wake for the cause seen so far ("?" when none).
    SessionEnd wokeUp() const;
    bool operator==(const Open&) const = default;
  };

  void start(const JournalEntry& entry, std::string reason, bool fromSleepd);
  void resume(const JournalEntry& entry);
  void fail(const JournalEntry& entry, std::string message);
  void closeResumed();
  // Drops the open sleep: its end was never written.
  void endUnseen();
  // An entry of systemd-sleep written by another process than the open
  // sleep's (both known).
  bool fromOtherProcess(const JournalEntry& entry) const;
  void noteCause(std::string text, WakeCategory category);

  std::vector<SleepSession> closed_;
  std::optional<Open> open_;
  // What asked for the next sleep ("Lid closed", "Suspend key pressed", …).
  std::optional<std::pair<Instant, std::string>> trigger_;
  std::vector<SleepFailure> failedAttempts_;
  std::vector<SleepFailure> pendingFailures_;
  std::optional<std::string> activeWakeSource_;
  std::string bootId_;
  std::optional<Instant> coveredFrom_;
  std::optional<Instant> coveredTo_;
};

}  // namespace snoozlet
