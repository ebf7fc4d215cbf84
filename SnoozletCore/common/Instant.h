#pragma once

namespace snoozlet {

// An instant: seconds since 1970-01-01 00:00:00 UTC. Durations are plain
// doubles of seconds as well.
using Instant = double;

}  // namespace snoozlet
