#pragma once

// Facts read out of log messages by PowerLogParser.

#include "common/Instant.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace snoozlet {

// The battery level at an instant, as printed ("Using Batt (Charge:76%)").
struct BatteryPoint {
  Instant date = 0;
  // 0–999 as printed; not clamped.
  int percent = 0;
  // True only for the source "AC".
  bool onAC = false;
  bool operator==(const BatteryPoint&) const = default;
};

// One scheduled wake listed on a "Wake Requests" line.
struct WakeRequest {
  std::string process;
  // The request kind printed after "request=".
  std::string kind;
  // The quoted text after "info=", when present.
  std::optional<std::string> info;
  // When the wake was scheduled, read in the line's own offset.
  std::optional<Instant> wakeAt;
  // True for the bracket that began with "*": the request that woke the Mac.
  bool fired = false;
  bool operator==(const WakeRequest&) const = default;
};

// One line of the "Assertions" domain.
struct AssertionEvent {
  Instant date = 0;
  long long pid = 0;
  std::string process;
  // "Created", "Released", "TimedOut", "Summary", "ClientDied", "Restarted",
  // "TurnedOff" or "TurnedOn".
  std::string action;
  // The assertion type, one word ("PreventSystemSleep").
  std::string type;
  // The quoted assertion name.
  std::string name;
  // Seconds the assertion had been held when the line was written.
  double age = 0;
  bool operator==(const AssertionEvent&) const = default;
};

// An assertion line's fields as views into its message, valid while the
// message is: the session builder accounts holders without copying them.
struct AssertionView {
  Instant date = 0;
  long long pid = 0;
  std::string_view process, action, type, name;
  double age = 0;
  AssertionEvent owned() const {
    return {date, pid, std::string(process), std::string(action), std::string(type), std::string(name), age};
  }
};

// The sleep-entry triple: kind "Sleep" or "DarkWake", the quoted reason, and
// the optional keep-alive word.
struct SleepEntry {
  std::string kind;
  std::string reason;
  std::optional<std::string> tcpKeepAlive;
  bool operator==(const SleepEntry&) const = default;
};

}  // namespace snoozlet

template <>
struct std::hash<snoozlet::BatteryPoint> {
  std::size_t operator()(const snoozlet::BatteryPoint& p) const noexcept {
    return std::hash<double>()(p.date) * 31 + static_cast<std::size_t>(p.percent) * 2 + (p.onAC ? 1 : 0);
  }
};
template <>
struct std::hash<snoozlet::WakeRequest> {
  std::size_t operator()(const snoozlet::WakeRequest& r) const noexcept {
    std::size_t h = std::hash<std::string>()(r.process);
    h = h * 31 + std::hash<std::string>()(r.kind);
    h = h * 31 + (r.info ? std::hash<std::string>()(*r.info) : 0);
    h = h * 31 + (r.wakeAt ? std::hash<double>()(*r.wakeAt) : 0);
    return h * 2 + (r.fired ? 1 : 0);
  }
};
