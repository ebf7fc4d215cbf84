#include "common/Text.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/locid.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale>
#include <sstream>

namespace snoozlet::text {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence at `p` (1–4), or 0 when the bytes
// there do not start a valid sequence; `bad` then receives the length of the
// maximal invalid subpart to replace by one U+FFFD.
std::size_t sequenceLength(const unsigned char* p, std::size_t left, std::size_t& bad) {
  const unsigned char c = p[0];
  bad = 1;
  if (c < 0x80) return 1;
  std::size_t need;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    need = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    need = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    need = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  for (std::size_t i = 1; i < need; ++i) {
    if (i >= left) {
      bad = i;
      return 0;
    }
    const unsigned char b = p[i];
    const unsigned char l = (i == 1) ? lo : 0x80;
    const unsigned char h = (i == 1) ? hi : 0xBF;
    if (b < l || b > h) {
      bad = i;
      return 0;
    }
  }
  return need;
}

bool isAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Length of the Unicode white space character at the start of `s` (0 if none).
std::size_t leadingSpaceLength(std::string_view s) {
  if (s.empty()) return 0;
  const auto c = static_cast<unsigned char>(s[0]);
  if (c < 0x80) return isAsciiSpace(static_cast<char>(c)) ? 1 : 0;
  std::size_t bad;
  const std::size_t n = sequenceLength(reinterpret_cast<const unsigned char*>(s.data()), s.size(), bad);
  if (n < 2) return 0;
  UChar32 cp;
  int32_t i = 0;
  U8_NEXT(reinterpret_cast<const uint8_t*>(s.data()), i, static_cast<int32_t>(n), cp);
  return (cp >= 0 && (u_isUWhiteSpace(cp) || cp == 0x0085)) ? n : 0;
}

std::size_t trailingSpaceLength(std::string_view s) {
  if (s.empty()) return 0;
  const auto c = static_cast<unsigned char>(s.back());
  if (c < 0x80) return isAsciiSpace(static_cast<char>(c)) ? 1 : 0;
  // Walk back to the lead byte (at most 4 bytes).
  std::size_t start = s.size() - 1;
  while (start > 0 && s.size() - start < 4 && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) --start;
  const std::size_t n = leadingSpaceLength(s.substr(start));
  return (n == s.size() - start) ? n : 0;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t i = 0, n = bytes.size();
  while (i < n) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    std::size_t bad;
    const std::size_t len = sequenceLength(p + i, n - i, bad);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

void appendUtf8(std::string& out, std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  std::size_t runStart = 0;
  while (i < n) {
    // ASCII runs 32 and then 8 bytes at a time: almost every log line is
    // plain ASCII.
    while (i + 32 <= n) {
      std::uint64_t words[4];
      std::memcpy(words, p + i, 32);
      if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080ULL) != 0) break;
      i += 32;
    }
    if (i == n) break;
    if (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, p + i, 8);
      if ((word & 0x8080808080808080ULL) == 0) {
        i += 8;
        continue;
      }
    }
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    std::size_t bad;
    const std::size_t len = sequenceLength(p + i, n - i, bad);
    if (len > 0) {
      i += len;
      continue;
    }
    out.append(bytes.data() + runStart, i - runStart);
    out.append(kReplacement);
    i += bad;
    runStart = i;
  }
  out.append(bytes.data() + runStart, n - runStart);
}

std::string decodeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  appendUtf8(out, bytes);
  return out;
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view trimWhitespace(std::string_view s) {
  // ASCII white space first, in a tight loop: log messages are padded with
  // runs of spaces, and only a non-ASCII end needs the Unicode look-up.
  while (!s.empty() && isAsciiSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && isAsciiSpace(s.back())) s.remove_suffix(1);
  for (std::size_t n; (n = leadingSpaceLength(s)) > 0;) s.remove_prefix(n);
  for (std::size_t n; (n = trailingSpaceLength(s)) > 0;) s.remove_suffix(n);
  return s;
}

std::string_view trimChars(std::string_view s, std::string_view chars) {
  while (!s.empty() && chars.find(s.front()) != std::string_view::npos) s.remove_prefix(1);
  while (!s.empty() && chars.find(s.back()) != std::string_view::npos) s.remove_suffix(1);
  return s;
}

