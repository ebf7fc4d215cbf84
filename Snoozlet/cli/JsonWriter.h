#pragma once

// A small streaming JSON writer: pretty-printed with two-space indentation,
// written straight to a stream, so a large report never exists as a document
// in memory. Strings are escaped as JSON requires; numbers that JSON cannot
// hold (NaN, infinity) are written as null.

#include <cstddef>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet {

class JsonWriter {
 public:
  // Pretty: two-space indentation, one member per line. Compact: no white
  // space at all (large documents meant for programs).
  enum class Style { pretty, compact };

  explicit JsonWriter(std::ostream& out, Style style = Style::pretty);
  // Writes what is still buffered.
  ~JsonWriter() { flush(); }
  JsonWriter(const JsonWriter&) = delete;
  JsonWriter& operator=(const JsonWriter&) = delete;

  // Hands the buffered text to the stream.
  void flush();

  JsonWriter& beginObject();
  JsonWriter& endObject();
  JsonWriter& beginArray();
  JsonWriter& endArray();

  // The name of the next member of the current object: an identifier of the
  // program's own (written as it is, not escaped).
  JsonWriter& key(std::string_view name) {
    beforeValue();
    char* at = room(name.size() + 4);
    *at++ = '"';
    std::memcpy(at, name.data(), name.size());
    at += name.size();
    *at++ = '"';
    *at++ = ':';
    if (style_ == Style::pretty) *at++ = ' ';
    size_ = static_cast<std::size_t>(at - buffer_.get());
    afterKey_ = true;
    return *this;
  }

  JsonWriter& value(std::string_view text);
  JsonWriter& value(const char* text) { return value(std::string_view(text)); }
  JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
  JsonWriter& value(double number);
  JsonWriter& value(long long number);
  JsonWriter& value(int number) { return value(static_cast<long long>(number)); }
  JsonWriter& value(bool flag);
  JsonWriter& null();
  template <typename T>
  JsonWriter& value(const std::optional<T>& maybe) {
    return maybe ? value(*maybe) : null();
  }

  // key(name).value(v) in one call.
  template <typename T>
  JsonWriter& member(std::string_view name, const T& v) {
    key(name);
    return value(v);
  }

 private:
  // The steps every token takes are defined here so that they inline into
  // the callers: a long report writes millions of tokens.
  void beforeValue() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (!hasItems_.empty()) {
      if (hasItems_.back()) append(',');
      hasItems_.back() = 1;
      if (style_ == Style::pretty) newline();
    }
  }
  // Space for `n` more bytes at the end of the buffer, which the caller fills
  // and then counts into size_.
  char* room(std::size_t n) {
    if (capacity_ - size_ < n) makeRoom(n);
    return buffer_.get() + size_;
  }
  void append(char c) {
    *room(1) = c;
    ++size_;
  }
  void append(std::string_view text) {
    std::memcpy(room(text.size()), text.data(), text.size());
    size_ += text.size();
  }
  void makeRoom(std::size_t n);
  void newline();
  void escaped(std::string_view text);

  std::ostream& out_;
  Style style_;
  // Text waiting for the stream: one write per block instead of per token.
  std::unique_ptr<char[]> buffer_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  // One entry per open container: whether it has a member yet (1 or 0).
  std::vector<unsigned char> hasItems_;
  bool afterKey_ = false;
};

}  // namespace snoozlet
