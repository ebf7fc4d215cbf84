#pragma once

// Where the nights come from: macOS's power log through pmset, a Linux
// laptop's systemd journal, or the simulated Mac (a stand-in pmset that
// writes a made-up log).

#include <optional>
#include <string_view>

namespace snoozlet {

enum class NightSource { pmset, journal, simulated };

// "pmset", "journal", "simulated": the words of --source and of the settings file.
constexpr std::string_view toString(NightSource source) {
  switch (source) {
    case NightSource::pmset: return "pmset";
    case NightSource::journal: return "journal";
    case NightSource::simulated: return "simulated";
  }
  return "pmset";
}

constexpr std::optional<NightSource> nightSourceFromString(std::string_view word) {
  for (NightSource source : {NightSource::pmset, NightSource::journal, NightSource::simulated}) {
    if (toString(source) == word) return source;
  }
  return std::nullopt;
}

}  // namespace snoozlet
