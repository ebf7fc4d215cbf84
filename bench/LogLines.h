#pragma once

// The building blocks of the generated power logs: a seeded random source,
// the stamp writer, and a buffer that collects lines out of order and writes
// them sorted by instant, laid out the way powerd lays them out (domain padded
// to 20 columns and a tab; short messages padded to 75 columns with a tab and
// an empty duration column; durations left-aligned in 10 columns).

#include "common/Instant.h"
#include "common/TimeZone.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::bench {

// SplitMix64: fast, seeded, the same numbers on every machine.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next();
  // In [0, 1).
  double uniform();
  double uniform(double low, double high) { return low + (high - low) * uniform(); }
  // In [low, high], both included.
  int integer(int low, int high);
  bool chance(double probability) { return uniform() < probability; }
  // Exponentially distributed with the given mean (gaps of a Poisson process).
  double exponential(double mean);
  // Spread evenly over orders of magnitude: as many 1–10 s as 10–100 s.
  double logUniform(double low, double high);

  // One element of a non-empty array, all equally likely.
  template <typename Items>
  const auto& pick(const Items& items) {
    return items[static_cast<std::size_t>(integer(0, static_cast<int>(items.size()) - 1))];
  }
  // An index drawn with the given weights.
  std::size_t weighted(std::span<const double> weights);

 private:
  std::uint64_t state_;
};

// How the text after the message is laid out, as powerd prints each kind of line.
enum class Tail {
  none,            // nothing after the message
  durationColumn,  // padded to 75 columns, a tab, an empty 10-column duration ("Display is turned off")
  padded,          // padded to 75 columns, no tab ("DriverReason:… - DriverDetails:")
  blank10,         // ten spaces (assertion lines)
  blank11,         // a space and an empty 10-column duration (acks, wake requests)
};

// Collects the lines of one stretch of log in any order and writes them in
// time order. Lines with equal instants keep the order they were added in.
class LineBuffer {
 public:
  explicit LineBuffer(const TimeZone& zone) : zone_(zone) {}

  // A dated line: the stamp of `at` (whole second), the domain padded to 20
  // columns (longer domains as they are), a tab, the message and its tail.
  void add(double at, std::string_view domain, std::string_view message, Tail tail = Tail::none);
  // A sleep or wake line: the message, a space and "N secs" (or nothing)
  // left-aligned in 10 columns.
  void addWithDuration(double at, std::string_view domain, std::string_view message, std::optional<long long> seconds);
  // A line kept exactly as given (undated header lines, lines already stamped).
  void addRaw(double at, std::string_view text);

  // "yyyy-MM-dd HH:mm:ss" of `at`, read at the offset in force at `lineAt`.
  void appendWallTime(std::string& out, double at, double lineAt) const;
  // "yyyy-MM-dd HH:mm:ss +hhmm" of `at`.
  void appendStamp(std::string& out, double at) const;

  // Sorts and hands every line, with its line feed, to `sink`; the buffer is
  // empty afterwards.
  void flush(const std::function<void(std::string_view)>& sink);
  std::size_t size() const { return lines_.size(); }

 private:
  struct Pending {
    double at;
    std::string text;
  };
  int offsetAt(double at) const;
  std::string& start(double at, std::string_view domain);

  TimeZone zone_;
  std::vector<Pending> lines_;
  mutable std::int64_t cachedBucket_ = INT64_MIN;
  mutable int cachedOffset_ = 0;
};

}  // namespace snoozlet::bench
