#pragma once

// "What you can do" under a night, decided once: the advisor's suggestions,
// each with what its fix changes and what it costs, the app to quit for a
// holder, the sentence that stands when there is nothing to suggest, and the
// button that reviews every fix together (from two fixes on).

#include "analysis/NightReport.h"
#include "common/NightSource.h"
#include "settings/Suggestion.h"

#include <optional>
#include <string>
#include <vector>

namespace snoozlet::presentation {

struct RemedyRow {
  Suggestion suggestion;
  // What the fix changes; only for a fix.
  std::optional<std::string> whatChanges;
  // "What you give up"; only for a fix with a trade-off (the text is the suggestion's).
  std::optional<std::string> giveUpLabel;
  // "Review Change…"; only for a fix.
  std::optional<std::string> reviewLabel;
  // "App: Spotify"; only for an app to quit.
  std::optional<std::string> app;
  bool operator==(const RemedyRow&) const = default;
};

struct RemedyList {
  // "What you can do".
  std::string title;
  std::vector<RemedyRow> rows;
  // Why there is nothing to do: a normal night for this Mac (or laptop), or
  // nothing to change from here; only without a suggestion.
  std::optional<std::string> nothing;
  // Every fix among the suggestions, in order (a Mac's, or a Linux
  // laptop's), and "Review All 2"; only from two fixes on.
  std::vector<FixID> reviewAll;
  std::vector<SystemFix> reviewAllSystem{};
  std::optional<std::string> reviewAllLabel;
  bool operator==(const RemedyList&) const = default;
};

RemedyList remedyList(const NightReport& night, const std::vector<Suggestion>& suggestions, NightSource source,
                      Language language);

}  // namespace snoozlet::presentation
