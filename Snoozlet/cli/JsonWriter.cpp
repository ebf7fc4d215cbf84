#include "cli/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace snoozlet {

namespace {

constexpr std::size_t kBlock = 64 * 1024;

// True when a byte of the eight is a control character, a quote or a
// backslash (bytes of 0x80 and above never are).
bool needsEscape(std::uint64_t word) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;
  const auto hasZero = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  const std::uint64_t below = (word - kOnes * 0x20) & ~word & kHighs;
  return (below | hasZero(word ^ (kOnes * '"')) | hasZero(word ^ (kOnes * '\\'))) != 0;
}

}  // namespace

JsonWriter::JsonWriter(std::ostream& out, Style style)
    : out_(out), style_(style), buffer_(std::make_unique<char[]>(kBlock)), capacity_(kBlock) {}

void JsonWriter::flush() {
  if (size_ == 0) return;
  out_.write(buffer_.get(), static_cast<std::streamsize>(size_));
  size_ = 0;
}

void JsonWriter::makeRoom(std::size_t n) {
  flush();
  if (n > capacity_) {
    // A single piece larger than a block (a very long string): a larger
    // buffer for it, kept for the rest of the document.
    buffer_ = std::make_unique<char[]>(n);
    capacity_ = n;
  }
}

void JsonWriter::newline() {
  const std::size_t indent = hasItems_.size() * 2;
  char* at = room(indent + 1);
  *at = '\n';
  std::memset(at + 1, ' ', indent);
  size_ += indent + 1;
}

JsonWriter& JsonWriter::beginObject() {
  beforeValue();
  append('{');
  hasItems_.push_back(0);
  return *this;
}

JsonWriter& JsonWriter::endObject() {
  const bool any = hasItems_.back();
  hasItems_.pop_back();
  if (any && style_ == Style::pretty) newline();
  append('}');
  if (hasItems_.empty()) append('\n');
  return *this;
}

JsonWriter& JsonWriter::beginArray() {
  beforeValue();
  append('[');
  hasItems_.push_back(0);
  return *this;
}

JsonWriter& JsonWriter::endArray() {
  const bool any = hasItems_.back();
  hasItems_.pop_back();
  if (any && style_ == Style::pretty) newline();
  append(']');
  return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
  beforeValue();
  escaped(text);
  return *this;
}

JsonWriter& JsonWriter::value(double number) {
  if (!std::isfinite(number)) return null();
  beforeValue();
  // Shortest round-trip text is at most 24 characters; 32 leaves room for ".0".
  char* at = room(32);
  char* const end = at + 32;
  // Whole numbers (every instant of the log) take the faster integer path;
  // doubles stay recognisable as such: 3 is written 3.0.
  if (number == std::trunc(number) && std::fabs(number) < 9e15) {
    at = std::to_chars(at, end, static_cast<long long>(number)).ptr;
    *at++ = '.';
    *at++ = '0';
  } else {
    char* const start = at;
    at = std::to_chars(at, end, number).ptr;
    if (std::string_view(start, static_cast<std::size_t>(at - start)).find_first_of(".e") == std::string_view::npos) {
      *at++ = '.';
      *at++ = '0';
    }
  }
  size_ = static_cast<std::size_t>(at - buffer_.get());
  return *this;
}

JsonWriter& JsonWriter::value(long long number) {
  beforeValue();
  char* at = room(24);
  at = std::to_chars(at, at + 24, number).ptr;
  size_ = static_cast<std::size_t>(at - buffer_.get());
  return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
  beforeValue();
  append(flag ? std::string_view("true") : std::string_view("false"));
  return *this;
}

JsonWriter& JsonWriter::null() {
  beforeValue();
  append(std::string_view("null"));
  return *this;
}

void JsonWriter::escaped(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  append('"');
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Eight bytes at a time while none needs escaping.
    for (std::uint64_t word; i + 8 <= text.size(); i += 8) {
      std::memcpy(&word, text.data() + i, 8);
      if (needsEscape(word)) break;
    }
    if (i >= text.size()) break;
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    append(text.substr(run, i - run));
    run = i + 1;
    switch (c) {
      case '"': append(std::string_view("\\\"")); break;
      case '\\': append(std::string_view("\\\\")); break;
      case '\n': append(std::string_view("\\n")); break;
      case '\r': append(std::string_view("\\r")); break;
      case '\t': append(std::string_view("\\t")); break;
      case '\b': append(std::string_view("\\b")); break;
      case '\f': append(std::string_view("\\f")); break;
      default: {
        char* at = room(6);
        std::memcpy(at, "\\u00", 4);
        at[4] = kHex[c >> 4];
        at[5] = kHex[c & 0xF];
        size_ += 6;
      }
    }
  }
  append(text.substr(run));
  append('"');
}

}  // namespace snoozlet
