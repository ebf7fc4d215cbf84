#pragma once

// The fix journal, `changes.json`: every setting change Snoozlet made, with
// the values it replaced, so that it can be shown and put back. The journal in
// memory is the authority; the file is rewritten whole and atomically after
// every change. A file that exists but cannot be read is never overwritten:
// the next save first moves it aside.
//
// A change is written down before it runs: begin() adds the record marked
// pending (with the previous values an undo needs) and the caller saves the
// journal before starting the privileged command; finish() clears the mark
// once the command has ended. A process that dies in between leaves the mark
// in the file, and settle() later decides from the values in force whether the
// change took. An undo is marked the same way on its record. Readers that do
// not know the mark see an ordinary record, whose undo is harmless.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Instant.h"
#include "common/Result.h"
#include "settings/FixPlan.h"
#include "settings/PowerSettings.h"
#include "settings/SystemSettings.h"

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
  // What has started and not been seen to end: the change itself, or its undo.
  enum class Pending { change, undo };
  std::optional<Pending> pending;
  // A Linux laptop's changes, in plan order (its `changes` are then empty, so
  // that a reader that knows only pmset's still reads the file).
  std::vector<SystemChange> system{};

  // True while the record's changes are in force on the machine: not undone,
  // not a dry run, and not a change still waiting to be seen to run.
  bool isActive() const { return !undoneAt && !dryRun && pending != Pending::change; }
  bool operator==(const FixRecord&) const = default;
};

// A journal file that exists but could not be read: why, so that it is told
// rather than shown as an empty list.
struct JournalProblem {
  // It is not a journal (not JSON of the journal's form, or far too large),
  // or the file system would not let it be read (its message).
  enum class Kind { notAJournal, unreadable };
  std::filesystem::path file;
  Kind kind = Kind::notAJournal;
  std::string systemMessage;
  bool operator==(const JournalProblem&) const = default;
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

  // Appends a record of changes about to run, marked pending; its id.
  std::string begin(std::vector<PlannedChange> changes, Instant date, bool dryRun,
                    std::vector<SystemChange> system = {});
  // Marks the record's undo as about to run; false for an unknown or undone record.
  bool beginUndo(std::string_view id);
  // The pending work on the record ran: a change is in force from `date`, an
  // undo marks the record undone at `date`.
  void finish(std::string_view id, Instant date);
  // The pending work on the record did not run: a change's record goes, an
  // undo's mark is cleared.
  void abandon(std::string_view id);
  // Decides every pending record from the values in force: a change keeps
  // the changes whose key holds its target (the record goes when none does);
  // an undo whose every key holds its previous value marks the record undone
  // at `date`, otherwise the record stays in force. True when anything changed.
  // Only records of pmset changes are decided here.
  bool settle(const PowerSettings& settings, Instant date);
  // The same for the records of a Linux laptop's changes, from the values
  // their files read now.
  bool settle(const SystemValues& values, Instant date);
  // True when a record is marked pending; `system` asks about the records of
  // a Linux laptop's changes (true) or of pmset's (false) only.
  bool hasPending(bool system) const;
  // True when a record is marked pending.
  bool hasPending() const;

  // The plan restoring the first not-undone record with this id, or nothing.
  // Dry-run records are not excluded.
  std::optional<FixPlan> undoPlan(std::string_view id) const;

  // The file format: pretty-printed JSON with sorted keys.
  std::string encode() const;
  // Nothing when the text is not a well-formed journal.
  static std::optional<FixJournal> decode(std::string_view json);

  // The unreadable file load found and the next save will keep aside.
  std::optional<std::filesystem::path> unreadableFile() const {
    return problem_ ? std::optional(problem_->file) : std::nullopt;
  }
  // Why that file could not be read.
  const std::optional<JournalProblem>& problem() const { return problem_; }

  // Two journals are equal when their records are.
  bool operator==(const FixJournal& other) const { return records == other.records; }

  static Instant currentTime();

 private:
  std::optional<JournalProblem> problem_;
};

}  // namespace snoozlet
