#include "LogLines.h"

#include "common/CivilDate.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace snoozlet::bench {

namespace {

constexpr std::size_t kDomainWidth = 20;
constexpr std::size_t kMessageWidth = 75;
constexpr std::size_t kDurationWidth = 10;
// Offsets change on whole quarter hours at most; one zone lookup per quarter.
constexpr std::int64_t kOffsetBucket = 900;

using civil::appendPadded;
using civil::floorDiv;

std::int64_t wholeSecond(double at) { return static_cast<std::int64_t>(std::floor(at)); }

void padTo(std::string& text, std::size_t from, std::size_t width) {
  const std::size_t length = text.size() - from;
  if (length < width) text.append(width - length, ' ');
}

}  // namespace

std::uint64_t Random::next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double Random::uniform() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }

int Random::integer(int low, int high) {
  if (high <= low) return low;
  const auto span = static_cast<std::uint64_t>(high - low) + 1;
  return low + static_cast<int>(next() % span);
}

double Random::exponential(double mean) { return -mean * std::log1p(-uniform()); }

double Random::logUniform(double low, double high) { return low * std::pow(high / low, uniform()); }

std::size_t Random::weighted(std::span<const double> weights) {
  double total = 0;
  for (double w : weights) total += w;
  double target = uniform() * total;
  for (std::size_t i = 0; i < weights.size(); ++i) {
    if (target < weights[i]) return i;
    target -= weights[i];
  }
  return weights.size() - 1;
}

int LineBuffer::offsetAt(double at) const {
  const std::int64_t bucket = floorDiv(wholeSecond(at), kOffsetBucket);
  if (bucket != cachedBucket_) {
    cachedBucket_ = bucket;
    cachedOffset_ = zone_.offsetAt(static_cast<double>(bucket * kOffsetBucket));
  }
  return cachedOffset_;
}

void LineBuffer::appendWallTime(std::string& out, double at, double lineAt) const {
  civil::appendDateTime(out, wholeSecond(at) + offsetAt(lineAt));
}

void LineBuffer::appendStamp(std::string& out, double at) const {
  const int offset = offsetAt(at);
  civil::appendDateTime(out, wholeSecond(at) + offset);
  out.push_back(' ');
  out.push_back(offset < 0 ? '-' : '+');
  const int magnitude = std::abs(offset);
  appendPadded(out, magnitude / 3600, 2);
  appendPadded(out, magnitude / 60 % 60, 2);
}

std::string& LineBuffer::start(double at, std::string_view domain) {
  std::string& text = lines_.emplace_back(Pending{at, {}}).text;
  text.reserve(26 + kDomainWidth + 1 + kMessageWidth + 1 + kDurationWidth);
  appendStamp(text, at);
  text.push_back(' ');
  text.append(domain);
  if (domain.size() < kDomainWidth) text.append(kDomainWidth - domain.size(), ' ');
  text.push_back('\t');
  return text;
}

void LineBuffer::add(double at, std::string_view domain, std::string_view message, Tail tail) {
  std::string& text = start(at, domain);
  const std::size_t messageStart = text.size();
  text.append(message);
  switch (tail) {
    case Tail::none: break;
    case Tail::durationColumn:
      padTo(text, messageStart, kMessageWidth);
      text.push_back('\t');
      text.append(kDurationWidth, ' ');
      break;
    case Tail::padded: padTo(text, messageStart, kMessageWidth); break;
    case Tail::blank10: text.append(kDurationWidth, ' '); break;
    case Tail::blank11: text.append(kDurationWidth + 1, ' '); break;
  }
}

void LineBuffer::addWithDuration(double at, std::string_view domain, std::string_view message,
                                 std::optional<long long> seconds) {
  std::string& text = start(at, domain);
  text.append(message);
  text.push_back(' ');
  const std::size_t durationStart = text.size();
  if (seconds) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, *seconds);
    text.append(buffer, result.ptr);
    text.append(" secs");
  }
  padTo(text, durationStart, kDurationWidth);
}

void LineBuffer::addRaw(double at, std::string_view text) { lines_.push_back({at, std::string(text)}); }

void LineBuffer::flush(const std::function<void(std::string_view)>& sink) {
  std::stable_sort(lines_.begin(), lines_.end(), [](const Pending& a, const Pending& b) { return a.at < b.at; });
  std::string block;
  block.reserve(1 << 20);
  for (Pending& line : lines_) {
    block.append(line.text);
    block.push_back('\n');
    if (block.size() >= (1 << 20)) {
      sink(block);
      block.clear();
    }
  }
  if (!block.empty()) sink(block);
  lines_.clear();
}

}  // namespace snoozlet::bench
