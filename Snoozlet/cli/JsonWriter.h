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
  JsonWriter& key(std::string_view name);

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
  void beforeValue();
  void newline();
  void put(std::string_view text);

  std::ostream& out_;
  Style style_;
  // Text waiting for the stream: one write per block instead of per token.
  std::string pending_;
  // One entry per open container: whether it has a member yet.
  std::vector<bool> hasItems_;
  bool afterKey_ = false;
};

}  // namespace snoozlet
