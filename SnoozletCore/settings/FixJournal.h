#pragma once

// The fix journal, `changes.json`: every setting change Snoozlet made, with
// the values it replaced, so that it can be shown and put back. The journal in
// memory is the authority; the file is rewritten whole and atomically after
// every change. A file that exists but cannot be read is never overwritten:
// the next save first moves it aside.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Instant.h"
#include "common/Result.h"
#include "settings/FixPlan.h"

namespace snoozlet {

// One run of a plan.
struct FixRecord {
  // Canonical upper-case UUID text, new for every run.
  std::string id;
  // When the run finished.
  Instant date = 0;
  // The changes that were run, in plan order.
  std::vector<PlannedChange> changes;
  // True when the runner only pretended.
  bool dryRun = false;
  // When the record was undone; absent while it is in effect.
  std::optional<Instant> undoneAt;

  // True while the record's changes are in force on the machine: not undone
  // and not a dry run.
  bool isActive() const { return !undoneAt && !dryRun; }
  bool operator==(const FixRecord&) const = default;
};

struct FixJournal {
  // Oldest first; never deleted or reordered.
  std::vector<FixRecord> records;

  // Reads the journal. Never fails: a missing, unreadable or undecodable file
  // (one malformed record spoils the whole file) gives an empty journal that
  // remembers the unreadable file so that the next save keeps it aside.
  static FixJournal load(const std::filesystem::path& file);

  // Writes the journal atomically, creating the folder when needed. When load
  // found an unreadable file at this path, it is first renamed to
  // "<name>.unreadable-<yyyyMMddTHHmmssZ>" beside it. `now` names that copy.
  Status save(const std::filesystem::path& file, Instant now = currentTime());

  // Appends a record with a fresh random id and returns it.
  FixRecord record(std::vector<PlannedChange> changes, Instant date, bool dryRun);

  // Marks the first record with this id undone; unknown ids change nothing.
  void markUndone(std::string_view id, Instant date);

  // The plan restoring the first not-undone record with this id, or nothing.
  // Dry-run records are not excluded.
  std::optional<FixPlan> undoPlan(std::string_view id) const;

  // The file format: pretty-printed JSON with sorted keys.
  std::string encode() const;
  // Nothing when the text is not a well-formed journal.
  static std::optional<FixJournal> decode(std::string_view json);

  // The unreadable file load found and the next save will keep aside.
  const std::optional<std::filesystem::path>& unreadableFile() const { return unreadableFile_; }

  // Two journals are equal when their records are.
  bool operator==(const FixJournal& other) const { return records == other.records; }

  static Instant currentTime();

 private:
  std::optional<std::filesystem::path> unreadableFile_;
};

}  // namespace snoozlet
