#pragma once

// The Linux fixes: which could change something on this laptop, their texts,
// and the plan of changes they make (the planner of a Linux laptop, beside
// FixPlanner's for pmset).

#include "journal/KernelCounts.h"
#include "sessions/Language.h"
#include "settings/Fix.h"
#include "settings/FixPlan.h"
#include "settings/SystemSettings.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace snoozlet::SystemFixes {

// Below this share of a night in hardware sleep, s2idle hardly slept: deep
// sleep is worth offering.
inline constexpr double kPoorHardwareShare = 0.5;

// The device as the kernel's counts name it, so that its words and its wake
// category are those of the nights.
SourceWakes source(const WakeDevice& device);
// How often the device woke the laptop in the counted sleeps.
std::uint64_t wakesOf(const WakeDevice& device, const std::vector<SourceWakes>& wakes);
// True when Snoozlet may offer to keep the device from waking the laptop:
// not one the laptop needs to be woken by (kernel_counts::neededToWake).
bool mayKeepFromWaking(const WakeDevice& device);

// The fixes that could change something here: deep sleep where the kernel
// offers it and another sleep is in use; and for every device allowed to
// wake the laptop that woke it in the counted sleeps and may be kept from
// it, keeping it from waking the laptop. In that order, devices by path.
std::vector<SystemFix> available(const SystemSettings& settings, const std::vector<SourceWakes>& wakes);

// The changes the fixes make against the settings read now, in request
// order; every fix ends as a change or with a skip reason. A change whose
// file, values or boot-time line the helper would refuse is not planned.
FixPlan plan(const std::vector<SystemFix>& fixes, const SystemSettings& settings);

// The changes that put the previous values back and remove their boot-time
// lines, last change first.
std::vector<SystemChange> undo(const std::vector<SystemChange>& changes);

// For each change's file: whether it now reads the change's target.
std::map<std::string, bool> stillApplied(const std::vector<SystemChange>& changes, const SystemValues& values);

// A fix's words in the report's language.
struct Texts {
  // "Use deep sleep", "Don’t let the USB controller (XHC) wake the laptop".
  std::string title;
  std::string whatChanges;
  std::string giveUp;
  bool operator==(const Texts&) const = default;
};
// The texts of a fix; a device fix names the device as the settings know it.
Texts texts(const SystemFix& fix, const SystemSettings& settings, Language language);
// The texts of a planned or journaled change.
Texts texts(const SystemChange& change, Language language);
// Deep sleep is of notable risk (some laptops do not wake from it properly);
// keeping a device from waking the laptop is of low risk.
Fix::Risk risk(SystemFix::Kind kind);

}  // namespace snoozlet::SystemFixes
