#pragma once

// The roles our own painted widgets have for assistive technology: the
// mascot, the moons and the status marks are pictures (Graphic), the night
// ribbon and the drain strip are charts, the separators separators. Without
// them a screen reader meets a blank "filler". Their names and descriptions
// are the widgets' own. Installed once, at start.

namespace snoozlet::views {

void installAccessibleRoles();

}  // namespace snoozlet::views
