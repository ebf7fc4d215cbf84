// Property-list XML reader for `ioreg -a` output (declared in IoregParser.h).
//
// A small pull tokenizer turns the bytes into start tags, end tags and text;
// a recursive reader builds values from them. Every token is read once and
// every search only moves forward, so the work is linear in the input; the
// recursion stops at IoregParser::kMaxNesting, deeper containers are skipped
// by counting tags.

#include "archive/IoregParser.h"
#include "common/Text.h"

#include <array>
#include <cstdint>

namespace snoozlet::IoregParser {

namespace {

struct Token {
  enum class Kind { start, end, text, eof };
  Kind kind = Kind::eof;
  std::string_view name;  // tag name of start and end tags
  std::string_view text;  // raw text (entities still encoded) or CDATA contents
  bool selfClosing = false;
  bool cdata = false;
};

bool isNameEnd(char c) { return text::isAsciiSpace(c) || c == '/' || c == '>'; }

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view input) : input_(input) {}

  Token next() {
    while (pos_ < input_.size()) {
      if (input_[pos_] != '<') {
        const std::size_t end = std::min(input_.find('<', pos_), input_.size());
        Token t{Token::Kind::text, {}, input_.substr(pos_, end - pos_)};
        pos_ = end;
        return t;
      }
      const std::string_view rest = input_.substr(pos_);
      if (rest.starts_with("<!--")) {
        if (!skipPast("-->", 4)) break;
      } else if (rest.starts_with("<![CDATA[")) {
        const std::size_t end = input_.find("]]>", pos_ + 9);
        if (end == std::string_view::npos) break;
        Token t{Token::Kind::text, {}, input_.substr(pos_ + 9, end - pos_ - 9)};
        t.cdata = true;
        pos_ = end + 3;
        return t;
      } else if (rest.starts_with("<?")) {
        if (!skipPast("?>", 2)) break;
      } else if (rest.starts_with("<!")) {
        if (!skipDeclaration()) break;
      } else {
        return tag();
      }
    }
    pos_ = input_.size();
    return {};
  }

 private:
  // Moves past the next `marker` at or after pos_ + from; false at the end.
  bool skipPast(std::string_view marker, std::size_t from) {
    const std::size_t end = input_.find(marker, pos_ + from);
    if (end == std::string_view::npos) return false;
    pos_ = end + marker.size();
    return true;
  }

  // <!DOCTYPE …> with an optional [internal subset].
  bool skipDeclaration() {
    int brackets = 0;
    for (std::size_t i = pos_ + 2; i < input_.size(); ++i) {
      const char c = input_[i];
      if (c == '[') ++brackets;
      if (c == ']' && brackets > 0) --brackets;
      if (c == '>' && brackets == 0) {
        pos_ = i + 1;
        return true;
      }
    }
    return false;
  }

  Token tag() {
    const bool closing = pos_ + 1 < input_.size() && input_[pos_ + 1] == '/';
    std::size_t i = pos_ + (closing ? 2 : 1);
    const std::size_t nameStart = i;
    while (i < input_.size() && !isNameEnd(input_[i])) ++i;
    Token t{closing ? Token::Kind::end : Token::Kind::start, input_.substr(nameStart, i - nameStart), {}};
    // Attributes are skipped; a quoted value may hold '>'.
    char quote = 0;
    for (; i < input_.size(); ++i) {
      const char c = input_[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        t.selfClosing = !closing && input_[i - 1] == '/';
        pos_ = i + 1;
        return t;
      }
    }
    pos_ = input_.size();
    return {};
  }

  std::string_view input_;
  std::size_t pos_ = 0;
};

void appendCodePoint(std::string& out, std::uint32_t cp) {
  if (cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one entity reference ("amp", "#38", "#x26": the text between '&'
// and ';'); false when it is not one.
bool appendEntity(std::string& out, std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, char>, 5> kNamed{
      {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}}};
  for (const auto& [entity, c] : kNamed) {
    if (name == entity) {
      out += c;
      return true;
    }
  }
  if (name.size() < 2 || name[0] != '#') return false;
  const bool hex = name[1] == 'x' || name[1] == 'X';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty()) return false;
  std::uint32_t cp = 0;
  for (char c : digits) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0) return false;
    cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
    if (cp > 0x10FFFF) cp = 0x110000;  // stays out of range without overflowing
  }
  appendCodePoint(out, cp);
  return true;
}

