#pragma once

// The events of the power log: one accepted line each, with its instant, the
// line's own offset from UTC, its domain and its message.

#include "common/Instant.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet {

// The category of a log line, from its domain column. `other` carries the
// column text (empty when the scanner produced it: the scanner never keeps it).
class LogDomain {
 public:
  enum class Kind : std::uint8_t {
    other,
    sleep,
    darkWake,
    wake,
    wakeDetails,
    wakeRequests,
    assertions,
    notification,
    failure,
    boot,
    shutdown,
  };

  LogDomain(Kind kind = Kind::other) : kind_(kind) {}
  static LogDomain other(std::string text) {
    LogDomain d(Kind::other);
    d.text_ = std::move(text);
    return d;
  }
  // Maps a column text (trimmed of white space first) to its domain:
  // "Sleep", "DarkWake", "Wake", "WakeDetails", "Wake Requests", "Assertions",
  // "Notification" exactly; "failure" anywhere in any case; "Start" or
  // "Start …"; "Shutdown…" or "Restart"; anything else is `other`.
  static LogDomain fromColumn(std::string_view column);

  Kind kind() const { return kind_; }
  // The column text of an `other` domain.
  const std::string& text() const { return text_; }

  bool operator==(const LogDomain& o) const { return kind_ == o.kind_ && (kind_ != Kind::other || text_ == o.text_); }
  bool operator==(Kind k) const { return kind_ == k; }

 private:
  Kind kind_;
  std::string text_;
};

// Case names ("darkWake", "other").
std::string_view toString(LogDomain::Kind kind);

// One accepted line of the log.
struct LogEvent {
  Instant date = 0;
  // Seconds east of UTC written on the line (+0300 → 10800).
  int utcOffset = 0;
  LogDomain domain;
  // The text after the first tab: valid UTF-8, tabs turned into spaces,
  // trimmed.
  std::string message;
  // "DriverReason:" continuation lines, filled only by PowerLogParser::parse.
  std::vector<std::string> details;

  bool operator==(const LogEvent&) const = default;
};

// Where a read stopped: the instant of the last line read and how many lines
// carrying exactly that instant had been read.
struct LogCursor {
  Instant date = 0;
  int seenAtDate = 0;
  bool operator==(const LogCursor&) const = default;
};

}  // namespace snoozlet

template <>
struct std::hash<snoozlet::LogCursor> {
  std::size_t operator()(const snoozlet::LogCursor& c) const noexcept {
    return std::hash<double>()(c.date) * 31 + std::hash<int>()(c.seenAtDate);
  }
};
template <>
struct std::hash<snoozlet::LogDomain> {
  std::size_t operator()(const snoozlet::LogDomain& d) const noexcept {
    return static_cast<std::size_t>(d.kind()) * 31 + std::hash<std::string>()(d.text());
  }
};
