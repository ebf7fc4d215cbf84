#include "settings/FixJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <uuid/uuid.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <system_error>

#include "common/WriteAll.h"
#include "settings/FixPlanner.h"
#include "settings/InternetDate.h"
#include "settings/SystemFixes.h"

namespace snoozlet {

namespace {

namespace fs = std::filesystem;

// A journal gains one small record per user action; a file far larger than
// any real journal is treated as unreadable without being read (and is kept
// aside, not lost, by the next save).
constexpr off_t kMaxJournalBytes = 16 << 20;

enum class ReadOutcome { missing, unreadable, tooLarge, read };

std::string errnoText(int error) { return std::strerror(error); }

// Reads a regular file whole. Opening without blocking keeps a FIFO or a
// device placed at the path from hanging the caller.
ReadOutcome readSmallFile(const fs::path& file, std::string& contents) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? ReadOutcome::missing : ReadOutcome::unreadable;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    errno = error;
    return ReadOutcome::unreadable;
  }
  if (!S_ISREG(info.st_mode) || info.st_size > kMaxJournalBytes) {
    ::close(fd);
    return ReadOutcome::tooLarge;
  }
  contents.clear();
  contents.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      const int error = errno;
      ::close(fd);
      errno = error;
      return ReadOutcome::unreadable;
    }
    if (contents.size() + static_cast<std::size_t>(got) > static_cast<std::size_t>(kMaxJournalBytes)) {
      ::close(fd);
      return ReadOutcome::tooLarge;
    }
    if (got == 0) break;
    contents.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return ReadOutcome::read;
}

