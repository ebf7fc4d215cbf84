#include "settings/FixPlan.h"

namespace snoozlet {

std::string_view toString(FixPlan::Skip skip) {
  switch (skip) {
    case FixPlan::Skip::notSupported: return "notSupported";
    case FixPlan::Skip::alreadySet: return "alreadySet";
    case FixPlan::Skip::unknownCurrentValue: return "unknownCurrentValue";
  }
  return "notSupported";
}

std::optional<FixPlan::Skip> fixPlanSkipFromString(std::string_view raw) {
  for (FixPlan::Skip skip :
       {FixPlan::Skip::notSupported, FixPlan::Skip::alreadySet, FixPlan::Skip::unknownCurrentValue}) {
    if (toString(skip) == raw) return skip;
  }
  return std::nullopt;
}

}  // namespace snoozlet
