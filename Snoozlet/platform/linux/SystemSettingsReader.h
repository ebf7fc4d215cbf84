#pragma once

// Reads a Linux laptop's sleep settings under a system root, as every user
// may: /sys/power/mem_sleep, the devices the wakeup sources of
// /sys/class/wakeup point at (with their power/wakeup, subsystem, driver,
// class and ids, and their firmware names from /proc/acpi/wakeup),
// /sys/power/disk and resume with /proc/swaps and /proc/meminfo, and the
// network cards of /sys/class/net that report whether they may wake it.
// logind's part comes over D-Bus (the application's), so it is left absent
// here. A missing or unreadable file leaves its value out; nothing fails.

#include "platform/linux/SystemRoot.h"
#include "settings/SystemFix.h"
#include "settings/SystemSettings.h"

#include <vector>

namespace snoozlet {

SystemSettings readSystemSettings(const SystemRoot& root);

// What the changes' files read now ("deep" for mem_sleep, "enabled" for a
// device's wakeup); a file that is not one the helper writes, or that does
// not read, is left out.
SystemValues readSystemValues(const SystemRoot& root, const std::vector<SystemChange>& changes);

}  // namespace snoozlet
