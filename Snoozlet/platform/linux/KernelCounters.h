#pragma once

// Reads the kernel's wake counts of a Linux laptop under a system root:
// /sys/class/wakeup/*, /sys/power/suspend_stats/*, /sys/power/mem_sleep and
// /proc/acpi/wakeup (for the firmware's device names). Every user may read
// them. A file that is missing or does not read leaves its value out; a
// machine without any of them (not Linux, or a container) gives an empty
// snapshot, never an error.

#include "journal/KernelCounts.h"
#include "platform/linux/SystemRoot.h"

namespace snoozlet {

// The counts now, stamped `now`.
KernelSnapshot readKernelSnapshot(const SystemRoot& root, Instant now);

// True when the root holds the wakeup class or suspend statistics at all.
bool hasKernelCounts(const SystemRoot& root);

}  // namespace snoozlet
