#pragma once

// A small streaming JSON writer: pretty-printed with two-space indentation,
// written straight to a stream, so a large report never exists as a document
// in memory. Strings are escaped as JSON requires; numbers that JSON cannot
// hold (NaN, infinity) are written as null.

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

  explicit JsonWriter(std::ostream& out, Style style = Style::pretty) : out_(out), style_(style) {}
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
    // Member names are the program's own identifiers: nothing to escape.
    pending_.push_back('"');
    pending_.append(name);
    put(style_ == Style::compact ? std::string_view("\":") : std::string_view("\": "));
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
  // A value already in JSON text (one line or pretty-printed at indent 2).
  JsonWriter& raw(std::string_view json);

  // key(name).value(v) in one call.
  template <typename T>
  JsonWriter& member(std::string_view name, const T& v) {
    key(name);
    return value(v);
  }

  static void escape(std::string& out, std::string_view text);

 private:
  // The small steps every token takes are defined here so that they inline
  // into the callers: a long report writes millions of tokens.
  void beforeValue() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (!hasItems_.empty()) {
      if (hasItems_.back()) pending_.push_back(',');
      hasItems_.back() = 1;
      if (style_ == Style::pretty) newline();
    }
  }
  void newline();
  void put(std::string_view text) {
    pending_.append(text);
    if (pending_.size() >= kBlock) flush();
  }

  static constexpr std::size_t kBlock = 64 * 1024;

  std::ostream& out_;
  Style style_;
  // Text waiting for the stream: one write per block instead of per token.
  std::string pending_;
  // One entry per open container: whether it has a member yet (1 or 0).
  std::vector<unsigned char> hasItems_;
  bool afterKey_ = false;
};

}  // namespace snoozlet
