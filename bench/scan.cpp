// snoozlet-scan: the log front end alone, as a process that can be timed side
// by side with wc -l on the same file.
//
//   snoozlet-scan FILE                   the scanner with a consumer that wants
//                                        nothing: every line costs its split,
//                                        timestamp and domain column only
//   snoozlet-scan --reader [--reads N] FILE
//                                        one LogReader reads the file N times
//                                        (default 2); the seconds of each read
//                                        are printed, so the second read shows
//                                        the cost of a log that did not change
//
// Files are read in 256 KiB blocks, as the application reads pmset's output.

#include "log/LogScanner.h"
#include "sessions/LogReader.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

File open(const char* path) {
  File file(std::fopen(path, "rb"), &std::fclose);
  if (!file) std::fprintf(stderr, "snoozlet-scan: cannot read %s: %s\n", path, std::strerror(errno));
  return file;
}

// Wants no line, so the scanner builds no event.
struct WantsNothing {
  bool wants(const snoozlet::LogDomain&) const { return false; }
  void consume(const snoozlet::LogEvent&) {}
};

int scanOnly(const char* path) {
  File file = open(path);
  if (!file) return 1;
  snoozlet::LogScanner scanner;
  WantsNothing consumer;
  std::vector<char> block(kBlockSize);
  std::string carry;
  std::size_t total = 0;
  while (true) {
    const std::size_t n = std::fread(block.data(), 1, block.size(), file.get());
    if (n == 0) break;
    total += n;
    std::string_view rest(block.data(), n);
    if (!carry.empty()) {
      const std::size_t lineFeed = rest.find('\n');
      if (lineFeed == std::string_view::npos) {
        carry.append(rest);
        continue;
      }
      carry.append(rest.substr(0, lineFeed + 1));
      scanner.feed(carry, false, consumer);
      carry.clear();
      rest.remove_prefix(lineFeed + 1);
    }
    const std::size_t consumed = scanner.feed(rest, false, consumer);
    carry.append(rest.substr(consumed));
  }
  if (std::ferror(file.get())) {
    std::fprintf(stderr, "snoozlet-scan: cannot read %s: %s\n", path, std::strerror(errno));
    return 1;
  }
  scanner.feed(carry, true, consumer);
  const auto cursor = scanner.resultCursor();
  std::printf("%zu bytes; last stamp %.0f (%d lines)\n", total, cursor ? cursor->date : 0.0,
              cursor ? cursor->seenAtDate : 0);
  return 0;
}

int readerReads(const char* path, int reads) {
  snoozlet::LogReader reader;
  std::vector<char> block(kBlockSize);
  for (int read = 1; read <= reads; ++read) {
    File file = open(path);
    if (!file) return 1;
    const auto started = std::chrono::steady_clock::now();
    const snoozlet::Status status = reader.ingest([&]() -> snoozlet::Result<std::optional<std::string_view>> {
      const std::size_t n = std::fread(block.data(), 1, block.size(), file.get());
      if (n > 0) return std::optional<std::string_view>(std::string_view(block.data(), n));
      if (std::ferror(file.get())) return snoozlet::Result<std::optional<std::string_view>>::failure({"read error"});
      return std::optional<std::string_view>();
    });
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    if (!status.ok()) {
      std::fprintf(stderr, "snoozlet-scan: cannot read %s: %s\n", path, status.error().description().c_str());
      return 1;
    }
    std::printf("read %d: %.6f s, %zu sessions\n", read, elapsed.count(), reader.sessions().size());
  }
  return 0;
}

int usage() {
  std::fprintf(stderr, "usage: snoozlet-scan FILE\n       snoozlet-scan --reader [--reads N] FILE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && argv[1][0] != '-') return scanOnly(argv[1]);
  if (argc >= 3 && std::strcmp(argv[1], "--reader") == 0) {
    int reads = 2;
    int index = 2;
    if (std::strcmp(argv[2], "--reads") == 0) {
      if (argc != 5) return usage();
      reads = std::atoi(argv[3]);
      if (reads < 1 || reads > 100) return usage();
      index = 4;
    }
    if (index != argc - 1) return usage();
    return readerReads(argv[index], reads);
  }
  return usage();
}
