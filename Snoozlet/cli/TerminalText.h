#pragma once

// Columns padded by characters (not bytes), so that "Uyanık" and "−3" line
// up with plain ASCII.

#include <cstddef>
#include <string>
#include <string_view>

namespace snoozlet::terminal {

// Code points of UTF-8 text: the columns it takes in a terminal for the
// scripts these texts use.
inline std::size_t displayWidth(std::string_view text) {
  std::size_t n = 0;
  for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return n;
}

// The text filled with blanks to `width` columns, on the right (or, with
// `right`, on the left); longer text is left as it is.
inline std::string padded(std::string text, std::size_t width, bool right = false) {
  const std::size_t used = displayWidth(text);
  if (used >= width) return text;
  const std::string fill(width - used, ' ');
  return right ? fill + text : text + fill;
}

}  // namespace snoozlet::terminal
