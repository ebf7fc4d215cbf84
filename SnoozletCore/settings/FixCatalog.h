#pragma once

#include <string>
#include <vector>

#include "sessions/Language.h"
#include "settings/Fix.h"
#include "settings/PowerCapabilities.h"
#include "settings/PowerSettings.h"

namespace snoozlet::FixCatalog {

// The six fixes, in catalogue order; every one acts on the battery profile.
const std::vector<Fix>& all();

// The catalogue entry of an id (every id has one).
const Fix& fix(FixID id);

// The fixes that could still change something on this machine, in catalogue
// order: supported by the capabilities, with a known current value that
// differs from the target. Nothing when the capabilities are unknown.
std::vector<Fix> available(const PowerSettings& settings, const PowerCapabilities& capabilities);

// The texts shown by the advisor, the fix review and the settings page.
std::string title(FixID id, Language language);
std::string whatChanges(FixID id, Language language);
std::string giveUp(FixID id, Language language);

inline std::string title(const Fix& fix, Language language) { return title(fix.id, language); }
inline std::string whatChanges(const Fix& fix, Language language) { return whatChanges(fix.id, language); }
inline std::string giveUp(const Fix& fix, Language language) { return giveUp(fix.id, language); }

}  // namespace snoozlet::FixCatalog