// Appends character data with its entity references decoded; an '&' that
// does not start a known reference is kept as it is.
void appendDecoded(std::string& out, std::string_view raw) {
  constexpr std::size_t kLongestEntity = 10;  // "#x10FFFF" and a little slack
  std::size_t i = 0;
  while (i < raw.size()) {
    const std::size_t amp = raw.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(raw.substr(i));
      return;
    }
    out.append(raw.substr(i, amp - i));
    const std::size_t semi = raw.substr(amp + 1, kLongestEntity + 1).find(';');
    if (semi != std::string_view::npos && appendEntity(out, raw.substr(amp + 1, semi))) {
      i = amp + semi + 2;
    } else {
      out += '&';
      i = amp + 1;
    }
  }
}

std::optional<std::string> decodeBase64(std::string_view encoded) {
  std::string out;
  std::uint32_t bits = 0;
  int count = 0;
  bool padding = false;
  for (char c : encoded) {
    if (text::isAsciiSpace(c)) continue;
    if (c == '=') {
      padding = true;
      continue;
    }
    int v = -1;
    if (c >= 'A' && c <= 'Z') v = c - 'A';
    if (c >= 'a' && c <= 'z') v = c - 'a' + 26;
    if (c >= '0' && c <= '9') v = c - '0' + 52;
    if (c == '+') v = 62;
    if (c == '/') v = 63;
    if (v < 0 || padding) return std::nullopt;
    bits = (bits << 6) | static_cast<std::uint32_t>(v);
    if (++count == 4) {
      out += static_cast<char>((bits >> 16) & 0xFF);
      out += static_cast<char>((bits >> 8) & 0xFF);
      out += static_cast<char>(bits & 0xFF);
      bits = 0;
      count = 0;
    }
  }
  if (count == 1) return std::nullopt;
  if (count == 2) out += static_cast<char>((bits >> 4) & 0xFF);
  if (count == 3) {
    out += static_cast<char>((bits >> 10) & 0xFF);
    out += static_cast<char>((bits >> 2) & 0xFF);
  }
  return out;
}

std::optional<PropertyValue> integerValue(std::string_view content) {
  content = text::trimWhitespace(content);
  bool negative = false;
  std::string_view digits = content;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    unsigned long long magnitude = 0;
    for (char c : digits) {
      int d = -1;
      if (c >= '0' && c <= '9') d = c - '0';
      if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      if (d < 0 || magnitude > (~0ULL >> 4)) return std::nullopt;
      magnitude = magnitude * 16 + static_cast<unsigned>(d);
    }
    if (magnitude <= 9223372036854775807ULL) {
      const auto v = static_cast<long long>(magnitude);
      return PropertyValue::integer(negative ? -v : v);
    }
    const double d = static_cast<double>(magnitude);
    return PropertyValue::number(NumberObject::ofReal(negative ? -d : d));
  }
  if (const auto v = text::parseInteger(content)) return PropertyValue::integer(*v);
  // Beyond 64 bits (an unsigned 64-bit counter, say): keep it as a number
  // whose integer value is unusable rather than wrapping it.
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  const auto d = text::parseDouble(content);
  if (!d) return std::nullopt;
  return PropertyValue::number(NumberObject::ofReal(*d));
}

std::string utf8(std::string s) { return text::isValidUtf8(s) ? s : text::decodeUtf8(s); }

class PlistReader {
 public:
  explicit PlistReader(std::string_view input) : tokens_(input) {}

  std::optional<PropertyMap> readTop() {
    for (Token t = tokens_.next(); t.kind != Token::Kind::eof; t = tokens_.next()) {
      if (t.kind != Token::Kind::start) continue;
      if (t.name == "dict") return t.selfClosing ? PropertyMap{} : readDict(0);
      if (t.name == "array") return t.selfClosing ? std::nullopt : firstDictOfArray();
    }
    return std::nullopt;
  }

 private:
  std::optional<PropertyMap> firstDictOfArray() {
    for (Token t = tokens_.next(); t.kind != Token::Kind::eof; t = tokens_.next()) {
      if (t.kind == Token::Kind::end) return std::nullopt;
      if (t.kind != Token::Kind::start) continue;
      if (t.name == "dict") return t.selfClosing ? PropertyMap{} : readDict(0);
      skip(t);
      if (broken_) return std::nullopt;
    }
    return std::nullopt;
  }

