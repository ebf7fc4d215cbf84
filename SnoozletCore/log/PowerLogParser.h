#pragma once

// Pure functions that read facts out of power-log messages, plus the two
// whole-log entry points. Each parser returns nothing (or an empty list) for a
// message without the expected shape; none reports an error. A cheap
// plain-text test runs before every regular expression.

#include "common/Pattern.h"
#include "log/LogEvent.h"
#include "log/LogFacts.h"
#include "log/LogScanner.h"

#include <optional>
#include <string_view>
#include <vector>

namespace snoozlet::PowerLogParser {

// "Using AC|BATT|Batt|UPS (Charge: 76%)": the level at the event's date.
std::optional<BatteryPoint> battery(const LogEvent& event);
// "… 45 secs" at the end of the message.
std::optional<double> seconds(const LogEvent& event);
// "Entering Sleep|DarkWake state due to '<reason>'[:TCPKeepAlive=<word>]".
std::optional<SleepEntry> sleepEntry(const LogEvent& event);
// The wake reason after "due to ", without a trailing battery clause; the
// whole message when there is no "due to ".
std::string dueReason(const LogEvent& event);
// Every "[*process=… request=… deltaSecs=… wakeAt=… info="…"]" bracket.
std::vector<WakeRequest> wakeRequests(const LogEvent& event);
// The first request of the line with `fired` set (what the session builder
// remembers), without building the others.
std::optional<WakeRequest> firedRequest(const LogEvent& event);
// "PID 123(name) Created Type "name" 01:02:03".
std::optional<AssertionEvent> assertion(const LogEvent& event);
// The same as views into the event's message (no copies).
std::optional<AssertionView> assertionView(const LogEvent& event);
// A 19-byte "yyyy-MM-dd HH:mm:ss" read in the given offset.
std::optional<Instant> wakeDate(std::string_view text, int utcOffset);

// The capture groups of the first match in the whole message.
std::optional<MatchGroups> firstMatch(const Pattern& pattern, std::string_view message);
// The capture groups of every non-overlapping match, left to right.
std::vector<MatchGroups> allMatches(const Pattern& pattern, std::string_view message);

// The result of a whole-log scan.
struct ScanResult {
  std::optional<LogCursor> cursor;
  std::optional<Instant> firstDate;
};

// Scans the whole log (bytes) after an optional cursor into a consumer.
template <LogConsumer Consumer>
ScanResult scan(std::string_view bytes, std::optional<LogCursor> after, Consumer& consumer) {
  LogScanner scanner(after);
  scanner.feed(bytes, true, consumer);
  return {scanner.resultCursor(), scanner.firstDate()};
}

// Every event of a log text, every domain, with "DriverReason:" lines
// attached to the event before them. Lines may end with any line terminator.
std::vector<LogEvent> parse(std::string_view text);

}  // namespace snoozlet::PowerLogParser
