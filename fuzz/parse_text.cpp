// PowerLogParser::parse on arbitrary text. Every event's message is
// normalised, details are "DriverReason:" lines, and for text the scanner
// splits the same way (valid UTF-8, line feeds only) the scanner's events are
// among parse's, in order and equal.

#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "common/Text.h"
#include "log/LogScanner.h"
#include "log/PowerLogParser.h"

namespace {

using namespace snoozlet;

struct Everything {
  std::vector<LogEvent> events;
  bool wants(const LogDomain&) const { return true; }
  void consume(const LogEvent& event) { events.push_back(event); }
};

bool hasOtherLineBreaks(std::string_view text) {
  return text.find('\r') != std::string_view::npos || text.find("\xC2\x85") != std::string_view::npos ||
         text.find("\xE2\x80\xA8") != std::string_view::npos || text.find("\xE2\x80\xA9") != std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::bytes(data, size);
  const std::vector<LogEvent> events = PowerLogParser::parse(text);
  for (const LogEvent& event : events) {
    FUZZ_CHECK(text::isValidUtf8(event.message));
    FUZZ_CHECK(event.message.find('\t') == std::string::npos);
    FUZZ_CHECK(text::trimWhitespace(event.message) == event.message);
    FUZZ_CHECK(text::isValidUtf8(event.domain.text()));
    FUZZ_CHECK(event.domain.kind() == LogDomain::Kind::other || event.domain.text().empty());
    for (const std::string& detail : event.details) {
      FUZZ_CHECK(detail.starts_with("DriverReason:"));
      FUZZ_CHECK(text::trimWhitespace(detail) == detail);
    }
  }

  if (!text::isValidUtf8(text) || hasOtherLineBreaks(text)) return 0;
  Everything scanned;
  PowerLogParser::scan(text, std::nullopt, scanned);
  std::size_t at = 0;
  for (const LogEvent& event : scanned.events) {
    while (at < events.size() &&
           !(events[at].date == event.date && events[at].utcOffset == event.utcOffset &&
             events[at].domain.kind() == event.domain.kind() && events[at].message == event.message)) {
      ++at;
    }
    FUZZ_CHECK(at < events.size());
    ++at;
  }
  return 0;
}
