#pragma once

// The "Sleep settings" page and the fix review, decided once for the windows
// and the terminal: each explained setting with the fix offered for it, the
// changes Snoozlet made that are still in force, and the review sheet every
// change or undo passes through before anything runs.

#include "narration/NightFormat.h"
#include "settings/ChangeOutcome.h"
#include "settings/Fix.h"
#include "settings/FixJournal.h"
#include "settings/FixPlan.h"
#include "settings/SettingFinding.h"

#include "common/NightSource.h"
#include "settings/SystemFix.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::presentation {

struct SettingsHeading {
  std::string title;
  // "This Mac · read from pmset"; "This laptop · read from the kernel and
  // logind" for the journal.
  std::string subtitle;
  std::string line;
};

SettingsHeading settingsHeading(Language language, NightSource source = NightSource::pmset);

// A finding and the fix the model offers for its key, if any: a Mac's, or a
// Linux laptop's with its title.
struct SettingsRow {
  SettingFinding finding;
  std::optional<Fix> fix;
  std::optional<SystemFix> systemFix{};
  std::string systemFixTitle{};
  bool operator==(const SettingsRow&) const = default;
};

// The status mark's word: "fine", "info", "consider", "attention".
std::string statusWord(SettingStatus status, Language language);

// One journal record as the changes list shows it.
struct ChangeEntry {
  std::string recordId;
  // "Sunday, 6 December 14:03".
  std::string date;
  // "dry run, nothing changed" for a dry-run record.
  std::optional<std::string> dryRunMark;
  // The date, and the dry-run mark after it: what heads the entry.
  std::string heading;
  // "Turn off Power Nap on battery: powernap 1 → 0 (battery)".
  std::vector<std::string> changes;
  bool operator==(const ChangeEntry&) const = default;
};

struct ChangesList {
  // "Changed by Snoozlet".
  std::string title;
  // The records not undone, newest first.
  std::vector<ChangeEntry> entries;
  // The nothing-yet sentence, when there is no entry and the journal was read.
  std::optional<std::string> empty;
  // Why the earlier changes are not listed: the journal file could not be read.
  std::optional<std::string> unreadable;
  // "Undo…", the button beside every entry.
  std::string undoLabel;
  bool operator==(const ChangesList&) const = default;
};

ChangesList changesList(const FixJournal& journal, const NightFormat& format);
// The records the list shows: those not undone and not waiting for their
// change to run, newest first.
std::vector<FixRecord> listedRecords(const FixJournal& journal);
// That the list of earlier changes cannot be read, with the file's path and
// the reason, and that the file will be kept aside at the next change.
std::string journalProblemSentence(const JournalProblem& problem, Language language);
// When a record was made: "Sunday, 6 December 14:03".
std::string recordDate(Instant date, const NightFormat& format);
// "powernap 1 → 0 (battery)".
std::string changeText(const PlannedChange& change, Language language);
// "/sys/power/mem_sleep s2idle → deep, kept by /etc/tmpfiles.d/snoozlet.conf".
std::string changeText(const SystemChange& change, Language language);

// The review of a plan.
struct ReviewContext {
  Language language = Language::english;
  // The pmset the runner runs, named in every command.
  std::string pmsetPath;
  // The runner only records.
  bool dryRun = false;
  // The plan puts a journal record's values back.
  bool undo = false;
  // Who asks for the password, and which machine the dry run leaves alone.
  NightSource source = NightSource::pmset;
  // The runner asks for an administrator password (it does not on a tree of
  // files standing for the system, for the simulated Mac, or as root).
  bool asksPassword = true;
  // The journal of earlier changes could not be read.
  std::optional<JournalProblem> journalProblem{};
};

// A label and its text: "Runs" and the exact command, "Undo" and the command
// that puts the value back ("Back to" and the value in an undo), "What you
// give up" and the trade-off.
struct LabelledText {
  std::string label;
  std::string text;
  bool operator==(const LabelledText&) const = default;
};

// A Linux change names its effect instead of a command: "Now" and the value
// written into its file, "After a restart" and the line written to keep it
// (or removed, in an undo), and the undo's effect.
struct ReviewBlock {
  std::string title;
  LabelledText runs;
  LabelledText undo;
  LabelledText giveUp;
  std::optional<LabelledText> keeps{};
  bool operator==(const ReviewBlock&) const = default;
};

struct ReviewSheet {
  std::string title;
  std::string subtitle;
  // "Change one setting", "Put 3 settings back".
  std::string heading;
  std::vector<ReviewBlock> blocks;
  // The box to tick before confirming: only for a change (never an undo)
  // that holds a fix of notable risk.
  std::optional<std::string> acknowledgement;
  std::optional<std::string> dryRunNote;
  // That the earlier changes cannot be read; only when they cannot.
  std::optional<std::string> journalNote;
  std::string cancelLabel;
  // "Simulate", "Undo with Password…" or "Change with Password…".
  std::string confirmLabel;
  bool operator==(const ReviewSheet&) const = default;
};

// A command the text builder refuses is shown as its error: the runner would
// refuse it the same way.
ReviewSheet reviewSheet(const FixPlan& plan, const ReviewContext& context);
// The one-line notice that tells how a change ended; nothing for a declined one.
std::optional<std::string> outcomeNotice(const ChangeOutcome& outcome, Language language,
                                         NightSource source = NightSource::pmset);
std::string reviewHeading(std::size_t changes, const ReviewContext& context);
bool needsAcknowledgement(const FixPlan& plan, bool undo);

}  // namespace snoozlet::presentation
