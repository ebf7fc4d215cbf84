#pragma once

// The measurement pass (`snoozlet --measure [--data-dir DIR]`): a timing
// harness that loads as a launch does, with no window and no notifier, and
// prints the process's memory at fixed points:
//
//   launch → read, parse, archive (the loading step's stages) → published
//   → 1.5 s → settled + "MEASURE nights N naps N history N"
//   → a second loading step with the model's reader → refresh → 3 s → idle
//
// A failed loading step prints "MEASURE failed: " + its error, and the pass
// goes on; it always exits 0.

#include "cli/CommandLine.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace snoozlet::cli {

// The process's memory, in MiB.
struct MemoryFigures {
  double footprint = 0;
  // The most the footprint has been.
  double peak = 0;
  bool operator==(const MemoryFigures&) const = default;
};

// VmRSS and VmHWM of a /proc/<pid>/status text (given in kB); 0 for a
// missing or malformed line.
MemoryFigures parseProcStatus(std::string_view status);
// This process's figures now (Linux: /proc/self/status; macOS: the task's
// VM information); 0.0 for what cannot be read.
MemoryFigures currentMemory();

// "MEASURE " + the label padded to 10 + " phys_footprint " + MiB with one
// decimal + " MB  peak " + MiB with one decimal + " MB".
std::string measureLine(std::string_view label, const MemoryFigures& figures);
// "MEASURE nights N naps N history N".
std::string measureSummary(std::size_t nights, std::size_t naps, std::size_t history);

// Runs the pass (a QCoreApplication must exist) and returns the exit status:
// 0 once it has run, 2 for a bad argument.
int runMeasure(const CommandLine& line, std::ostream& out, std::ostream& err);

std::string measureHelp();

}  // namespace snoozlet::cli
