// The settings texts: `pmset -g`, `pmset -g custom` and `pmset -g cap` output
// parsed, explained in both languages and planned against. Whatever the text
// holds, the findings keep their fixed order and every command built from it
// is refused or has the one safe shape.
//
// Input: the three outputs separated by NUL bytes (`pmset -g` first; without a
// second part `pmset -g custom` counts as failed).

#include <algorithm>
#include <array>
#include <set>
#include <string>

#include "CommandCheck.h"
#include "FuzzCheck.h"
#include "common/Text.h"
#include "settings/DryRunRunner.h"
#include "settings/FixCatalog.h"
#include "settings/FixPlanner.h"
#include "settings/PowerCapabilities.h"
#include "settings/PowerSettings.h"
#include "settings/SettingsReport.h"

namespace {

using namespace snoozlet;

constexpr std::array<std::string_view, 9> kFindingOrder{"preventers",    "powernap",      "tcpkeepalive",
                                                        "womp",          "proximitywake", "ttyskeepawake",
                                                        "hibernatemode", "lowpowermode",  "sleep"};

bool isSetting(const std::string& key, const std::string& value) {
  return !key.empty() && !value.empty() && text::isValidUtf8(key) && text::isValidUtf8(value) &&
         value.find_first_of(" \t\n\r") == std::string::npos;
}

void checkSettings(const PowerSettings& settings) {
  for (const auto* map : {&settings.current, &settings.battery, &settings.ac})
    for (const auto& [key, value] : *map) FUZZ_CHECK(isSetting(key, value));
  for (const std::string& name : settings.sleepPreventedBy) {
    FUZZ_CHECK(!name.empty() && text::isValidUtf8(name) && text::trimWhitespace(name) == name);
  }
}

void checkFindings(const std::vector<SettingFinding>& findings) {
  std::size_t position = 0;
  for (const SettingFinding& finding : findings) {
    const auto at =
        std::find(kFindingOrder.begin() + static_cast<std::ptrdiff_t>(position), kFindingOrder.end(), finding.key);
    FUZZ_CHECK(at != kFindingOrder.end());  // known key, in order, at most once
    position = static_cast<std::size_t>(at - kFindingOrder.begin()) + 1;
    FUZZ_CHECK(!finding.title.empty() && !finding.summary.empty());
    FUZZ_CHECK(text::isValidUtf8(finding.title) && text::isValidUtf8(finding.value) &&
               text::isValidUtf8(finding.summary));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view parts[3];
  const std::size_t count = fuzz::split(fuzz::bytes(data, size), parts, 3);
  const std::optional<std::string_view> custom = count >= 2 ? std::optional(parts[1]) : std::nullopt;

  const PowerSettings settings = PowerSettings::parse(parts[0], custom);
  checkSettings(settings);
  const PowerCapabilities capabilities = PowerCapabilities::parse(parts[count >= 3 ? 2 : 0]);
  for (const std::string& key : capabilities.keys) {
    FUZZ_CHECK(!key.empty() && text::isValidUtf8(key) && key.find_first_of(" \t") == std::string::npos);
  }
  for (Language language : kAllLanguages) checkFindings(SettingsReport::findings(settings, language));

  // Plan every fix against these settings: each ends as a change or a skip,
  // never both, and only safe values are planned.
  std::vector<FixID> fixes(std::begin(kAllFixIDs), std::end(kAllFixIDs));
  const FixPlan plan = FixPlanner::plan(fixes, settings, capabilities);
  for (FixID id : fixes) {
    const bool changed = std::any_of(plan.changes.begin(), plan.changes.end(),
                                     [id](const PlannedChange& change) { return change.fix == id; });
    FUZZ_CHECK(changed != plan.skipped.contains(id));
  }
  for (const PlannedChange& change : plan.changes) {
    FUZZ_CHECK(PmsetCommand::isSafe(change.key, change.previous) && PmsetCommand::isSafe(change.key, change.target));
    FUZZ_CHECK(change.previous != change.target);
  }
  FUZZ_CHECK(fuzz::everyBuilderIsSafe(plan));
  const FixPlan undo = FixPlanner::undo(plan.changes);
  FUZZ_CHECK(fuzz::everyBuilderIsSafe(undo));
  // Values from settings text always give a runnable plan and a runnable undo.
  FUZZ_CHECK(PmsetCommand::shellText(plan).ok() && PmsetCommand::shellText(undo).ok());

  DryRunRunner runner;
  if (runner.run(plan).ok() && !plan.empty()) {
    FUZZ_CHECK(runner.scripts().size() == 1 && fuzz::isSafeCommandText(runner.scripts().front()));
  }
  FixPlanner::stillApplied(plan, settings);
  return 0;
}
