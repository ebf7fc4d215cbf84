#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/FixPlan.h"
#include "settings/PowerCapabilities.h"
#include "settings/PowerSettings.h"

namespace snoozlet::FixPlanner {

// The value a change in `scope` acts on: the battery (or charger) profile's
// entry when that profile is non-empty and holds the key, otherwise (and
// always for `all`) the value in force; absent when none holds the key.
std::optional<std::string> currentValue(const PowerSettings& settings, std::string_view key, PowerScope scope);

// Turns the requested fixes into changes against the current settings, in
// request order. Every fix ends either as a change (recording the value it
// replaces) or with a skip reason. A current value that could not be written
// back safely is skipped as unknown, so an undo can always be run.
FixPlan plan(const std::vector<FixID>& fixes, const PowerSettings& settings, const PowerCapabilities& capabilities);

// The plan that puts the previous values back, last change first.
FixPlan undo(const std::vector<PlannedChange>& changes);

// For each change's key: whether the value in the change's scope now equals
// its target (a key planned twice keeps the later answer).
std::map<std::string, bool> stillApplied(const FixPlan& plan, const PowerSettings& settings);

}  // namespace snoozlet::FixPlanner
