// Every PowerLogParser line parser, and the scanner's own byte-level helpers,
// on arbitrary messages: raw bytes as they come, and the normalised message
// the scanner would build from them.
//
// Input: the message bytes, then trailing bytes for the event's date, offset
// and domain.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "FuzzCheck.h"
#include "common/Text.h"
#include "log/LinePatterns.h"
#include "log/LogScanner.h"
#include "log/PowerLogParser.h"

namespace {

using namespace snoozlet;

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

void parseMessage(const LogEvent& event) {
  const std::string_view message = event.message;
  const bool valid = text::isValidUtf8(message);

  // The byte parsers read what the regular expressions that define them read
  // (on messages as the scanner builds them: valid UTF-8).
  if (valid) {
    namespace reference = PowerLogParser::patterns;
    FUZZ_CHECK(PowerLogParser::battery(event) == reference::battery(event));
    FUZZ_CHECK(PowerLogParser::seconds(event) == reference::seconds(event));
    FUZZ_CHECK(PowerLogParser::sleepEntry(event) == reference::sleepEntry(event));
    FUZZ_CHECK(PowerLogParser::dueReason(event) == reference::dueReason(event));
    const auto requests = reference::wakeRequests(event);
    FUZZ_CHECK(PowerLogParser::wakeRequests(event) == requests);
    std::optional<WakeRequest> fired;
    for (const auto& r : requests) {
      if (r.fired) {
        fired = r;
        break;
      }
    }
    FUZZ_CHECK(PowerLogParser::firedRequest(event) == fired);
    FUZZ_CHECK(PowerLogParser::assertion(event) == reference::assertion(event));
  }

  if (const auto point = PowerLogParser::battery(event)) {
    FUZZ_CHECK(point->date == event.date);
    FUZZ_CHECK(point->percent >= 0 && point->percent <= 999);
    FUZZ_CHECK(!point->onAC || contains(message, "Using AC"));
  }
  if (const auto seconds = PowerLogParser::seconds(event)) {
    FUZZ_CHECK(!std::isnan(*seconds) && *seconds >= 0);
  }
  if (const auto entry = PowerLogParser::sleepEntry(event)) {
    FUZZ_CHECK(entry->kind == "Sleep" || entry->kind == "DarkWake");
    FUZZ_CHECK(!contains(entry->reason, "'"));
    FUZZ_CHECK(!entry->tcpKeepAlive || !entry->tcpKeepAlive->empty());
  }
  const std::string reason = PowerLogParser::dueReason(event);
  FUZZ_CHECK(contains(message, reason));
  if (!contains(message, "due to ")) FUZZ_CHECK(reason == message);
  if (valid) FUZZ_CHECK(text::isValidUtf8(reason));

  for (const WakeRequest& request : PowerLogParser::wakeRequests(event)) {
    FUZZ_CHECK(!request.process.empty() && !request.kind.empty());
    FUZZ_CHECK(request.wakeAt.has_value() && std::isfinite(*request.wakeAt));
    FUZZ_CHECK(!request.info || !contains(*request.info, "\""));
  }
  if (const auto assertion = PowerLogParser::assertion(event)) {
    FUZZ_CHECK(assertion->date == event.date);
    FUZZ_CHECK(assertion->pid >= 0);
    FUZZ_CHECK(std::isfinite(assertion->age) && assertion->age >= 0);
    FUZZ_CHECK(!assertion->process.empty() && !assertion->type.empty() && !assertion->action.empty());
  }
  // The generic matchers, with patterns that can match empty text (the
  // hardest case for stepping from one match to the next).
  static const Pattern digits(R"((\d*))");
  static const Pattern spaces(R"([\s\p{Z}\v]*|x)");
  // A match at every position is costly: a prefix of the message is enough.
  const std::string_view head = message.substr(0, 256);
  for (const Pattern* pattern : {&digits, &spaces}) {
    const auto all = PowerLogParser::allMatches(*pattern, head);
    FUZZ_CHECK(all.size() <= head.size() + 1);
    FUZZ_CHECK(PowerLogParser::firstMatch(*pattern, head).has_value() == !all.empty());
    std::size_t end = 0;
    pattern->forEachMatch(head, [&](const MatchViews& groups) {
      FUZZ_CHECK(groups[0].has_value());
      const auto begin = static_cast<std::size_t>(groups[0]->data() - head.data());
      FUZZ_CHECK(begin >= end && begin + groups[0]->size() <= head.size());
      end = begin + groups[0]->size();
    });
  }
  if (message.size() >= 19) {
    if (const auto date = PowerLogParser::wakeDate(message.substr(0, 19), event.utcOffset))
      FUZZ_CHECK(std::isfinite(*date));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  LogEvent event;
  event.date = static_cast<Instant>(provider.ConsumeIntegralInRange<std::int64_t>(-(1LL << 40), 1LL << 40));
  event.utcOffset = provider.ConsumeIntegralInRange<int>(-100 * 3600, 100 * 3600);
  event.domain = static_cast<LogDomain::Kind>(provider.ConsumeIntegralInRange<int>(0, 10));
  const std::string raw = provider.ConsumeRemainingBytesAsString();

  // The raw bytes, as any caller might hand them over.
  event.message = raw;
  parseMessage(event);

  // The message the scanner builds: valid UTF-8, no tab, trimmed.
  LogScanner::buildMessage(raw, event.message);
  FUZZ_CHECK(text::isValidUtf8(event.message));
  FUZZ_CHECK(event.message.find('\t') == std::string::npos);
  FUZZ_CHECK(text::trimWhitespace(event.message) == event.message);
  parseMessage(event);

  // The byte-level helpers: a timestamp anywhere, and the domain column read
  // without allocating agrees with the full mapping.
  if (const auto stamp = LogScanner::timestamp(raw, 0)) {
    FUZZ_CHECK(std::isfinite(stamp->first));
    // Fields are not range-checked: the offset runs up to ±99:99.
    FUZZ_CHECK(stamp->second % 60 == 0 && std::abs(stamp->second) <= 99 * 3600 + 99 * 60);
  }
  const std::string_view column = std::string_view(raw).substr(0, raw.find('\t'));
  const LogDomain fast = LogScanner::scannerDomain(column);
  FUZZ_CHECK(fast.text().empty());
  FUZZ_CHECK(fast.kind() == LogDomain::fromColumn(text::decodeUtf8(column)).kind());
  return 0;
}
