#pragma once

// What the kernel counts about a Linux laptop's sleep, readable by every
// user, and what those counts say about one sleep.
//
// In s2idle the kernel wakes briefly, handles an event and goes back to sleep
// without writing a line: those are this platform's dark wakes. It counts them
// per wakeup source in /sys/class/wakeup/wakeupN/ (name, event_count,
// wakeup_count, active_count, total_time_ms, and `device` pointing at the
// device), counts the sleeps in /sys/power/suspend_stats/ (success, fail,
// last_failed_step, and since Linux 6.5 last_hw_sleep, total_hw_sleep and
// max_hw_sleep in microseconds: the time the hardware really spent in its
// low-power state), and tells the sleep in use in /sys/power/mem_sleep
// ("[s2idle] deep"). /proc/acpi/wakeup gives the firmware's short names of
// the devices ("XHC" for pci:0000:00:14.0).
//
// A snapshot is read just before a sleep and again on the resume; their
// difference is what that sleep did. The parsers here take the files' texts;
// reading them from a system root is the platform's part.

#include "common/Instant.h"
#include "sessions/Language.h"
#include "sessions/WakeCategory.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet {

// One wakeup source as /sys/class/wakeup/wakeupN/ reads.
struct WakeupSource {
  // The `name` file: the device's name for most ("PNP0C0D:00", "0000:00:14.0").
  std::string name;
  // The device `device` points at (its last path element), its driver and,
  // for a PCI device, its class code ("0x0c0330"); empty when unknown.
  std::string device;
  std::string driver;
  std::string pciClass;
  // The firmware's name of the device in /proc/acpi/wakeup ("XHC"), if listed.
  std::string acpiName;
  std::uint64_t eventCount = 0;
  std::uint64_t wakeupCount = 0;
  std::uint64_t activeCount = 0;
  std::uint64_t totalTimeMs = 0;
  bool operator==(const WakeupSource&) const = default;
};

// /sys/power/suspend_stats/; a file that is missing (older kernels) or does
// not read is absent.
struct SuspendStats {
  std::optional<std::uint64_t> success;
  std::optional<std::uint64_t> fail;
  std::string lastFailedStep;
  // Microseconds.
  std::optional<std::uint64_t> lastHwSleep;
  std::optional<std::uint64_t> totalHwSleep;
  std::optional<std::uint64_t> maxHwSleep;
  bool operator==(const SuspendStats&) const = default;
};

// Everything read at one moment.
struct KernelSnapshot {
  Instant taken = 0;
  std::vector<WakeupSource> sources;
  SuspendStats stats;
  // The sleep in use ("s2idle", "shallow", "deep"); empty when unknown.
  std::string memSleep;
  bool operator==(const KernelSnapshot&) const = default;
};

// One wakeup source's counts across a sleep.
struct SourceWakes {
  std::string name;
  std::string device;
  std::string driver;
  std::string pciClass;
  std::string acpiName;
  // Times it woke the laptop (wakeup_count) and its events (event_count).
  std::uint64_t wakeups = 0;
  std::uint64_t events = 0;
  bool operator==(const SourceWakes&) const = default;
};

// What one sleep did, from the snapshots around it: from `slept` (before the
// sleep) to `resumed` (after the resume).
struct SleepCounts {
  Instant slept = 0;
  Instant resumed = 0;
  std::string memSleep;
  // The sources that woke the laptop, most wakes first.
  std::vector<SourceWakes> sources;
  // Seconds the hardware spent in its low-power state; absent where the
  // kernel does not count it (before Linux 6.5, or no such state).
  std::optional<double> hardwareSleep;
  // Sleeps the kernel finished and attempts that failed meanwhile.
  std::optional<std::uint64_t> suspends;
  std::optional<std::uint64_t> failures;
  bool operator==(const SleepCounts&) const = default;
};

// The kernel's counts of one night: the wakes of its sleeps per source, and
// the share of the counted sleep the hardware spent in its low-power state.
struct NightKernelCounts {
  // Summed over the night's sleeps by source, most wakes first.
  std::vector<SourceWakes> sources;
  std::uint64_t wakeups = 0;
  // 0–1, over the s2idle sleeps whose hardware sleep the kernel counted;
  // absent when none was (deep sleep is all hardware sleep and is not counted).
  std::optional<double> hardwareShare;
  // Seconds of sleep the counts cover.
  double counted = 0;
  bool operator==(const NightKernelCounts&) const = default;
};

namespace kernel_counts {

// /proc/acpi/wakeup's lines ("XHC\t  S3\t*enabled   pci:0000:00:14.0"):
// the firmware's name of each device with a sysfs node, by that node's
// device name ("0000:00:14.0", "PNP0C0D:00"). Lines without a node are left
// out; lines that do not read are skipped.
struct AcpiWakeup {
  std::string acpiName;
  std::string sleepState;
  bool enabled = false;
  // "pci:0000:00:14.0" → bus "pci", device "0000:00:14.0".
  std::string bus;
  std::string device;
  bool operator==(const AcpiWakeup&) const = default;
};
std::vector<AcpiWakeup> parseAcpiWakeup(std::string_view text);

// The bracketed mode of /sys/power/mem_sleep ("[s2idle] deep" → "s2idle");
// empty when none is bracketed.
std::string currentMemSleep(std::string_view text);
// Every mode it offers, in its order ("s2idle", "deep").
std::vector<std::string> memSleepModes(std::string_view text);

// A counter file's text: a decimal number, white space around it allowed.
std::optional<std::uint64_t> parseCount(std::string_view text);

// What the sleep between the two snapshots did. A counter that went down (a
// reboot in between, or a source that went away and came back) counts as not
// moved; a source missing from either snapshot is left out.
SleepCounts between(const KernelSnapshot& before, const KernelSnapshot& after);

// The wake category of a source: the lid, the power or sleep button and the
// keyboard (user), the charger, the real-time clock (scheduled), Wi-Fi and
// Bluetooth, wired network (networkAccess), USB; else unknown.
WakeCategory category(const SourceWakes& source);
// True for the sources a laptop needs in order to be woken, which Snoozlet
// never offers to silence: the lid, the power and sleep buttons, the built-in
// keyboard, the real-time clock (alarms, and hibernation after a long
// sleep), the battery (its low-charge wake) and the embedded controller
// (through which the lid and the keys reach many laptops).
bool neededToWake(const SourceWakes& source);
// A source in words: "Lid", "Power button", "USB controller (XHC)", "Wi-Fi",
// …; the kernel's own name for anything else.
std::string label(const SourceWakes& source, Language language);
// The same inside a sentence: "the lid", "the USB controller (XHC)", "Wi-Fi".
std::string phrase(const SourceWakes& source, Language language);

// The night's counts from the sleeps read around it; nothing without any.
std::optional<NightKernelCounts> summarize(const std::vector<SleepCounts>& sleeps);

}  // namespace kernel_counts

}  // namespace snoozlet
