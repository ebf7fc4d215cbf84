#pragma once

// Reading a Linux laptop's nights: the systemd journal through libsystemd's
// sd-journal (the entries of systemd-sleep, systemd-logind and the kernel's
// PM lines) and UPower's battery history. The reader is a value, like the
// power log's reader: it keeps the journal's cursor and the sessions built so
// far, so a refresh reads only the entries written since the last one.

#include "common/Result.h"
#include "journal/JournalNights.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace snoozlet {

// Where the nights come from: the journal (the system's, or a folder or file
// copied from another machine) and UPower's history (its folder or one
// history-charge-*.dat file).
struct JournalPaths {
  std::optional<std::filesystem::path> journal;
  std::optional<std::filesystem::path> upower;
  bool operator==(const JournalPaths&) const = default;
};

class JournalReader {
 public:
  // Reads the entries after the cursor (all of them the first time). All or
  // nothing: on an error the reader is left as it was.
  Status read(const JournalPaths& paths);

  const JournalNights& nights() const { return nights_; }
  // The sessions with UPower's readings.
  std::vector<SleepSession> sessions() const { return nights_.sessions(battery_); }
  const std::optional<std::string>& cursor() const { return cursor_; }
  // Journal files of a copied journal the last read could not open (their
  // permissions, another user's files), and how many it found in all.
  int unreadableFiles() const { return unreadableFiles_; }
  int journalFiles() const { return journalFiles_; }
  const std::vector<BatteryPoint>& battery() const { return battery_; }

  bool operator==(const JournalReader&) const = default;

 private:
  JournalNights nights_;
  std::optional<std::string> cursor_;
  std::vector<BatteryPoint> battery_;
  int unreadableFiles_ = 0;
  int journalFiles_ = 0;
};

// UPower's charge history: the file, or in a folder (default /var/lib/upower
// under the system root)
// the largest history-charge-*.dat (the laptop's main battery). Nothing when
// there is none; an error when a named path cannot be read.
Result<std::vector<BatteryPoint>> readUPowerHistory(const std::optional<std::filesystem::path>& path);

// Why this user cannot read the system journal, with how to fix it, in one
// sentence; nothing when they can (root, or a member of systemd-journal, adm
// or wheel). Reading a copied journal whose files none may be read fails with
// this sentence too, or, for a member of those groups, with the files' own
// reason.
std::optional<std::string> journalPermissionProblem();

// True when the system journal holds at least one sleep this user can read.
bool systemJournalHasSleep();

}  // namespace snoozlet
