#pragma once

// Small text helpers shared by the parsers: UTF-8 decoding that never rejects
// input, whitespace trimming, Unicode-correct lower-casing and splitting.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::text {

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// Appends `bytes` to `out` as well-formed UTF-8: every maximal invalid
// subsequence becomes U+FFFD (the replacement character). NUL bytes are kept.
void appendUtf8(std::string& out, std::string_view bytes);

// `bytes` decoded as UTF-8 with replacement (see appendUtf8).
std::string decodeUtf8(std::string_view bytes);

// True for a space or a tab.
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Space, tab, line feed, vertical tab, form feed, carriage return.
inline bool isAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Trims spaces and tabs at both ends.
std::string_view trimBlanks(std::string_view s);

// Trims white space at both ends: ASCII white space plus the Unicode space
// separators (U+00A0, U+1680, U+2000–U+200A, U+2028, U+2029, U+202F, U+205F,
// U+3000) and U+0085. Expects UTF-8.
std::string_view trimWhitespace(std::string_view s);

// Trims only the given ASCII characters at both ends.
std::string_view trimChars(std::string_view s, std::string_view chars);

// Lower-cases a UTF-8 text with the root locale (full Unicode mapping, so "İ"
// and "Σ" are handled); pure ASCII takes a fast path.
std::string toLower(std::string_view s);

// Case folding for case-insensitive comparison (locale-independent).
std::string foldCase(std::string_view s);

// Splits at every occurrence of `separator`, keeping empty pieces.
std::vector<std::string_view> split(std::string_view s, char separator);

// Splits at most `maxSplits` times; empty pieces are dropped when `dropEmpty`.
std::vector<std::string_view> split(std::string_view s, char separator, std::size_t maxSplits, bool dropEmpty);

// Reads an integer: an optional sign then one or more ASCII digits and nothing
// else. Overflow of a 64-bit integer gives no value.
std::optional<long long> parseInteger(std::string_view s);

// Reads a decimal number: no leading white space, no trailing characters.
std::optional<double> parseDouble(std::string_view s);

// "%.<digits>f" of a value, locale-independent.
std::string fixed(double value, int digits);

// Replaces every occurrence of `from` by `to`.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

// Joins pieces with a separator.
std::string join(const std::vector<std::string>& pieces, std::string_view separator);

}  // namespace snoozlet::text