  // Reads up to the dictionary's end tag. When the input breaks off, returns
  // the entries completed so far with broken_ set.
  PropertyMap readDict(int depth) {
    PropertyMap map;
    for (Token t = tokens_.next();; t = tokens_.next()) {
      switch (t.kind) {
        case Token::Kind::eof: broken_ = true; return map;
        case Token::Kind::text: continue;
        case Token::Kind::end:
          if (t.name != "dict") broken_ = true;
          return map;
        case Token::Kind::start: break;
      }
      if (t.name != "key") {
        skip(t);  // a value without a key
        if (broken_) return map;
        continue;
      }
      std::optional<std::string> key = t.selfClosing ? std::string() : readText("key");
      if (broken_) return map;
      Token v = nextElement();
      if (v.kind == Token::Kind::eof) broken_ = true;
      if (v.kind != Token::Kind::start) {
        if (v.kind == Token::Kind::end && v.name != "dict") broken_ = true;
        return map;
      }
      auto value = readValue(v, depth + 1);
      if (broken_) return map;
      if (key && value) map.insert_or_assign(utf8(std::move(*key)), std::move(*value));
    }
  }

  PropertyArray readArray(int depth) {
    PropertyArray values;
    for (Token t = nextElement();; t = nextElement()) {
      if (t.kind == Token::Kind::eof || (t.kind == Token::Kind::end && t.name != "array")) broken_ = true;
      if (t.kind != Token::Kind::start) return values;
      auto value = readValue(t, depth + 1);
      if (broken_) return values;
      if (value) values.push_back(std::move(*value));
    }
  }

  // Reads the value that `start` opens; no value when it is unusable or the
  // input broke off (broken_ tells which).
  std::optional<PropertyValue> readValue(const Token& start, int depth) {
    const std::string_view name = start.name;
    if (name == "true" || name == "false") {
      skip(start);
      return PropertyValue::boolean(name == "true");
    }
    if (name == "dict" || name == "array") {
      if (depth > kMaxNesting) {
        skip(start);
        return std::nullopt;
      }
      if (name == "dict") {
        PropertyMap map = start.selfClosing ? PropertyMap{} : readDict(depth);
        return PropertyValue::dictionary(std::move(map));
      }
      return PropertyValue::array(start.selfClosing ? PropertyArray{} : readArray(depth));
    }
    const bool scalar = name == "integer" || name == "real" || name == "string" || name == "data" || name == "date";
    if (!scalar) {
      skip(start);
      return std::nullopt;
    }
    std::optional<std::string> content = start.selfClosing ? std::string() : readText(name);
    if (!content) return std::nullopt;
    if (name == "integer") return integerValue(*content);
    if (name == "real") {
      const auto d = text::parseDouble(text::trimWhitespace(*content));
      if (!d) return std::nullopt;
      return PropertyValue::number(NumberObject::ofReal(*d));
    }
    if (name == "data") {
      auto bytes = decodeBase64(*content);
      if (!bytes) return std::nullopt;
      return PropertyValue::data(std::move(*bytes));
    }
    return PropertyValue::string(utf8(std::move(*content)));
  }

  // The character data up to the end tag `name`, entities decoded. Elements
  // inside it make the value unusable (no value, reading goes on); a
  // different end tag or the end of input sets broken_.
  std::optional<std::string> readText(std::string_view name) {
    std::string out;
    bool usable = true;
    for (Token t = tokens_.next();; t = tokens_.next()) {
      switch (t.kind) {
        case Token::Kind::eof: broken_ = true; return std::nullopt;
        case Token::Kind::text:
          if (t.cdata) {
            out.append(t.text);
          } else {
            appendDecoded(out, t.text);
          }
          break;
        case Token::Kind::start:
          usable = false;
          skip(t);
          if (broken_) return std::nullopt;
          break;
        case Token::Kind::end:
          if (t.name != name) broken_ = true;
          if (broken_ || !usable) return std::nullopt;
          return out;
      }
    }
  }

  // The next tag, passing over text between elements.
  Token nextElement() {
    Token t = tokens_.next();
    while (t.kind == Token::Kind::text) t = tokens_.next();
    return t;
  }

  // Passes over the element `start` opens, whatever it holds.
  void skip(const Token& start) {
    if (start.selfClosing) return;
    std::size_t open = 1;
    for (Token t = tokens_.next(); t.kind != Token::Kind::eof; t = tokens_.next()) {
      if (t.kind == Token::Kind::start && !t.selfClosing) ++open;
      if (t.kind == Token::Kind::end && --open == 0) return;
    }
    broken_ = true;
  }

  Tokenizer tokens_;
  bool broken_ = false;
};

}  // namespace

std::optional<PropertyMap> parseXml(std::string_view xml) { return PlistReader(xml).readTop(); }

}  // namespace snoozlet::IoregParser
