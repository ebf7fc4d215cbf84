#pragma once

// The windows in every state that is not the ordinary demonstration night
// (States.cpp says which), in English and Turkish.

#include "Shots.h"

namespace snoozlet::preview {
class PreviewModel;
}

namespace snoozlet::shots {

void states(Writer& out);

// The night page of a preview laid out whole, not only what a window shows.
QImage nightPageImage(preview::PreviewModel& preview, double ratio);

}  // namespace snoozlet::shots
