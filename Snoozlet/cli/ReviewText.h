#pragma once

// The fix review in the terminal, as the review window shows it: a title and
// a subtitle for a change or an undo, a heading by the number of changes,
// and per change the fix's title, the exact command ("Runs"), the command
// that puts the value back ("Undo"; "Back to" with the value in an undo),
// and "What you give up". Also the questions that confirm it.

#include "sessions/Language.h"
#include "settings/FixPlan.h"

#include <string>
#include <string_view>

namespace snoozlet::review_text {

struct Context {
  Language language = Language::english;
  // The pmset the runner runs, named in every command.
  std::string pmsetPath;
  // The runner only records.
  bool dryRun = false;
  // The plan puts a journal record's values back.
  bool undo = false;
};

// The review. A command the text builder refuses is shown as its error: the
// runner would refuse it the same way.
std::string render(const FixPlan& plan, const Context& context);

// "Change one setting", "Put 3 settings back" …
std::string heading(std::size_t changes, const Context& context);

// Why requested fixes gave no change, one line each ("  Turn off Power Nap
// on battery: already set"); empty when none was skipped.
std::string skipped(const FixPlan& plan, Language language);

// True when a change (not an undo) holds a fix of notable risk: the user
// must acknowledge what it costs.
bool needsAcknowledgement(const FixPlan& plan, bool undo);
// "I understand: Find My may not locate this Mac while it sleeps on battery."
std::string acknowledgement(Language language);
// The confirm question: simulate, put back or change.
std::string question(const Context& context);

}  // namespace snoozlet::review_text
