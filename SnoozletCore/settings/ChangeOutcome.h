#pragma once

// How a reviewed setting change ended, as a value: what the windows and the
// terminal word for the user (presentation::outcomeNotice), and what a caller
// checks to decide its exit status.

#include <optional>
#include <string>

namespace snoozlet {

struct ChangeOutcome {
  enum class Kind {
    applied,      // every change ran and the settings read back hold every target
    simulated,    // the dry-run runner recorded it; nothing ran
    declined,     // the user closed the review without confirming
    cancelled,    // the administrator prompt was dismissed
    failed,       // the runner refused or failed
    didNotTake,   // it ran, but the settings read back miss a target
    notRecorded,  // the journal could not be saved first, so nothing ran
  };

  Kind kind = Kind::declined;
  // The review put a journal record's values back.
  bool undo = false;
  // The runner's message (failed) or the journal's error (notRecorded).
  std::string reason;
  // What a dry run would have run.
  std::string commands;
  // The journal could not be saved after the run (the change is in force and
  // still marked pending in the file, which a later start settles).
  std::optional<std::string> journalError;

  // The change is in force (or simulated) and recorded.
  bool succeeded() const { return (kind == Kind::applied || kind == Kind::simulated) && !journalError; }
  bool operator==(const ChangeOutcome&) const = default;
};

}  // namespace snoozlet
