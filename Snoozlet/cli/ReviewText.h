#pragma once

// The fix review in the terminal: the review sheet the review window shows
// (title, subtitle, heading, per change its exact command, the command that
// puts the value back and what you give up), written as text, and the
// questions that confirm it.

#include "presentation/SettingsRows.h"
#include "settings/FixPlan.h"
#include "settings/SystemSettings.h"

#include <string>

namespace snoozlet::review_text {

using Context = presentation::ReviewContext;

std::string render(const presentation::ReviewSheet& sheet);

// Why requested fixes gave no change, one line each ("  Turn off Power Nap
// on battery: already set"); empty when none was skipped. A Linux fix is
// named as the settings know it (by its id without them).
std::string skipped(const FixPlan& plan, Language language, const SystemSettings* settings = nullptr);

// The confirm question: simulate, put back or change.
std::string question(const Context& context);

}  // namespace snoozlet::review_text
