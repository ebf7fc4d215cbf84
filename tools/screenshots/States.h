#pragma once

// The windows in every state that is not the ordinary demonstration night
// (States.cpp says which), in English and Turkish.

#include "Shots.h"

namespace snoozlet::shots {

void states(Writer& out);

}  // namespace snoozlet::shots
