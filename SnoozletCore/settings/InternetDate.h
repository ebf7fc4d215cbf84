#pragma once

// Internet date-times (RFC 3339 without fractional seconds), as the fix
// journal stores them.

#include <optional>
#include <string>
#include <string_view>

#include "common/Instant.h"

namespace snoozlet::InternetDate {

// "2026-12-06T07:05:00Z": UTC, whole seconds (a fraction is dropped).
std::string format(Instant instant);

// "20261206T070500Z": the compact UTC form used in file names.
std::string compact(Instant instant);

// Reads "yyyy-MM-ddTHH:mm:ss" followed by "Z" or "+hh:mm"/"-hh:mm". Fractional
// seconds, missing parts, out-of-range fields and instants outside the years
// 0000–9999 in UTC (which format could not write back) give nothing.
std::optional<Instant> parse(std::string_view text);

// The current time, in whole seconds.
Instant now();

}  // namespace snoozlet::InternetDate
