#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Fix.h"
#include "settings/SystemFix.h"

namespace snoozlet {

// One setting change of a plan, with the value it replaces.
struct PlannedChange {
  FixID fix = FixID::tcpKeepAliveOff;
  std::string key;
  PowerScope scope = PowerScope::battery;
  // The value in force when the change was planned.
  std::string previous;
  // The value the change sets.
  std::string target;

  bool operator==(const PlannedChange&) const = default;
};

// The changes to run, in order, and why requested fixes produced none: a
// Mac's pmset changes, or a Linux laptop's (run after them, in order).
struct FixPlan {
  // Why a requested fix produced no change; raw values are the case names.
  enum class Skip { notSupported, alreadySet, unknownCurrentValue };

  std::vector<PlannedChange> changes;
  std::map<FixID, Skip> skipped;
  std::vector<SystemChange> system{};
  // By the Linux fix's id.
  std::map<std::string, Skip> systemSkipped{};

  // A plan is empty when it has no changes; skips do not count.
  bool empty() const { return changes.empty() && system.empty(); }
  bool operator==(const FixPlan&) const = default;
};

std::string_view toString(FixPlan::Skip skip);
std::optional<FixPlan::Skip> fixPlanSkipFromString(std::string_view raw);

}  // namespace snoozlet
