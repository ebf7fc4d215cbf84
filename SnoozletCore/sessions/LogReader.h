#pragma once

// The incremental front of the analysis. The whole power log is read again on
// every refresh; the reader remembers where it stopped (a cursor), so each
// read parses only the lines written since, and it keeps one session builder
// across reads so that a session open at the last read is continued.

#include "common/Result.h"
#include "log/LogEvent.h"
#include "sessions/SessionBuilder.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace snoozlet {

class LogReader {
 public:
  // The next block of the log, nothing at the end, or an error.
  using ChunkSource = std::function<Result<std::optional<std::string_view>>()>;

  LogReader() = default;

  // Reads the log block by block. All or nothing: when the source fails, the
  // reader is left exactly as it was and the error is returned.
  Status ingest(const ChunkSource& source);
  // Reads a whole log held in memory.
  void ingest(std::string_view bytes);

  // Closed sessions, then the ongoing one, if any.
  std::vector<SleepSession> sessions() const { return builder_.sessions(); }
  // sessions(), moved out of a reader that is no longer needed.
  std::vector<SleepSession> takeSessions() && { return std::move(builder_).takeSessions(); }

  const SessionBuilder& builder() const { return builder_; }
  const std::optional<LogCursor>& cursor() const { return cursor_; }
  // The date of the first dated line of the latest read: the oldest moment
  // the system's log still holds.
  std::optional<Instant> coveredFrom() const { return coveredFrom_; }
  // The date of the last line read.
  std::optional<Instant> coveredTo() const {
    return cursor_ ? std::optional<Instant>(cursor_->date) : std::nullopt;
  }

  bool operator==(const LogReader&) const = default;

 private:
  SessionBuilder builder_;
  std::optional<LogCursor> cursor_;
  std::optional<Instant> coveredFrom_;
};

}  // namespace snoozlet
