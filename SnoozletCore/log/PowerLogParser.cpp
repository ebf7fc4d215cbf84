#include "log/PowerLogParser.h"

#include "common/Text.h"

#include <cstring>
#include <string>

namespace snoozlet::PowerLogParser {

namespace {

const Pattern& batteryPattern() {
  static const Pattern p(R"(Using (AC|BATT|Batt|UPS) ?\(Charge: ?(\d{1,3})%?\))");
  return p;
}
const Pattern& secondsPattern() {
  static const Pattern p(R"((\d+) secs\s*$)");
  return p;
}
const Pattern& sleepEntryPattern() {
  static const Pattern p(R"(Entering (Sleep|DarkWake) state due to '([^']*)'(?::TCPKeepAlive=(\w+))?)");
  return p;
}
const Pattern& dueReasonPattern() {
  static const Pattern p(R"(due to (.*?)(?: Using (?:AC|BATT|Batt|UPS)|\s*$))");
  return p;
}
const Pattern& wakeRequestPattern() {
  static const Pattern p(
      R"re(\[(\*?)process=(\S+) request=(\S+) deltaSecs=(\d+) wakeAt=(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)(?: info="([^"]*)")?\])re");
  return p;
}
const Pattern& assertionPattern() {
  static const Pattern p(
      R"re(^PID (\d+)\((.+?)\) (Created|Released|TimedOut|Summary|ClientDied|Restarted|TurnedOff|TurnedOn) (\w+) "(.*)" (\d+):(\d\d):(\d\d))re");
  return p;
}

std::string owned(const std::optional<std::string_view>& v) { return v ? std::string(*v) : std::string(); }

}  // namespace

std::optional<BatteryPoint> battery(const LogEvent& event) {
  const std::string_view message = event.message;
  if (message.find("Charge") == std::string_view::npos) return std::nullopt;
  thread_local MatchViews g;
  if (!batteryPattern().match(message, g)) return std::nullopt;
  if (!g[1] || !g[2] || g[2]->empty()) return std::nullopt;
  const auto percent = text::parseInteger(*g[2]);
  if (!percent) return std::nullopt;
  return BatteryPoint{event.date, static_cast<int>(*percent), *g[1] == "AC"};
}

std::optional<double> seconds(const LogEvent& event) {
  const std::string_view message = event.message;
  if (!message.ends_with("secs")) return std::nullopt;
  thread_local MatchViews g;
  if (!secondsPattern().match(message, g) || !g[1]) return std::nullopt;
  return text::parseDouble(*g[1]);
}

std::optional<SleepEntry> sleepEntry(const LogEvent& event) {
  const std::string_view message = event.message;
  if (message.find("Entering ") == std::string_view::npos) return std::nullopt;
  thread_local MatchViews g;
  if (!sleepEntryPattern().match(message, g)) return std::nullopt;
  if (!g[1] || !g[2]) return std::nullopt;
  SleepEntry entry{std::string(*g[1]), std::string(*g[2]), std::nullopt};
  if (g[3]) entry.tcpKeepAlive = std::string(*g[3]);
  return entry;
}

std::string dueReason(const LogEvent& event) {
  const std::string_view message = event.message;
  const std::size_t at = message.find("due to ");
  if (at == std::string_view::npos) return event.message;
  thread_local MatchViews g;
  if (!dueReasonPattern().match(message.substr(at), g) || !g[1]) return event.message;
  return std::string(text::trimWhitespace(*g[1]));
}

std::vector<WakeRequest> wakeRequests(const LogEvent& event) {
  std::vector<WakeRequest> requests;
  const std::string_view message = event.message;
  if (message.find("process=") == std::string_view::npos) return requests;
  wakeRequestPattern().forEachMatch(message, [&](const MatchViews& g) {
    if (!g[2] || !g[3]) return;
    WakeRequest request;
    request.process = std::string(*g[2]);
    request.kind = std::string(*g[3]);
    if (g[6]) request.info = std::string(*g[6]);
    if (g[5]) request.wakeAt = wakeDate(*g[5], event.utcOffset);
    request.fired = g[1] && *g[1] == "*";
    requests.push_back(std::move(request));
  });
  return requests;
}

std::optional<AssertionEvent> assertion(const LogEvent& event) {
  const std::string_view message = event.message;
  if (!message.starts_with("PID ")) return std::nullopt;
  thread_local MatchViews g;
  if (!assertionPattern().match(message, g)) return std::nullopt;
  if (!g[1] || g[1]->empty() || !g[2] || !g[3] || !g[4] || !g[5]) return std::nullopt;
  const auto pid = text::parseInteger(*g[1]);
  if (!pid || !g[6] || !g[7] || !g[8]) return std::nullopt;
  const auto h = text::parseDouble(*g[6]);
  const auto m = text::parseDouble(*g[7]);
  const auto s = text::parseDouble(*g[8]);
  if (!h || !m || !s) return std::nullopt;
  AssertionEvent a;
  a.date = event.date;
  a.pid = *pid;
  a.process = owned(g[2]);
  a.action = owned(g[3]);
  a.type = owned(g[4]);
  a.name = owned(g[5]);
  a.age = *h * 3600 + *m * 60 + *s;
  return a;
}

std::optional<Instant> wakeDate(std::string_view text, int utcOffset) {
  if (text.size() != 19) return std::nullopt;
  char stamp[26];
  std::memcpy(stamp, text.data(), 19);
  std::memcpy(stamp + 19, " +0000 ", 7);
  const auto read = LogScanner::timestamp(std::string_view(stamp, 26), 0);
  if (!read) return std::nullopt;
  return read->first - utcOffset;
}

std::optional<MatchGroups> firstMatch(const Pattern& pattern, std::string_view message) {
  return pattern.firstMatch(message);
}

std::vector<MatchGroups> allMatches(const Pattern& pattern, std::string_view message) {
  return pattern.allMatches(message);
}

namespace {

// Splits a text into lines at \n, \r\n, \r, U+0085, U+2028 and U+2029.
template <typename Visit>
void forEachLine(std::string_view text, Visit&& visit) {
  std::size_t start = 0, i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const char c = text[i];
    std::size_t terminator = 0;
    if (c == '\n') {
      terminator = 1;
    } else if (c == '\r') {
      terminator = (i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
    } else if (c == '\xC2' && i + 1 < n && text[i + 1] == '\x85') {
      terminator = 2;
    } else if (c == '\xE2' && i + 2 < n && text[i + 1] == '\x80' && (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
      terminator = 3;
    }
    if (terminator == 0) {
      ++i;
      continue;
    }
    visit(text.substr(start, i - start));
    i += terminator;
    start = i;
  }
  if (start < n) visit(text.substr(start));
}

}  // namespace

std::vector<LogEvent> parse(std::string_view input) {
  // The text is expected to be UTF-8; anything else is repaired first so that
  // every message is valid text.
  std::string repaired;
  std::string_view text = input;
  if (!text::isValidUtf8(input)) {
    repaired = text::decodeUtf8(input);
    text = repaired;
  }
  std::vector<LogEvent> events;
  events.reserve(text.size() / 140);
  forEachLine(text, [&](std::string_view line) {
    bool isEvent = false;
    if (line.size() >= 26 && line[4] == '-' && line[7] == '-' && line[10] == ' ' && line[13] == ':' &&
        line[19] == ' ' && line[25] == ' ') {
      if (const auto stamp = LogScanner::timestamp(line, 0)) {
        const std::size_t tab = line.find('\t', 26);
        if (tab != std::string_view::npos) {
          LogEvent event;
          event.date = stamp->first;
          event.utcOffset = stamp->second;
          event.domain = LogDomain::fromColumn(line.substr(26, tab - 26));
          LogScanner::buildMessage(line.substr(tab + 1), event.message);
          events.push_back(std::move(event));
          isEvent = true;
        }
      }
    }
    if (!isEvent && line.starts_with("DriverReason:") && !events.empty()) {
      events.back().details.emplace_back(text::trimWhitespace(line));
    }
  });
  return events;
}

}  // namespace snoozlet::PowerLogParser
