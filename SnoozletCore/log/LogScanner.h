#pragma once

// The power log's front end. Bytes go in; dated, typed events come out for
// the domains a consumer wants, and nothing is built for the lines it does
// not want. A line looks like
//
//   2024-03-10 23:59:58 +0300 Sleep               \tEntering Sleep state …
//   0         1         2     ^26 domain column   ^tab then the message
//
// The hot path works on bytes: memchr finds line feeds and the tab, the
// timestamp is converted arithmetically, the seven common domain columns are
// recognised without a string, and a message is decoded only for a line the
// consumer asked for.

#include "log/LogEvent.h"

#include <concepts>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

namespace snoozlet {

// Receives events in log order. `wants` is asked for every dated line before
// its event is built; `consume` gets the wanted ones. A template parameter,
// not a virtual interface: the scanner's loop pays no indirect call for the
// lines it rejects.
template <typename C>
concept LogConsumer = requires(C& consumer, const LogDomain& domain, const LogEvent& event) {
  { consumer.wants(domain) } -> std::convertible_to<bool>;
  consumer.consume(event);
};

// One pass over the log text, fed whole or in chunks.
class LogScanner {
 public:
  // `after`: where the previous read stopped; lines up to it are skipped.
  explicit LogScanner(std::optional<LogCursor> after = std::nullopt) : cursor_(after) {}

  // Handles every complete line of `bytes` (and, when `final`, the
  // unterminated last line too); returns the number of bytes consumed. A
  // caller feeding a stream keeps the rest for the next call.
  template <LogConsumer Consumer>
  std::size_t feed(std::string_view bytes, bool final, Consumer& consumer);

  // (date of the latest dated line, how many consecutive lines carried it);
  // nothing when the pass saw no dated line.
  std::optional<LogCursor> resultCursor() const {
    if (!latest_) return std::nullopt;
    return LogCursor{*latest_, countAtLatest_};
  }
  // Date of the first dated line of this pass.
  std::optional<Instant> firstDate() const { return firstDate_; }

  // Reads "yyyy-MM-dd HH:mm:ss ±hhmm" at `start` (26 bytes must be
  // available): the instant and the offset in seconds east of UTC. Fields are
  // not range-checked (month 13 is computed through); a non-digit gives
  // nothing.
  static std::optional<std::pair<Instant, int>> timestamp(std::string_view bytes, std::size_t start = 0);

  // The domain of a column given as raw bytes, without allocating for the
  // seven common columns; an `other` column yields `other` with empty text.
  static LogDomain scannerDomain(std::string_view column);

  // Builds the message: UTF-8 with replacement, tabs as spaces, trimmed.
  static void buildMessage(std::string_view bytes, std::string& out);

 private:
  // True when the line's shape and timestamp make it a dated line; fills
  // date and offset. Consecutive lines mostly share their day, so the day's
  // number is computed once per day text.
  bool readStamp(std::string_view line, Instant& date, int& offset);

  template <LogConsumer Consumer>
  void handleLine(std::string_view line, Consumer& consumer);

  std::optional<LogCursor> cursor_;
  std::optional<Instant> latest_;
  int countAtLatest_ = 0;
  int seenAtCursor_ = 0;
  std::optional<Instant> firstDate_;
  LogEvent event_;  // reused for every delivered line to keep its buffer
  char dayText_[10] = {};  // "yyyy-MM-dd" of the last dated line
  long long dayNumber_ = 0;
};

template <LogConsumer Consumer>
std::size_t LogScanner::feed(std::string_view bytes, bool final, Consumer& consumer) {
  if (bytes.empty()) return 0;
  const char* const base = bytes.data();
  const std::size_t size = bytes.size();
  std::size_t position = 0;
  while (position < size) {
    const void* found = std::memchr(base + position, '\n', size - position);
    if (found == nullptr) {
      if (final) {
        handleLine(std::string_view(base + position, size - position), consumer);
        position = size;
      }
      break;
    }
    const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(found) - base);
    handleLine(std::string_view(base + position, end - position), consumer);
    position = end + 1;
  }
  return position < size ? position : size;
}

template <LogConsumer Consumer>
void LogScanner::handleLine(std::string_view line, Consumer& consumer) {
  Instant date;
  int offset;
  if (!readStamp(line, date, offset)) return;

  if (!firstDate_) firstDate_ = date;
  if (latest_ && *latest_ == date) {
    ++countAtLatest_;
  } else {
    latest_ = date;
    countAtLatest_ = 1;
  }

  if (cursor_) {
    if (date < cursor_->date) return;
    if (date == cursor_->date) {
      ++seenAtCursor_;
      if (seenAtCursor_ <= cursor_->seenAtDate) return;
    }
  }

  const void* tab = std::memchr(line.data() + 26, '\t', line.size() - 26);
  if (tab == nullptr) return;
  const std::size_t tabAt = static_cast<std::size_t>(static_cast<const char*>(tab) - line.data());
  const LogDomain domain = scannerDomain(line.substr(26, tabAt - 26));
  if (!consumer.wants(domain)) return;

  event_.date = date;
  event_.utcOffset = offset;
  event_.domain = domain;
  buildMessage(line.substr(tabAt + 1), event_.message);
  consumer.consume(static_cast<const LogEvent&>(event_));
}

}  // namespace snoozlet
