#pragma once

#include "common/Instant.h"
#include "log/LogFacts.h"
#include "sessions/SleepSession.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace snoozlet {

// Per-session assertion bookkeeping. Holds are keyed by program, type and
// cleaned name ("process|type|name"), so every process id of one program
// merges; open holds are keyed by that plus "|pid", so concurrent holds of
// different process ids stay apart.
class HolderAccumulator {
 public:
  struct Entry {
    std::string process;
    std::string type;
    std::string name;
    // Number of "Created" lines.
    int count = 0;
    // Seconds of closed holds.
    double held = 0;
    bool operator==(const Entry&) const = default;
  };

  // Accounts one assertion line of a session that started at `sessionStart`.
  void account(const AssertionView& event, Instant sessionStart);
  void account(const AssertionEvent& event, Instant sessionStart) {
    account(AssertionView{event.date, event.pid, event.process, event.action, event.type, event.name, event.age},
            sessionStart);
  }

  // The holders with still-open holds counted up to `upTo`, most held time
  // first, then most often created.
  std::vector<HolderGroup> groups(Instant upTo) const;

  const std::unordered_map<std::string, Entry>& table() const { return table_; }
  const std::unordered_map<std::string, Instant>& open() const { return open_; }

  bool operator==(const HolderAccumulator& o) const { return table_ == o.table_ && open_ == o.open_; }

 private:
  // Reused for the keys of each line.
  std::string key_;
  // "process|type|raw name" → holder key: the same raw names come back all
  // night, and cleaning a name costs more than looking it up.
  std::unordered_map<std::string, std::string> holderKeys_;
  std::unordered_map<std::string, Entry> table_;
  std::unordered_map<std::string, Instant> open_;
};

}  // namespace snoozlet