std::string toLower(std::string_view s) {
  if (isAscii(s)) {
    std::string out(s);
    for (char& c : out)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
  }
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), static_cast<int32_t>(s.size())));
  u.toLower(icu::Locale::getRoot());
  std::string out;
  u.toUTF8String(out);
  return out;
}

std::string foldCase(std::string_view s) {
  if (isAscii(s)) return toLower(s);
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), static_cast<int32_t>(s.size())));
  u.foldCase();
  std::string out;
  u.toUTF8String(out);
  return out;
}

std::vector<std::string_view> split(std::string_view s, char separator) {
  std::vector<std::string_view> out;
  std::size_t start = 0;
  while (true) {
    const std::size_t at = s.find(separator, start);
    if (at == std::string_view::npos) {
      out.push_back(s.substr(start));
      return out;
    }
    out.push_back(s.substr(start, at - start));
    start = at + 1;
  }
}

std::vector<std::string_view> split(std::string_view s, char separator, std::size_t maxSplits, bool dropEmpty) {
  std::vector<std::string_view> out;
  std::size_t start = 0, splits = 0;
  while (true) {
    const std::size_t at = splits < maxSplits ? s.find(separator, start) : std::string_view::npos;
    if (at == std::string_view::npos) {
      const auto piece = s.substr(start);
      if (!(dropEmpty && piece.empty())) out.push_back(piece);
      return out;
    }
    const auto piece = s.substr(start, at - start);
    if (!(dropEmpty && piece.empty())) {
      out.push_back(piece);
    }
    ++splits;
    start = at + 1;
  }
}

std::optional<long long> parseInteger(std::string_view s) {
  if (s.empty()) return std::nullopt;
  bool negative = false;
  if (s.front() == '+' || s.front() == '-') {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  unsigned long long magnitude = 0;
  const unsigned long long limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    const unsigned d = static_cast<unsigned>(c - '0');
    if (magnitude > (limit - d) / 10) return std::nullopt;
    magnitude = magnitude * 10 + d;
  }
  if (negative) {
    if (magnitude == 9223372036854775808ULL) return std::numeric_limits<long long>::min();
    return -static_cast<long long>(magnitude);
  }
  return static_cast<long long>(magnitude);
}

std::optional<double> parseDouble(std::string_view s) {
  if (s.empty() || isAsciiSpace(s.front())) return std::nullopt;
  // from_chars rejects a leading '+'; accept it as the usual conversion does.
  if (s.front() == '+') {
    s.remove_prefix(1);
    if (s.empty() || s.front() == '-' || s.front() == '+') return std::nullopt;
  }
  double value = 0;
#if defined(__cpp_lib_to_chars)
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
#else
  // C++ libraries without floating-point from_chars (libc++ before 17, as on
  // macOS): a stream in the classic locale, which ignores the process's
  // decimal separator as from_chars does. It reads no "inf" or "nan".
  if (s.front() == '-' && (s.size() == 1 || s[1] == '+' || s[1] == '-')) return std::nullopt;
  std::istringstream in{std::string(s)};
  in.imbue(std::locale::classic());
  in >> std::noskipws >> value;
  if (in.fail() || in.peek() != std::char_traits<char>::eof()) return std::nullopt;
#endif
  return value;
}

std::string fixed(double value, int digits) {
  // to_chars, unlike printf, ignores the C locale (Qt sets it from the
  // environment, which would turn the point into a comma).
  char buffer[400];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, digits);
  if (ec != std::errc()) return {};
  return std::string(buffer, end);
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
  std::string out;
  if (from.empty()) return std::string(s);
  std::size_t start = 0;
  while (true) {
    const std::size_t at = s.find(from, start);
    if (at == std::string_view::npos) break;
    out.append(s.substr(start, at - start));
    out.append(to);
    start = at + from.size();
  }
  out.append(s.substr(start));
  return out;
}

std::string join(const std::vector<std::string>& pieces, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i) out.append(separator);
    out.append(pieces[i]);
  }
  return out;
}

}  // namespace snoozlet::text
