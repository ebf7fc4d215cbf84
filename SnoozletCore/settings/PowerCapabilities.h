#pragma once

#include <set>
#include <string>
#include <string_view>

namespace snoozlet {

// The setting names this machine supports, from `pmset -g cap`. An empty set
// means "not known": every fix then counts as unsupported.
struct PowerCapabilities {
  std::set<std::string> keys;

  bool operator==(const PowerCapabilities&) const = default;
  bool contains(std::string_view key) const { return keys.find(std::string(key)) != keys.end(); }

  // Every indented line holding a single word is a capability; headings and
  // multi-word lines are not. An empty text gives an empty set.
  static PowerCapabilities parse(std::string_view text);
};

}  // namespace snoozlet
