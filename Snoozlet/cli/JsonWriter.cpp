#include "cli/JsonWriter.h"

#include <charconv>
#include <cmath>

namespace snoozlet {

void JsonWriter::flush() {
  if (pending_.empty()) return;
  out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
  pending_.clear();
}

void JsonWriter::newline() {
  if (style_ == Style::compact) return;
  pending_.push_back('\n');
  pending_.append(hasItems_.size() * 2, ' ');
}

JsonWriter& JsonWriter::beginObject() {
  beforeValue();
  put("{");
  hasItems_.push_back(0);
  return *this;
}

JsonWriter& JsonWriter::endObject() {
  const bool any = hasItems_.back();
  hasItems_.pop_back();
  if (any) newline();
  put(hasItems_.empty() ? "}\n" : "}");
  return *this;
}

JsonWriter& JsonWriter::beginArray() {
  beforeValue();
  put("[");
  hasItems_.push_back(0);
  return *this;
}

JsonWriter& JsonWriter::endArray() {
  const bool any = hasItems_.back();
  hasItems_.pop_back();
  if (any) newline();
  put("]");
  return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
  beforeValue();
  escape(pending_, text);
  put("");
  return *this;
}

JsonWriter& JsonWriter::value(double number) {
  if (!std::isfinite(number)) return null();
  beforeValue();
  char digits[64];
  // Whole numbers (every instant of the log) take the faster integer path.
  if (number == std::trunc(number) && std::fabs(number) < 9e15) {
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, static_cast<long long>(number));
    put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    put(".0");
    return *this;
  }
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, number);
  const std::string_view text(digits, static_cast<std::size_t>(end - digits));
  put(text);
  // Keep doubles recognisable as such: 3 is written 3.0.
  if (text.find_first_of(".e") == std::string_view::npos) put(".0");
  return *this;
}

JsonWriter& JsonWriter::value(long long number) {
  beforeValue();
  char digits[32];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, number);
  put(std::string_view(digits, static_cast<std::size_t>(end - digits)));
  return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
  beforeValue();
  put(flag ? "true" : "false");
  return *this;
}

JsonWriter& JsonWriter::null() {
  beforeValue();
  put("null");
  return *this;
}

JsonWriter& JsonWriter::raw(std::string_view json) {
  beforeValue();
  const std::string indent(hasItems_.size() * 2, ' ');
  for (char c : json) {
    pending_.push_back(c);
    if (c == '\n') pending_.append(indent);
  }
  put("");
  return *this;
}

void JsonWriter::escape(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.append(text.substr(run, i - run));
    run = i + 1;
    switch (c) {
      case '"': out.append("\\\""); break;
      case '\\': out.append("\\\\"); break;
      case '\n': out.append("\\n"); break;
      case '\r': out.append("\\r"); break;
      case '\t': out.append("\\t"); break;
      case '\b': out.append("\\b"); break;
      case '\f': out.append("\\f"); break;
      default:
        out.append("\\u00");
        out.push_back(kHex[c >> 4]);
        out.push_back(kHex[c & 0xF]);
    }
  }
  out.append(text.substr(run));
  out.push_back('"');
}

}  // namespace snoozlet
