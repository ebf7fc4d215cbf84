#pragma once

#include "sessions/Language.h"

#include <optional>
#include <string>
#include <string_view>

namespace snoozlet::ActivityNames {

// The stable key of a wake-request activity identifier: the job name of a
// "com.apple.dasd:<uid>:<job>" identifier, without the invisible-alarm
// prefix, a trailing ",<digits>" and any UUID. Nothing for an absent or
// empty identifier.
std::optional<std::string> activity(const std::optional<std::string>& identifier);

// The friendly name of an activity key (first table row whose key the text
// contains, compared without regard to case), or nothing.
std::optional<std::string_view> friendly(std::string_view activity, Language language);

}  // namespace snoozlet::ActivityNames
