#include "log/LinePatterns.h"

#include "common/Text.h"
#include "log/PowerLogParser.h"

namespace snoozlet::PowerLogParser::patterns {

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
  const auto view = assertionView(event);
  return view ? std::optional<AssertionEvent>(view->owned()) : std::nullopt;
}

std::optional<AssertionView> assertionView(const LogEvent& event) {
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
  return AssertionView{event.date, *pid, *g[2], *g[3], *g[4], *g[5], *h * 3600 + *m * 60 + *s};
}

}  // namespace snoozlet::PowerLogParser::patterns