bool onlyWhiteSpace(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

bool samePath(const fs::path& a, const fs::path& b) {
  std::error_code ea, eb;
  const fs::path ca = fs::weakly_canonical(a, ea), cb = fs::weakly_canonical(b, eb);
  if (!ea && !eb) return ca == cb;
  return a.lexically_normal() == b.lexically_normal();
}

bool pathExists(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

Status failure(const fs::path& file, const std::string& what, const std::string& reason) {
  return Status::failure(Error{what + " " + file.string() + ": " + reason});
}

// Moves an unreadable journal to "<name>.unreadable-<stamp>" (with a counter
// when that name is taken), so the save that follows loses nothing.
Status keepAside(const fs::path& file, Instant now) {
  if (!pathExists(file)) return {};
  const std::string base = file.string() + ".unreadable-" + InternetDate::compact(now);
  fs::path aside = base;
  for (int n = 2; pathExists(aside); ++n) {
    if (n > 1000) return failure(file, "Could not keep the unreadable journal", "no free name beside it");
    aside = base + "-" + std::to_string(n);
  }
  if (::rename(file.c_str(), aside.c_str()) != 0) {
    return failure(file, "Could not keep the unreadable journal", errnoText(errno));
  }
  return {};
}

// Writes a temporary file beside the target, flushes it to disk and renames it
// over the target, so a reader sees either the old or the new journal whole.
Status writeAtomically(const fs::path& file, std::string_view data) {
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  std::string temporary = (folder / ("." + file.filename().string() + ".tmp-XXXXXX")).string();
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return failure(file, "Could not write", errnoText(errno));
  const bool written = writeAll(fd, data);
  int error = written ? 0 : errno;
  if (written && ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (!written || error != 0) {
    ::unlink(temporary.c_str());
    return failure(file, "Could not write", errnoText(error != 0 ? error : EIO));
  }
  if (::rename(temporary.c_str(), file.c_str()) != 0) {
    error = errno;
    ::unlink(temporary.c_str());
    return failure(file, "Could not replace", errnoText(error));
  }
  // Make the rename itself durable; failing here loses nothing already written.
  if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return {};
}

std::string newId() {
  uuid_t uuid;
  uuid_generate_random(uuid);
  char text[37];
  uuid_unparse_upper(uuid, text);
  return text;
}

}  // namespace

Instant FixJournal::currentTime() { return InternetDate::now(); }

FixJournal FixJournal::load(const fs::path& file) {
  FixJournal journal;
  std::string contents;
  switch (readSmallFile(file, contents)) {
    case ReadOutcome::missing: return journal;
    case ReadOutcome::unreadable:
      journal.problem_ = JournalProblem{file, JournalProblem::Kind::unreadable, errnoText(errno)};
      return journal;
    case ReadOutcome::tooLarge:
      journal.problem_ = JournalProblem{file, JournalProblem::Kind::notAJournal, {}};
      return journal;
    case ReadOutcome::read: break;
  }
  // An empty file holds nothing worth keeping.
  if (onlyWhiteSpace(contents)) return journal;
  if (auto decoded = decode(contents)) return std::move(*decoded);
  journal.problem_ = JournalProblem{file, JournalProblem::Kind::notAJournal, {}};
  return journal;
}

Status FixJournal::save(const fs::path& file, Instant now) {
  if (file.has_parent_path()) {
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (error) return failure(file.parent_path(), "Could not create the folder", error.message());
  }
  if (problem_ && samePath(problem_->file, file)) {
    if (Status kept = keepAside(file, now); !kept) return kept;
    problem_.reset();
  }
  return writeAtomically(file, encode());
}

FixRecord FixJournal::record(std::vector<PlannedChange> changes, Instant date, bool dryRun) {
  FixRecord added{newId(), date, std::move(changes), dryRun, std::nullopt, std::nullopt};
  records.push_back(added);
  return added;
}

void FixJournal::markUndone(std::string_view id, Instant date) {
  for (FixRecord& record : records) {
    if (record.id == id) {
      record.undoneAt = date;
      return;
    }
  }
}

std::string FixJournal::begin(std::vector<PlannedChange> changes, Instant date, bool dryRun,
                              std::vector<SystemChange> system) {
  FixRecord added = record(std::move(changes), date, dryRun);
  records.back().pending = FixRecord::Pending::change;
  records.back().system = std::move(system);
  return added.id;
}

bool FixJournal::beginUndo(std::string_view id) {
  for (FixRecord& record : records) {
    if (record.id == id && !record.undoneAt) {
      record.pending = FixRecord::Pending::undo;
      return true;
    }
  }
  return false;
}

void FixJournal::finish(std::string_view id, Instant date) {
  for (FixRecord& record : records) {
    if (record.id != id || !record.pending) continue;
    if (*record.pending == FixRecord::Pending::change) {
      record.date = date;
    } else {
      record.undoneAt = date;
    }
    record.pending.reset();
    return;
  }
}

void FixJournal::abandon(std::string_view id) {
  for (auto it = records.begin(); it != records.end(); ++it) {
    if (it->id != id || !it->pending) continue;
    if (*it->pending == FixRecord::Pending::change) {
      records.erase(it);
    } else {
      it->pending.reset();
    }
    return;
  }
}

namespace {

// For each change of a record: whether the value it looks at now holds its
// target (a change) or its previous value (an undo).
struct Reading {
  // Which records this reading decides.
  bool system = false;
  std::function<std::vector<bool>(const FixRecord&, bool undo)> holds;
};

bool settleRecords(std::vector<FixRecord>& records, const Reading& reading, Instant date) {
  bool changed = false;
  for (auto it = records.begin(); it != records.end();) {
    const bool laptopRecord = !it->system.empty();
    if (!it->pending || laptopRecord != reading.system) {
      ++it;
      continue;
    }
    changed = true;
    if (*it->pending == FixRecord::Pending::undo) {
      // Back in force only when every value is the one the undo restores.
      const std::vector<bool> held = reading.holds(*it, true);
      if (std::all_of(held.begin(), held.end(), [](bool h) { return h; })) it->undoneAt = date;
      it->pending.reset();
      ++it;
      continue;
    }
    // A dry run changed nothing, so there is nothing to read back.
    if (!it->dryRun) {
      const std::vector<bool> held = reading.holds(*it, false);
      std::size_t i = 0;
      if (reading.system) {
        std::erase_if(it->system, [&](const SystemChange&) { return !held[i++]; });
      } else {
        std::erase_if(it->changes, [&](const PlannedChange&) { return !held[i++]; });
      }
    }
    if (it->changes.empty() && it->system.empty()) {
      it = records.erase(it);
    } else {
      it->pending.reset();
      ++it;
    }
  }
  return changed;
}

}  // namespace

bool FixJournal::settle(const PowerSettings& settings, Instant date) {
  return settleRecords(records,
                       {false,
                        [&](const FixRecord& record, bool undo) {
                          const FixPlan plan = undo ? FixPlanner::undo(record.changes) : FixPlan{record.changes, {}};
                          const auto applied = FixPlanner::stillApplied(plan, settings);
                          std::vector<bool> held;
                          for (const PlannedChange& change : record.changes) {
                            const auto found = applied.find(change.key);
                            held.push_back(found != applied.end() && found->second);
                          }
                          return held;
                        }},
                       date);
}

bool FixJournal::settle(const SystemValues& values, Instant date) {
  return settleRecords(
      records,
      {true,
       [&](const FixRecord& record, bool undo) {
         std::vector<bool> held;
         for (const SystemChange& change : record.system) {
           const auto found = values.find(change.file);
           held.push_back(found != values.end() && found->second == (undo ? change.previous : change.target));
         }
         return held;
       }},
      date);
}

bool FixJournal::hasPending() const {
  return std::any_of(records.begin(), records.end(), [](const FixRecord& record) { return record.pending; });
}

bool FixJournal::hasPending(bool system) const {
  return std::any_of(records.begin(), records.end(),
                     [&](const FixRecord& record) { return record.pending && !record.system.empty() == system; });
}

std::optional<FixPlan> FixJournal::undoPlan(std::string_view id) const {
  for (const FixRecord& record : records) {
    if (record.id != id || record.undoneAt) continue;
    FixPlan plan = FixPlanner::undo(record.changes);
    plan.system = SystemFixes::undo(record.system);
    return plan;
  }
  return std::nullopt;
}

}  // namespace snoozlet
