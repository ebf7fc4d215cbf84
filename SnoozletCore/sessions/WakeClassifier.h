#pragma once

#include "sessions/WakeCategory.h"

#include <string_view>

namespace snoozlet::WakeClassifier {

// The category of a raw wake reason: forty ordered literal rules on the
// lower-cased text, the part after the first "/" and the words before it;
// the first rule that holds decides, `unknown` when none does.
WakeCategory classify(std::string_view raw);

}  // namespace snoozlet::WakeClassifier
