#pragma once

// The night archive: every analysed night in a small SQLite database of the
// application's own (`nights.sqlite`), so that the history and the baseline
// survive the power log's one-week rotation.
//
// Each refresh opens the archive, reads baseline samples, stores all closed
// nights of the analysis in one transaction, reads the history back and drops
// the archive, which closes the file. The file holds four tables: `nights`
// (one row per night start) and its child rows in `night_reasons`,
// `night_holders` and `night_requests`. On a Linux laptop the tray
// application adds the kernel's counts around each sleep as it resumes:
// `sleep_counts` (one row per sleep, by the moment it began) and its sources'
// wakes in `sleep_wake_sources`; a night finds the sleeps that began within
// it. An archive made before those tables gains them when it is opened.

#include "analysis/Baseline.h"
#include "analysis/NightReport.h"
#include "archive/ArchivedNight.h"
#include "common/Result.h"
#include "journal/KernelCounts.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

struct sqlite3;

namespace snoozlet {

// The archive's own error: SQLite failed, with SQLite's message and its
// primary result code (0 when not known).
struct NightArchiveFailure {
  enum class Kind { sqlite };

  Kind kind = Kind::sqlite;
  std::string message;
  int code = 0;

  static NightArchiveFailure sqlite(std::string message, int code = 0) {
    return {Kind::sqlite, std::move(message), code};
  }
  // "SQLite: " + message.
  std::string description() const { return "SQLite: " + message; }
  // The file is not a database, or its image is malformed: it will never
  // open as an archive again.
  bool damaged() const;
  bool operator==(const NightArchiveFailure&) const = default;
};

// The archive's folder could not be created; carries the file system's error.
struct ArchiveFolderFailure {
  std::filesystem::path folder;
  std::error_code code;

  // The file system's own message ("Not a directory").
  std::string description() const { return code.message(); }
  bool operator==(const ArchiveFolderFailure&) const = default;
};

// Why an archive could not be opened: its folder could not be created, or
// SQLite failed to open or set up the file.
struct ArchiveError {
  std::variant<ArchiveFolderFailure, NightArchiveFailure> value;

  // The folder failure, or nothing when SQLite failed.
  const ArchiveFolderFailure* folder() const { return std::get_if<ArchiveFolderFailure>(&value); }
  // The SQLite failure, or nothing when the folder could not be created.
  const NightArchiveFailure* sqlite() const { return std::get_if<NightArchiveFailure>(&value); }
  std::string description() const;
  bool operator==(const ArchiveError&) const = default;
};

// Why the nights of a refresh could not be kept, beside a refresh that
// otherwise succeeded (the nights of the log are still shown).
struct ArchiveProblem {
  std::filesystem::path file;
  // The error's own text: "SQLite: file is not a database", or the file
  // system's message for a folder that could not be created.
  std::string reason;
  // A damaged file was kept here, and a new archive made in its place.
  std::optional<std::filesystem::path> keptAside;
  // The file is there and was left as it is (locked, on a full disk, read-only).
  bool leftAsItIs = false;
  bool operator==(const ArchiveProblem&) const = default;
};

class NightArchive {
 public:
  using Failure = NightArchiveFailure;

  // The archive's file name inside the application's data folder.
  static constexpr std::string_view fileName = "nights.sqlite";

  // Creates the file's folder, opens or creates the file and makes sure its
  // tables exist. Another process writing the file at the same moment is
  // waited for (up to five seconds) rather than failing at once.
  static Result<std::unique_ptr<NightArchive>, ArchiveError> open(const std::filesystem::path& file);

  // Moves a damaged archive out of the way, never deleting it: the file (and
  // SQLite's "-wal" and "-shm" files beside it) becomes
  // "<name>.damaged-<yyyyMMddTHHmmssZ>" (a counter added when that is taken).
  // Where the file went, or the file system's error.
  static Result<std::filesystem::path> keepAside(const std::filesystem::path& file, Instant now);

  ~NightArchive();
  NightArchive(const NightArchive&) = delete;
  NightArchive& operator=(const NightArchive&) = delete;

  // Writes every closed night of the reports (ongoing sessions are skipped)
  // in one transaction, replacing earlier copies of the same nights. At most
  // 20 holders and 20 requesters are kept per night. On failure nothing of
  // this call remains in the file.
  Result<void, Failure> store(const std::vector<NightReport>& reports, std::string_view appVersion);

  // Archived nights, newest first, at most `limit` (a negative limit reads
  // nothing), only of the given kind when one is given.
  Result<std::vector<ArchivedNight>, Failure> nights(std::optional<SleepKind> kind, int limit);

  // The baseline samples of the newest 400 archived nights, newest first, at
  // most `limit` of them.
  Result<std::vector<BaselineSample>, Failure> baselineSamples(int limit);

  // Keeps the kernel's counts of one sleep, replacing an earlier copy of the
  // same sleep (the same `slept`); all or nothing.
  Result<void, Failure> storeSleep(const SleepCounts& counts);
  // The sleeps that began from `from` to `to`, oldest first.
  Result<std::vector<SleepCounts>, Failure> sleeps(Instant from, Instant to);

 private:
  NightArchive() = default;

  Result<void, Failure> storeReport(const NightReport& report, std::string_view appVersion);
  Result<std::map<double, std::map<WakeCategory, int>>, Failure> readReasons();

  sqlite3* db_ = nullptr;
  std::mutex lock_;
};

}  // namespace snoozlet
