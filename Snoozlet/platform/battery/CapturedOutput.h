#pragma once

// Runs a program without a shell and collects its standard output.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace snoozlet {

struct CapturedOutput {
  // The exit status, or -1 when the program was ended by a signal.
  int exitStatus = -1;
  std::string output;
};

// Runs `program` (an absolute path) with `arguments`, standard input and
// error on /dev/null, and waits for it. No value when it cannot be started
// or writes more than `outputLimit` bytes (it is then killed).
std::optional<CapturedOutput> captureOutput(const std::filesystem::path& program,
                                            const std::vector<std::string>& arguments, std::size_t outputLimit);

}  // namespace snoozlet
