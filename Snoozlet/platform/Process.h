#pragma once

// Runs a system command as a child process, without a shell: an executable, an
// argument vector and optionally a few extra environment variables. Both
// output pipes are read together (poll), so a child that fills one pipe while
// the other is being read cannot deadlock. Used by the privileged runners and
// by the power data source (which streams the power log).

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Result.h"

namespace snoozlet::Process {

struct Command {
  // An absolute or relative path, or a bare name looked up in PATH.
  std::string program;
  // The arguments after the program name.
  std::vector<std::string> arguments;
  // Added to the inherited environment, replacing variables of the same name.
  std::vector<std::pair<std::string, std::string>> environment;
};

// How the child ended.
struct Exit {
  // The exit status when the child exited; 0 when it was killed.
  int status = 0;
  // The signal that killed the child, if one did.
  std::optional<int> signal;

  bool succeeded() const { return !signal && status == 0; }
  // "exited with 3" or "was killed by signal 9".
  std::string describe() const;
  bool operator==(const Exit&) const = default;
};

struct Output {
  Exit exit;
  // Standard output; empty when it was streamed.
  std::string out;
  // Standard error; empty when it was discarded.
  std::string err;
};

// Runs to completion and captures both outputs whole. Fails only when the
// program could not be started ("Could not run <program>: <reason>").
// The folder of the running executable (from /proc/self/exe); empty when it
// cannot be read. Snoozlet's programs find each other there.
std::filesystem::path executableFolder();

Result<Output> run(const Command& command);

enum class ErrorOutput { discard, capture };

// Starts the program and hands its standard output to `consume` in chunks of
// at most `chunkSize` bytes as they arrive; `consume` returns false to stop
// reading (the pipe is then closed, and the child sees a broken pipe if it
// writes on). Waits for the child to end. Standard error is discarded or
// captured into the result.
Result<Output> stream(const Command& command, std::size_t chunkSize,
                      const std::function<bool(std::string_view)>& consume, ErrorOutput errorOutput);

// A started child whose standard output the caller pulls piece by piece, so
// that a consumer with its own read loop (the log reader) can stream it.
// Standard error goes to the null device: nobody drains it while the caller
// reads, so capturing it could block the child.
class OutputReader {
 public:
  // Starts the program; fails only when it could not be started.
  static Result<OutputReader> start(const Command& command);

  OutputReader(OutputReader&& other) noexcept;
  OutputReader& operator=(OutputReader&&) = delete;
  OutputReader(const OutputReader&) = delete;
  // A reader dropped before finish() kills and reaps the child.
  ~OutputReader();

  // Up to `size` bytes of output; 0 at the end; an error when reading fails.
  Result<std::size_t> read(char* buffer, std::size_t size);
  // Closes the output and waits for the child to end.
  Exit finish();

 private:
  OutputReader(int fd, int pid) : fd_(fd), pid_(pid) {}
  int fd_ = -1;
  int pid_ = -1;
};

}  // namespace snoozlet::Process
