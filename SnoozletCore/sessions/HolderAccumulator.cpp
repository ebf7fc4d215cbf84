#include "sessions/HolderAccumulator.h"

#include <algorithm>
#include <tuple>

namespace snoozlet {

void HolderAccumulator::account(const AssertionView& event, Instant sessionStart) {
  // Assertion lines are the most numerous of a night: keys are built in one
  // reused buffer, a name is cleaned once per night, and strings are copied
  // only for a holder seen first.
  key_.clear();
  key_.append(event.process).append("|").append(event.type).append("|").append(event.name);
  auto known = holderKeys_.find(key_);
  if (known == holderKeys_.end()) {
    const std::string name = SystemProcesses::cleanHolderName(event.name);
    std::string holderKey;
    holderKey.append(event.process).append("|").append(event.type).append("|").append(name);
    if (table_.find(holderKey) == table_.end()) {
      table_.emplace(holderKey, Entry{std::string(event.process), std::string(event.type), name, 0, 0});
    }
    known = holderKeys_.emplace(key_, std::move(holderKey)).first;
  }
  Entry& entry = table_.find(known->second)->second;
  key_.assign(known->second).append("|").append(std::to_string(event.pid));  // the open key

  if (event.action == "Created") {
    entry.count += 1;
    open_[key_] = event.date;
  } else if (event.action == "Released" || event.action == "TimedOut" || event.action == "ClientDied") {
    Instant began = event.date - event.age;
    if (const auto open = open_.find(key_); open != open_.end()) {
      began = open->second;
      open_.erase(open);
    }
    began = std::max(began, sessionStart);
    entry.held += std::max(0.0, event.date - began);
  }
}

std::vector<HolderGroup> HolderAccumulator::groups(Instant upTo) const {
  std::unordered_map<std::string, double> seconds;
  seconds.reserve(table_.size());
  for (const auto& [key, entry] : table_) seconds[key] = entry.held;
  for (const auto& [openKey, created] : open_) {
    const std::string holderKey = openKey.substr(0, openKey.rfind('|'));
    seconds[holderKey] += std::max(0.0, upTo - created);
  }

  std::vector<HolderGroup> out;
  out.reserve(table_.size());
  for (const auto& [key, entry] : table_) {
    HolderGroup group;
    group.process = entry.process;
    group.type = entry.type;
    group.name = entry.name;
    group.count = std::max(entry.count, 1);
    group.heldSeconds = seconds[key];
    group.origin = SystemProcesses::origin(entry.process, entry.name);
    out.push_back(std::move(group));
  }
  // Held time, then count, decide; names only make the order of exact ties
  // reproducible (the table itself has no order).
  std::sort(out.begin(), out.end(), [](const HolderGroup& a, const HolderGroup& b) {
    return std::tie(b.heldSeconds, b.count, a.process, a.type, a.name) <
           std::tie(a.heldSeconds, a.count, b.process, b.type, b.name);
  });
  return out;
}

}  // namespace snoozlet
