// The scanner fed into a SessionBuilder, whole and in random chunks: both
// must give the same builder, and sessions() must keep its order rules.
//
// Input: the log text, then 8 trailing bytes that seed the chunking (so a
// plain log file is a good seed).

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "log/LogScanner.h"
#include "log/PowerLogParser.h"
#include "sessions/LogReader.h"
#include "sessions/SessionBuilder.h"

namespace {

using namespace snoozlet;

// Chunk lengths for a text: mostly short (every boundary case near a line
// feed), sometimes long.
std::vector<std::string_view> chunks(std::string_view text, fuzz::Random& random) {
  std::vector<std::string_view> out;
  while (!text.empty()) {
    const std::size_t length =
        std::min(text.size(), random.next() % 4 == 0 ? random.between(1, 4096) : random.between(1, 48));
    out.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return out;
}

void checkSessions(const SessionBuilder& builder) {
  const std::vector<SleepSession> sessions = builder.sessions();
  FUZZ_CHECK(sessions == builder.sessions());  // reading does not change the builder
  const auto& closed = builder.closed();
  const bool ongoing = builder.current().has_value() && builder.lastEventDate().has_value();
  FUZZ_CHECK(sessions.size() == closed.size() + (ongoing ? 1 : 0));
  // Closed sessions first, in closing order, then at most one ongoing one.
  FUZZ_CHECK(std::equal(closed.begin(), closed.end(), sessions.begin()));
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    const SleepSession& s = sessions[i];
    const bool last = i + 1 == sessions.size();
    FUZZ_CHECK((s.ending.kind() == SessionEnd::Kind::ongoing) == (ongoing && last));
    FUZZ_CHECK(s.ending.kind() != SessionEnd::Kind::fullWake || s.ending.reason().has_value());
    if (s.ending.kind() == SessionEnd::Kind::ongoing) FUZZ_CHECK(s.end >= s.start);
    if (s.isPartial) FUZZ_CHECK(s.sleepReason == "?" && !s.tcpKeepAlive);
    FUZZ_CHECK(std::is_sorted(s.battery.begin(), s.battery.end(),
                              [](const BatteryPoint& a, const BatteryPoint& b) { return a.date < b.date; }));
    for (const BatteryPoint& point : s.battery) FUZZ_CHECK(point.percent >= 0 && point.percent <= 999);
    for (std::size_t h = 0; h < s.holders.size(); ++h) {
      const HolderGroup& group = s.holders[h];
      FUZZ_CHECK(std::isfinite(group.heldSeconds) && group.heldSeconds >= 0 && group.count >= 1);
      if (h == 0) continue;
      const HolderGroup& before = s.holders[h - 1];
      FUZZ_CHECK(before.heldSeconds > group.heldSeconds ||
                 (before.heldSeconds == group.heldSeconds && before.count >= group.count));
    }
    for (const DarkWakeEvent& wake : s.darkWakes) {
      if (wake.request) FUZZ_CHECK(wake.request->fired && wake.request->wakeAt);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  fuzz::Random random(provider.ConsumeIntegral<std::uint64_t>());
  const std::string log = provider.ConsumeRemainingBytesAsString();

  // Whole.
  SessionBuilder whole;
  LogScanner wholeScanner;
  FUZZ_CHECK(wholeScanner.feed(log, true, whole) == log.size());

  // Chunked the way a stream reader does it: unconsumed bytes carried over.
  const std::vector<std::string_view> pieces = chunks(log, random);
  SessionBuilder chunked;
  LogScanner chunkedScanner;
  std::string pending;
  for (std::string_view piece : pieces) {
    pending.append(piece);
    const std::size_t used = chunkedScanner.feed(pending, false, chunked);
    FUZZ_CHECK(used <= pending.size());
    FUZZ_CHECK(pending.find('\n', used) == std::string::npos);  // only an unfinished line is left
    pending.erase(0, used);
  }
  chunkedScanner.feed(pending, true, chunked);

  FUZZ_CHECK(whole == chunked);
  FUZZ_CHECK(wholeScanner.resultCursor() == chunkedScanner.resultCursor());
  FUZZ_CHECK(wholeScanner.firstDate() == chunkedScanner.firstDate());
  checkSessions(whole);

  // The log reader's own chunked ingest agrees with reading the text at once,
  // and with the scanner's builder (which the reader prunes to the log's
  // first date).
  LogReader readWhole;
  readWhole.ingest(log);
  LogReader readChunked;
  std::size_t next = 0;
  const Status status = readChunked.ingest([&]() -> Result<std::optional<std::string_view>> {
    if (next == pieces.size()) return std::optional<std::string_view>();
    return std::optional<std::string_view>(pieces[next++]);
  });
  FUZZ_CHECK(status.ok());
  FUZZ_CHECK(readWhole == readChunked);
  SessionBuilder pruned = whole;
  if (const auto first = wholeScanner.firstDate()) pruned.prune(*first);
  FUZZ_CHECK(readWhole.builder() == pruned);
  FUZZ_CHECK(readWhole.cursor() == wholeScanner.resultCursor());
  return 0;
}
