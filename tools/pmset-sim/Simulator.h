#pragma once

// One run of `snoozlet-pmset`: the command line and the environment in,
// pmset's output and an exit status out. main() only wires this to the
// process; tests call it directly with their own environment and streams.

#include "StateFolder.h"
#include "common/Instant.h"

#include <ostream>
#include <string_view>
#include <vector>

namespace snoozlet::Simulator {

// Runs the command given by `arguments` (without the program name) and
// returns the exit status: 0 on success, 1 for a refused command line or a
// failure. `now` is the clock's reading, used when a demonstration week is
// first created and SNOOZLET_PMSET_TODAY is not set.
int run(const std::vector<std::string_view>& arguments, const StateFolder::Environment& environment, Instant now,
        std::ostream& out, std::ostream& err);

}  // namespace snoozlet::Simulator
