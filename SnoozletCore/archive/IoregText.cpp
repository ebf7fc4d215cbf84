// Reader for the text form of `ioreg` output (declared in IoregParser.h).
//
// One property per line: `"Key" = Value`. Values are read by a small
// recursive reader that never goes back more than a token, so a line is read
// in time linear in its length; containers nested deeper than
// IoregParser::kMaxNesting are passed over by counting brackets.

#include "archive/IoregParser.h"
#include "common/Text.h"

namespace snoozlet::IoregParser {

namespace {

constexpr std::string_view kBatteryClass = "AppleSmartBattery";

std::string utf8(std::string_view s) { return text::isValidUtf8(s) ? std::string(s) : text::decodeUtf8(s); }

// Leading indentation, tree rules ("| |"), quote markers and backticks.
std::string_view stripDecoration(std::string_view line) {
  const std::size_t start = line.find_first_not_of(" \t|>`");
  return start == std::string_view::npos ? std::string_view() : line.substr(start);
}

// `+-o Name  <class Class, id …>`: true when the name or the class is the
// battery's.
bool isBatteryNode(std::string_view header) {
  std::string_view rest = text::trimBlanks(header.substr(3));
  const std::size_t angle = rest.find('<');
  if (text::trimBlanks(rest.substr(0, angle)) == kBatteryClass) return true;
  if (angle == std::string_view::npos || !rest.substr(angle).starts_with("<class ")) return false;
  rest = rest.substr(angle + 7);
  return rest.substr(0, rest.find_first_of(",>")) == kBatteryClass;
}

bool isDelimiter(char c) { return c == ',' || c == ')' || c == '}' || text::isBlank(c); }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<unsigned long long> parseUnsigned(std::string_view digits, unsigned base) {
  if (digits.empty()) return std::nullopt;
  unsigned long long value = 0;
  for (char c : digits) {
    const int d = hexDigit(c);
    if (d < 0 || static_cast<unsigned>(d) >= base) return std::nullopt;
    if (value > (~0ULL - static_cast<unsigned>(d)) / base) return std::nullopt;
    value = value * base + static_cast<unsigned>(d);
  }
  return value;
}

// A number token. ioreg prints signed numbers as their unsigned 64-bit
// pattern, so values of 2^63 and above are turned back into negatives.
std::optional<PropertyValue> numberValue(std::string_view token) {
  if (token.starts_with("-")) {
    if (const auto v = text::parseInteger(token)) return PropertyValue::integer(*v);
  } else if (token.starts_with("0x") || token.starts_with("0X")) {
    if (const auto v = parseUnsigned(token.substr(2), 16)) return PropertyValue::integer(static_cast<long long>(*v));
    return std::nullopt;
  } else if (const auto v = parseUnsigned(token, 10)) {
    return PropertyValue::integer(static_cast<long long>(*v));
  }
  if (const auto d = text::parseDouble(token)) return PropertyValue::number(NumberObject::ofReal(*d));
  return std::nullopt;
}

class ValueReader {
 public:
  explicit ValueReader(std::string_view s) : s_(s) {}

  // The value at the reading position; no value when it is malformed or cut
  // off.
  std::optional<PropertyValue> read(int depth) {
    skipBlanks();
    if (pos_ >= s_.size()) return std::nullopt;
    const char c = s_[pos_];
    if (c == '"') {
      auto s = quoted();
      if (!s) return std::nullopt;
      return PropertyValue::string(utf8(*s));
    }
    if (c == '{' || c == '(') {
      if (depth >= kMaxNesting) return std::nullopt;
      return c == '{' ? dictionary(depth + 1) : array(depth + 1);
    }
    if (c == '<') return data();
    std::size_t end = pos_;
    while (end < s_.size() && !isDelimiter(s_[end]) && s_[end] != '=') ++end;
    const std::string_view token = s_.substr(pos_, end - pos_);
    pos_ = end;
    if (token == "Yes" || token == "No") return PropertyValue::boolean(token == "Yes");
    return numberValue(token);
  }

  bool atEnd() {
    skipBlanks();
    return pos_ >= s_.size();
  }

  // Passes over a container nested too deeply, counting brackets outside
  // strings; false when it is not closed.
  bool skipContainer() {
    std::size_t open = 0;
    for (; pos_ < s_.size(); ++pos_) {
      const char c = s_[pos_];
      if (c == '"') {
        const std::size_t close = s_.find('"', pos_ + 1);
        if (close == std::string_view::npos) return false;
        pos_ = close;
      } else if (c == '{' || c == '(') {
        ++open;
      } else if ((c == '}' || c == ')') && --open == 0) {
        ++pos_;
        return true;
      }
    }
    return false;
  }

