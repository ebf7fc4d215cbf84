#pragma once

// The kernel's wake counts of a Linux laptop's night, as every front end
// shows them: which sources woke the laptop and how often, and the share of
// the night the hardware spent in its low-power state (in s2idle the most
// common reason a laptop drains asleep is that it hardly got there). Nothing
// is shown for a night around whose sleeps nothing was read.

#include "analysis/NightReport.h"
#include "narration/NightFormat.h"

#include <optional>
#include <string>
#include <vector>

namespace snoozlet::presentation {

// One source: "USB controller (XHC)" and "×6".
struct KernelWakeRow {
  std::string label;
  std::string count;
  bool operator==(const KernelWakeRow&) const = default;
};

// The night page's section.
struct KernelSection {
  // "What the kernel counted".
  std::string title;
  std::vector<KernelWakeRow> rows;
  // "No wakeup source woke the laptop." when none did.
  std::optional<std::string> none;
  // "In hardware sleep for 12% of the night", when the kernel counted it.
  std::optional<std::string> hardwareLine;
  // Where the counts come from.
  std::string footnote;
  bool operator==(const KernelSection&) const = default;
};

std::optional<KernelSection> kernelSection(const NightReport& night, const NightFormat& format);

// One line where space is short (the popover, the terminal's report):
// "Kernel: USB controller (XHC) ×6, Wi-Fi ×3 · in hardware sleep for 12% of
// the night"; at most three sources.
std::optional<std::string> kernelLine(const NightReport& night, const NightFormat& format);

// "in hardware sleep for 12% of the night" / "gecenin %12 kadarı donanım uykusunda".
std::string hardwareShareText(double share, const NightFormat& format);

}  // namespace snoozlet::presentation
