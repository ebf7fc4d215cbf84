#pragma once

// The line parsers written as regular expressions: the definition of what
// each parser reads. PowerLogParser's own parsers work on bytes and give the
// same results several times faster; the tests and a fuzzer hold the two to
// each other, and the byte parsers fall back to these for text they were not
// written for (a message holding a line break).

#include "common/Pattern.h"
#include "log/LogEvent.h"
#include "log/LogFacts.h"

#include <optional>
#include <string>
#include <vector>

namespace snoozlet::PowerLogParser::patterns {

// "Using (AC|BATT|Batt|UPS) ?\(Charge: ?(\d{1,3})%?\)"
const Pattern& batteryPattern();
// "(\d+) secs\s*$"
const Pattern& secondsPattern();
// "Entering (Sleep|DarkWake) state due to '([^']*)'(?::TCPKeepAlive=(\w+))?"
const Pattern& sleepEntryPattern();
// "due to (.*?)(?: Using (?:AC|BATT|Batt|UPS)|\s*$)"
const Pattern& dueReasonPattern();
// "\[(\*?)process=(\S+) request=(\S+) deltaSecs=(\d+) wakeAt=(…)(?: info="([^"]*)")?\]"
const Pattern& wakeRequestPattern();
// "^PID (\d+)\((.+?)\) (Created|Released|…) (\w+) "(.*)" (\d+):(\d\d):(\d\d)"
const Pattern& assertionPattern();

std::optional<BatteryPoint> battery(const LogEvent& event);
std::optional<double> seconds(const LogEvent& event);
std::optional<SleepEntry> sleepEntry(const LogEvent& event);
std::string dueReason(const LogEvent& event);
std::vector<WakeRequest> wakeRequests(const LogEvent& event);
std::optional<AssertionEvent> assertion(const LogEvent& event);
std::optional<AssertionView> assertionView(const LogEvent& event);

}  // namespace snoozlet::PowerLogParser::patterns