 private:
  void skipBlanks() {
    while (pos_ < s_.size() && text::isBlank(s_[pos_])) ++pos_;
  }

  bool take(char c) {
    skipBlanks();
    if (pos_ >= s_.size() || s_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  bool peek(char c) {
    skipBlanks();
    return pos_ < s_.size() && s_[pos_] == c;
  }

  std::optional<std::string_view> quoted() {
    const std::size_t close = s_.find('"', pos_ + 1);
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view s = s_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    return s;
  }

  // An element of a container: false when malformed. An empty element (ioreg
  // prints nothing for objects it cannot show) or one nested too deeply sets
  // no value and is left out.
  bool element(int depth, std::optional<PropertyValue>& value, char close) {
    if (peek(',') || peek(close)) return true;
    if (depth >= kMaxNesting && (peek('{') || peek('('))) return skipContainer();
    value = read(depth);
    return value.has_value();
  }

  std::optional<PropertyValue> dictionary(int depth) {
    ++pos_;
    PropertyMap map;
    if (take('}')) return PropertyValue::dictionary(std::move(map));
    do {
      skipBlanks();
      if (!peek('"')) return std::nullopt;
      const auto key = quoted();
      if (!key || !take('=')) return std::nullopt;
      std::optional<PropertyValue> value;
      if (!element(depth, value, '}')) return std::nullopt;
      if (value) map.insert_or_assign(utf8(*key), std::move(*value));
    } while (take(','));
    if (!take('}')) return std::nullopt;
    return PropertyValue::dictionary(std::move(map));
  }

  std::optional<PropertyValue> array(int depth) {
    ++pos_;
    PropertyArray values;
    if (take(')')) return PropertyValue::array(std::move(values));
    do {
      std::optional<PropertyValue> value;
      if (!element(depth, value, ')')) return std::nullopt;
      if (value) values.push_back(std::move(*value));
    } while (take(','));
    if (!take(')')) return std::nullopt;
    return PropertyValue::array(std::move(values));
  }

  // <hex digits> or, for printable bytes, <"text">.
  std::optional<PropertyValue> data() {
    ++pos_;
    if (pos_ < s_.size() && s_[pos_] == '"') {
      const auto s = quoted();
      if (!s || !take('>')) return std::nullopt;
      return PropertyValue::data(std::string(*s));
    }
    const std::size_t close = s_.find('>', pos_);
    if (close == std::string_view::npos) return std::nullopt;
    std::string bytes;
    int high = -1;
    for (char c : s_.substr(pos_, close - pos_)) {
      if (text::isBlank(c)) continue;
      const int d = hexDigit(c);
      if (d < 0) return std::nullopt;
      if (high < 0) {
        high = d;
      } else {
        bytes += static_cast<char>(high * 16 + d);
        high = -1;
      }
    }
    if (high >= 0) return std::nullopt;
    pos_ = close + 1;
    return PropertyValue::data(std::move(bytes));
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

// The value after "=": ioreg does not escape quotes inside strings, so a
// value that starts and ends with a quote is all text.
std::optional<PropertyValue> propertyValue(std::string_view rest) {
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
    return PropertyValue::string(utf8(rest.substr(1, rest.size() - 2)));
  }
  ValueReader reader(rest);
  auto value = reader.read(0);
  if (!value || !reader.atEnd()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<PropertyMap> parseText(std::string_view input) {
  PropertyMap map;
  bool anyProperty = false;
  bool seenNode = false;
  bool inBattery = false;
  for (std::string_view line : text::split(input, '\n')) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = stripDecoration(line);
    if (line.starts_with("+-o")) {
      seenNode = true;
      inBattery = isBatteryNode(line);
      continue;
    }
    if (!line.starts_with('"') || (seenNode && !inBattery)) continue;
    const std::size_t close = line.find('"', 1);
    if (close == std::string_view::npos) continue;
    const std::string_view key = line.substr(1, close - 1);
    std::string_view rest = text::trimWhitespace(line.substr(close + 1));
    if (!rest.starts_with('=')) continue;
    rest = text::trimWhitespace(rest.substr(1));
    auto value = propertyValue(rest);
    if (!value) continue;
    map.insert_or_assign(utf8(key), std::move(*value));
    anyProperty = true;
  }
  if (!anyProperty) return std::nullopt;
  return map;
}

}  // namespace snoozlet::IoregParser
