#pragma once

// The runner that applies fixes with an administrator prompt, per platform:
// osascript's "with administrator privileges" on macOS, polkit elsewhere.
// Both runners build on every platform so that both can be tested anywhere.

#include "platform/linux/PkexecRunner.h"
#include "platform/macos/OsascriptRunner.h"

namespace snoozlet {

#if defined(__APPLE__)
using AdminPromptRunner = OsascriptRunner;
#else
using AdminPromptRunner = PkexecRunner;
#endif

}  // namespace snoozlet
