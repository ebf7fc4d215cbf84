#pragma once

// The one place that calls RE2, behind an interface of plain C types. RE2's
// own interface passes std::string and its objects hold them, so it can only
// be used from code built with the same C++ library as RE2 itself. Debian's
// RE2 is built with libstdc++; a build with another C++ library (the portable
// preset: clang with libc++, as on macOS) compiles this file alone against
// libstdc++, and the rest of the program talks to it through these functions.

#include <cstddef>

extern "C" {

// A compiled pattern; only these functions look inside.
struct SnoozletRe2;

// Compiles a UTF-8 pattern (case-sensitive, "." not matching a line break,
// "^"/"$" at the ends of the text, at most 64 MiB of memory). Nothing when it
// does not compile, with RE2's message in `error` (cut to `errorSize`).
SnoozletRe2* snoozlet_re2_compile(const char* pattern, std::size_t size, char* error, std::size_t errorSize) noexcept;
void snoozlet_re2_release(SnoozletRe2* re) noexcept;
// The number of capture groups, not counting the whole match.
int snoozlet_re2_groups(const SnoozletRe2* re) noexcept;
// The first match in text[from, size): for each of `count` groups (the whole
// match first) its begin and end offsets in `spans`, or -1 and -1 for a group
// that did not take part. False when there is no match.
bool snoozlet_re2_match(const SnoozletRe2* re, const char* text, std::size_t size, std::size_t from,
                        std::ptrdiff_t* spans, int count) noexcept;
// True when the pattern matches somewhere in the text.
bool snoozlet_re2_contains(const SnoozletRe2* re, const char* text, std::size_t size) noexcept;
}
