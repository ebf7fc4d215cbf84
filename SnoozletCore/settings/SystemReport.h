#pragma once

// A Linux laptop's settings explained, as SettingsReport explains a Mac's:
// one SettingFinding per setting that matters for its nights, each with its
// status, value, what it does and what changing it costs.

#include "analysis/NightAnalyzer.h"
#include "journal/KernelCounts.h"
#include "narration/NightFormat.h"
#include "settings/SettingFinding.h"
#include "settings/SystemFix.h"
#include "settings/SystemSettings.h"

#include <optional>
#include <string>
#include <vector>

namespace snoozlet::SystemReport {

// In this order: who keeps the laptop awake now ("inhibitors", only when a
// program blocks sleep or the lid), the sleep state ("memSleep"), what
// closing the lid does ("lid", when logind answered), every device allowed
// to wake it ("wakeup:<name>"), hibernation after a long sleep
// ("hibernation"), and each network card that reports whether it may wake it
// ("wakeOnLan:<interface>", "wakeOnWlan:<interface>").
//
// The sleep state needs attention when the laptop is in s2idle and the last
// night whose s2idle sleeps the kernel counted drained at least twice its
// normal with less than half of it in hardware sleep. A device's count of
// wakes is summed over `recentSleeps`.
std::vector<SettingFinding> findings(const SystemSettings& settings, const std::vector<SleepCounts>& recentSleeps,
                                     const SleepAnalysis* analysis, const NightFormat& format);

// The key of the finding a fix belongs to: "memSleep", "wakeup:<name>".
std::string findingKey(const SystemFix& fix);

}  // namespace snoozlet::SystemReport
