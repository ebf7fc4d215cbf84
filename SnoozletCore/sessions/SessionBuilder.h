#pragma once

// The state machine that cuts the power log's events into sleep sessions.
//
//   Awake --sleep--> Asleep (draft open) --wake--> Awake (session closed, fullWake)
//   Awake --darkWake--> Asleep (partial draft)      --boot/shutdown--> Awake (shutdown)
//
// While asleep it records dark wakes (with the fired wake request that
// explains them), battery readings, assertion holders and failures. It is a
// LogConsumer: it tells the scanner which domains it wants, so assertion
// lines are turned into events only while a session is open.

#include "log/LogEvent.h"
#include "log/LogFacts.h"
#include "sessions/HolderAccumulator.h"
#include "sessions/SleepSession.h"

#include <optional>
#include <vector>

namespace snoozlet {

class SessionBuilder {
 public:
  // The open session.
  struct Draft {
    Instant start = 0;
    std::string sleepReason = "?";
    std::optional<std::string> tcpKeepAlive;
    bool isPartial = false;
    // In arrival order; sorted when the session closes.
    std::vector<BatteryPoint> battery;
    std::vector<DarkWakeEvent> darkWakes;
    HolderAccumulator holders;
    std::vector<SleepFailure> failures;
    bool operator==(const Draft&) const = default;
  };

  // Fired requests are attached to dark wakes of these categories only, and
  // only within this many seconds of the wake.
  static constexpr double kRequestWindow = 120;

  SessionBuilder() = default;

  // Sleep, dark wake, wake, wake requests, failures, boot and shutdown
  // always; assertions only while a session is open; nothing else.
  bool wants(const LogDomain& domain) const;
  void consume(const LogEvent& event);

  // The closed sessions, followed by the open one closed provisionally as
  // `ongoing` at the latest event. The builder is not changed.
  std::vector<SleepSession> sessions() const;
  // The open session closed provisionally as `ongoing` (what sessions()
  // appends), or nothing.
  std::optional<SleepSession> ongoingSession() const;
  // sessions(), moved out of a builder that is no longer needed.
  std::vector<SleepSession> takeSessions() &&;
  bool isAsleep() const { return current_.has_value(); }
  // Drops closed sessions that ended before `before`; the open draft stays.
  void prune(Instant before);

  // The sessions of a list of events, fed to a fresh builder.
  static std::vector<SleepSession> sessions(const std::vector<LogEvent>& events);

  const std::vector<SleepSession>& closed() const { return closed_; }
  const std::optional<Draft>& current() const { return current_; }
  const std::optional<WakeRequest>& firedRequest() const { return firedRequest_; }
  std::optional<Instant> lastEventDate() const { return lastEventDate_; }

  bool operator==(const SessionBuilder& o) const {
    return closed_ == o.closed_ && current_ == o.current_ && firedRequest_ == o.firedRequest_ &&
           lastEventDate_ == o.lastEventDate_;
  }

 private:
  // The reason of a wake line, shared with an earlier wake of the same text
  // (and its verdict reused) when there is one.
  WakeReason reasonFor(std::string raw);
  void onSleep(const LogEvent& event);
  void onDarkWake(const LogEvent& event);
  void onWakeRequests(const LogEvent& event);
  void onAssertion(const LogEvent& event);
  void openDraft(Instant start, bool partial);
  void close(Instant at, SessionEnd ending, std::optional<BatteryPoint> battery);
  static SleepSession makeSession(Draft draft, Instant end, SessionEnd ending);

  std::vector<SleepSession> closed_;
  std::optional<Draft> current_;
  std::optional<WakeRequest> firedRequest_;
  std::optional<Instant> lastEventDate_;
  // The most recent distinct wake reasons: a night repeats a few texts
  // hundreds of times, so they are stored and classified once.
  std::vector<WakeReason> recentReasons_;
};

}  // namespace snoozlet
