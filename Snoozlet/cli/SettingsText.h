#pragma once

// The "Sleep settings" page in the terminal: every explained setting with
// its status, value, summary and trade-off and the fix the model offers for
// it, then the changes Snoozlet made that are still in force ("Changed by
// Snoozlet"), each with what it changed and how to put it back. Also as JSON.

#include "common/NightSource.h"
#include "narration/NightFormat.h"
#include "presentation/SettingsRows.h"
#include "settings/Fix.h"
#include "settings/FixJournal.h"
#include "settings/SettingFinding.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::settings_text {

using FindingRow = presentation::SettingsRow;

// The whole page: heading, one block per finding, then the changes.
std::string page(const std::vector<FindingRow>& rows, const FixJournal& journal, const NightFormat& format,
                 NightSource source);

// "Changed by Snoozlet" and the listed records, or the nothing-yet line.
std::string changes(const FixJournal& journal, const NightFormat& format);

// The page as JSON: "language", "findings" (each with "fix": null or the fix
// with its exact "command" for this pmset) and "changes" (the listed records).
void json(std::ostream& out, const std::vector<FindingRow>& rows, const FixJournal& journal, Language language,
          std::string_view pmsetPath);

}  // namespace snoozlet::settings_text
