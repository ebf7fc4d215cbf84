#pragma once

// The state folder of the simulated Mac and the files in it:
//
//   settings  the two profiles, "profile key value" lines (SimulatedMac)
//   demo      the day and mood of the demonstration week (DemoWeek)
//   log       a power log captured on a real Mac; only ever read
//   .lock     taken while a command reads and rewrites a file, so two
//             commands at once cannot lose each other's change
//
// Files are replaced atomically: written to a temporary file in the same
// folder, flushed to disk, then renamed over the old one.

#include "DemoWeek.h"
#include "SimulatedMac.h"
#include "common/Result.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace snoozlet {

class StateFolder {
 public:
  // Reads an environment variable; nothing when unset.
  using Environment = std::function<std::optional<std::string>(const char* name)>;

  // $SNOOZLET_PMSET_HOME, else $XDG_STATE_HOME/snoozlet-pmset (when absolute),
  // else $HOME/.local/state/snoozlet-pmset. Empty variables count as unset.
  static Result<std::filesystem::path> locate(const Environment& environment);

  explicit StateFolder(std::filesystem::path path) : path_(std::move(path)) {}
  const std::filesystem::path& path() const { return path_; }

  // Creates the folder (and its parents) when missing.
  Status create() const;

  // An exclusive lock on the folder, held until the object is destroyed.
  class Lock {
   public:
    explicit Lock(int fd) : fd_(fd) {}
    Lock(Lock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Lock& operator=(Lock&&) = delete;
    ~Lock();

   private:
    int fd_;
  };
  Result<Lock> lock() const;

  // The settings file read: defaults where it is missing. A file that is too
  // large to be ours gives the defaults with a problem. An error only when
  // the file exists but cannot be read.
  Result<SimulatedMac::StateRead> readSettings() const;
  Status writeSettings(const SimulatedMac::Settings& settings) const;
  // Copies the settings file to "settings.damaged" before it is replaced,
  // so lines that could not be read are not lost. Returns the copy's path.
  Result<std::filesystem::path> keepDamagedSettings() const;

  // The demo file: whether it exists, and its record when it can be read.
  struct DemoFile {
    bool present = false;
    std::optional<DemoWeek::Record> record;
  };
  Result<DemoFile> readDemo() const;
  Status writeDemo(const DemoWeek::Record& record) const;

  // The simulated battery: the "battery" file, written with the typical
  // battery the first time it is asked for.
  Result<SimulatedMac::Battery> readBattery() const;

  // Copies the captured log to `out` in blocks of 256 KiB. False when there
  // is no log; an error when it exists but cannot be read or written out.
  Result<bool> streamLog(std::ostream& out) const;

  // Replaces `file` with `contents`: temporary file in the same folder,
  // fsync, rename, fsync of the folder.
  static Status writeAtomically(const std::filesystem::path& file, std::string_view contents);

 private:
  std::filesystem::path path_;
};

}  // namespace snoozlet
