#include "sessions/LogReader.h"

#include "log/LogScanner.h"

namespace snoozlet {

namespace {

// Longest line kept whole. A line beyond this (only garbage is that long; real
// lines run to a few kilobytes) is cut here, so a log without line feeds
// cannot make the reader hold it all in memory.
constexpr std::size_t kMaxLineBytes = 16u << 20;

void appendCapped(std::string& carry, std::string_view bytes) {
  if (carry.size() >= kMaxLineBytes) return;
  carry.append(bytes.substr(0, kMaxLineBytes - carry.size()));
}

}  // namespace

Status LogReader::ingest(const ChunkSource& source) {
  LogScanner scanner(cursor_);
  SessionBuilder working = builder_;
  // Only the unfinished last line of a block is carried to the next one; each
  // byte is searched for a line feed once.
  std::string carry;
  while (true) {
    auto next = source();
    if (!next.ok()) return Status::failure(next.error());
    if (!next.value()) break;
    std::string_view rest = *next.value();
    if (!carry.empty()) {
      const std::size_t lineFeed = rest.find('\n');
      if (lineFeed == std::string_view::npos) {
        appendCapped(carry, rest);
        continue;
      }
      appendCapped(carry, rest.substr(0, lineFeed));
      carry.push_back('\n');
      scanner.feed(carry, false, working);
      carry.clear();
      rest.remove_prefix(lineFeed + 1);
    }
    const std::size_t consumed = scanner.feed(rest, false, working);
    appendCapped(carry, rest.substr(consumed));
  }
  scanner.feed(carry, true, working);

  builder_ = std::move(working);
  if (auto result = scanner.resultCursor()) cursor_ = result;
  if (auto first = scanner.firstDate()) {
    coveredFrom_ = first;
    builder_.prune(*first);
  }
  return {};
}

void LogReader::ingest(std::string_view bytes) {
  bool delivered = false;
  const Status status = ingest([&]() -> Result<std::optional<std::string_view>> {
    if (delivered) return std::optional<std::string_view>();
    delivered = true;
    return std::optional<std::string_view>(bytes);
  });
  (void)status;  // this source cannot fail
}

}  // namespace snoozlet
