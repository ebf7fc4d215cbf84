#pragma once

// Shared by the fuzz targets: invariant checks that abort with a message (so
// libFuzzer saves the input as a crash), a view of the input bytes, a small
// deterministic random generator, and the shape every command line must have.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace snoozlet::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant violated: %s\n", file, line, what);
  std::abort();
}

inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// splitmix64: cheap, deterministic, good enough to cut an input into chunks.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A number in [low, high].
  std::size_t between(std::size_t low, std::size_t high) { return low + next() % (high - low + 1); }

 private:
  std::uint64_t state_;
};

// Splits `text` at every occurrence of `separator` (a NUL byte by default):
// several texts packed into one fuzz input.
inline std::size_t split(std::string_view text, std::string_view* parts, std::size_t maxParts, char separator = '\0') {
  std::size_t count = 0;
  while (count + 1 < maxParts) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) break;
    parts[count++] = text.substr(0, at);
    text.remove_prefix(at + 1);
  }
  parts[count++] = text;
  return count;
}

}  // namespace snoozlet::fuzz

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::snoozlet::fuzz::fail(#condition, __FILE__, __LINE__))
