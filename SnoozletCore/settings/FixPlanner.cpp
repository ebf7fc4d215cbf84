#include "settings/FixPlanner.h"

#include "settings/FixCatalog.h"
#include "settings/PmsetCommand.h"

namespace snoozlet::FixPlanner {

namespace {

const std::string* find(const std::map<std::string, std::string>& map, const std::string& key) {
  const auto it = map.find(key);
  return it == map.end() ? nullptr : &it->second;
}

}  // namespace

std::optional<std::string> currentValue(const PowerSettings& settings, std::string_view key, PowerScope scope) {
  const std::string name(key);
  const std::map<std::string, std::string>* profile = nullptr;
  if (scope == PowerScope::battery) profile = &settings.battery;
  if (scope == PowerScope::charger) profile = &settings.ac;
  if (profile != nullptr && !profile->empty()) {
    if (const std::string* value = find(*profile, name)) return *value;
  }
  if (const std::string* value = find(settings.current, name)) return *value;
  return std::nullopt;
}

FixPlan plan(const std::vector<FixID>& fixes, const PowerSettings& settings, const PowerCapabilities& capabilities) {
  FixPlan result;
  for (FixID id : fixes) {
    const Fix& entry = FixCatalog::fix(id);
    if (capabilities.keys.empty() || !capabilities.contains(entry.key)) {
      result.skipped[id] = FixPlan::Skip::notSupported;
      continue;
    }
    const auto value = currentValue(settings, entry.key, entry.scope);
    if (!value || !PmsetCommand::isSafe(entry.key, *value)) {
      result.skipped[id] = FixPlan::Skip::unknownCurrentValue;
      continue;
    }
    if (*value == entry.target) {
      result.skipped[id] = FixPlan::Skip::alreadySet;
      continue;
    }
    result.changes.push_back({id, entry.key, entry.scope, *value, entry.target});
  }
  return result;
}

FixPlan undo(const std::vector<PlannedChange>& changes) {
  FixPlan result;
  result.changes.reserve(changes.size());
  for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
    result.changes.push_back({it->fix, it->key, it->scope, it->target, it->previous});
  }
  return result;
}

std::map<std::string, bool> stillApplied(const FixPlan& plan, const PowerSettings& settings) {
  std::map<std::string, bool> result;
  for (const PlannedChange& change : plan.changes) {
    const auto value = currentValue(settings, change.key, change.scope);
    result[change.key] = value && *value == change.target;
  }
  return result;
}

}  // namespace snoozlet::FixPlanner
