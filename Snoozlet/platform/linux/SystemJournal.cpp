#include "platform/linux/SystemJournal.h"

#include "platform/linux/SystemRoot.h"

#include <fcntl.h>
#include <grp.h>
#if SNOOZLET_SYSTEMD_JOURNAL
#include <systemd/sd-journal.h>
#endif
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <system_error>

namespace snoozlet {

namespace {

#if SNOOZLET_SYSTEMD_JOURNAL
struct JournalCloser {
  void operator()(sd_journal* j) const { sd_journal_close(j); }
};
using Journal = std::unique_ptr<sd_journal, JournalCloser>;

Status failure(std::string message) { return Status::failure({std::move(message)}); }

std::string systemError(int negativeErrno) { return std::generic_category().message(-negativeErrno); }

// The journal files at `where` (a file, or a folder and the machine folders
// in it) and how many of them this process may not open: sd-journal leaves
// those out without a word.
struct FileCount {
  int total = 0;
  int unreadable = 0;
  std::string reason;
};

FileCount countFiles(const std::filesystem::path& where) {
  FileCount count;
  const auto look = [&](const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    if (!name.ends_with(".journal") && !name.ends_with(".journal~")) return;
    ++count.total;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd >= 0) {
      ::close(fd);
    } else {
      ++count.unreadable;
      count.reason = std::strerror(errno);
    }
  };
  std::error_code error;
  if (!std::filesystem::is_directory(where, error)) {
    look(where);
    return count;
  }
  for (const auto& item : std::filesystem::directory_iterator(where, error)) {
    if (item.is_directory(error)) {
      for (const auto& inner : std::filesystem::directory_iterator(item.path(), error)) look(inner.path());
    } else {
      look(item.path());
    }
  }
  return count;
}

// Opens the system journal, or a folder or file of journal files.
Result<Journal> open(const std::optional<std::filesystem::path>& where) {
  sd_journal* raw = nullptr;
  int r = 0;
  if (!where) {
    r = sd_journal_open(&raw, SD_JOURNAL_LOCAL_ONLY | SD_JOURNAL_SYSTEM);
  } else {
    std::error_code error;
    const auto status = std::filesystem::status(*where, error);
    if (error || !std::filesystem::exists(status)) {
      return Result<Journal>::failure({"no journal at " + where->string()});
    }
    if (std::filesystem::is_directory(status)) {
      r = sd_journal_open_directory(&raw, where->c_str(), 0);
    } else {
      const std::string file = where->string();
      const char* files[] = {file.c_str(), nullptr};
      r = sd_journal_open_files(&raw, files, 0);
    }
  }
  if (r < 0) {
    const std::string what = where ? where->string() : std::string("the system journal");
    return Result<Journal>::failure({"cannot open " + what + ": " + systemError(r)});
  }
  Journal journal(raw);
  // systemd-sleep's two entries, or the kernel's lines, or logind's.
  sd_journal_add_match(raw, "MESSAGE_ID=6bbd95ee977941e497c48be27c254128", 0);
  sd_journal_add_match(raw, "MESSAGE_ID=8811e6df2a8e40f58a94cea26f8ebf14", 0);
  sd_journal_add_disjunction(raw);
  sd_journal_add_match(raw, "_TRANSPORT=kernel", 0);
  sd_journal_add_disjunction(raw);
  sd_journal_add_match(raw, "SYSLOG_IDENTIFIER=systemd-logind", 0);
  return Result<Journal>(std::move(journal));
}

std::string field(sd_journal* j, const char* name) {
  const void* data = nullptr;
  size_t length = 0;
  if (sd_journal_get_data(j, name, &data, &length) < 0) return {};
  const std::size_t prefix = std::strlen(name) + 1;  // "NAME="
  if (length < prefix) return {};
  return std::string(static_cast<const char*>(data) + prefix, length - prefix);
}

// _PID as a number; 0 when absent or not a number.
int pidOf(const std::string& text) {
  int pid = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
  return error == std::errc() && end == text.data() + text.size() && pid > 0 ? pid : 0;
}

#endif

bool inGroup(const char* name) {
  const group* g = ::getgrnam(name);
  if (g == nullptr) return false;
  if (::getegid() == g->gr_gid) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  if (::getgroups(count, groups.data()) < 0) return false;
  return std::find(groups.begin(), groups.end(), g->gr_gid) != groups.end();
}

}  // namespace

#if SNOOZLET_SYSTEMD_JOURNAL
Status JournalReader::read(const JournalPaths& paths) {
  auto battery = readUPowerHistory(paths.upower);
  if (!battery) return Status::failure(battery.error());
  FileCount files;
  if (paths.journal) {
    files = countFiles(*paths.journal);
    // Files there, and none this user may read: say who may, rather than find no night.
    if (files.total > 0 && files.unreadable == files.total) {
      if (const auto problem = journalPermissionProblem()) return failure(*problem);
      return failure("cannot read the journal files at " + paths.journal->string() + ": " + files.reason);
    }
  }
  auto opened = open(paths.journal);
  if (!opened) return Status::failure(opened.error());
  sd_journal* j = opened->get();

  JournalNights nights = nights_;
  std::optional<std::string> cursor = cursor_;
  int r = 0;
  if (cursor) {
    r = sd_journal_seek_cursor(j, cursor->c_str());
    // The entry under the cursor was read last time; one the journal no
    // longer holds (rotated away) leaves the nearest entry, which is new.
    if (r >= 0 && (r = sd_journal_next(j)) > 0 && sd_journal_test_cursor(j, cursor->c_str()) <= 0) {
      r = sd_journal_previous(j);
    }
  } else {
    r = sd_journal_seek_head(j);
  }
  if (r < 0) return failure("cannot read the journal: " + systemError(r));
  bool readAny = false;
  while ((r = sd_journal_next(j)) > 0) {
    JournalEntry entry;
    std::uint64_t usec = 0;
    if (sd_journal_get_realtime_usec(j, &usec) < 0) continue;
    entry.date = static_cast<Instant>(usec) / 1e6;
    entry.message = field(j, "MESSAGE");
    entry.messageId = field(j, "MESSAGE_ID");
    entry.sleep = field(j, "SLEEP");
    entry.identifier = field(j, "SYSLOG_IDENTIFIER");
    entry.pid = pidOf(field(j, "_PID"));
    entry.kernel = field(j, "_TRANSPORT") == "kernel";
    entry.bootId = field(j, "_BOOT_ID");
    nights.add(entry);
    readAny = true;
  }
  if (r < 0) return failure("cannot read the journal: " + systemError(r));
  // At the end the read position stays on the last entry read.
  char* here = nullptr;
  if (readAny && sd_journal_get_cursor(j, &here) >= 0) {
    cursor = std::string(here);
    std::free(here);
  }
  nights_ = std::move(nights);
  cursor_ = std::move(cursor);
  battery_ = std::move(battery.value());
  unreadableFiles_ = files.unreadable;
  journalFiles_ = files.total;
  return Status();
}
#else
Status JournalReader::read(const JournalPaths&) {
  return Status::failure(
      {"this Snoozlet was built without the systemd journal (libsystemd), so it reads no Linux "
       "laptop's nights"});
}
#endif

Result<std::vector<BatteryPoint>> readUPowerHistory(const std::optional<std::filesystem::path>& path) {
  using Points = std::vector<BatteryPoint>;
  std::error_code error;
  std::filesystem::path file;
  const std::filesystem::path where = path.value_or(SystemRoot::fromEnvironment()("/var/lib/upower"));
  if (std::filesystem::is_directory(where, error)) {
    std::uintmax_t largest = 0;
    for (const auto& item : std::filesystem::directory_iterator(where, error)) {
      const std::string name = item.path().filename().string();
      if (name.rfind("history-charge-", 0) != 0 || name.size() < 4 || name.substr(name.size() - 4) != ".dat") continue;
      const std::uintmax_t size = item.file_size(error);
      if (!error && (file.empty() || size > largest)) {
        file = item.path();
        largest = size;
      }
    }
    if (file.empty()) return Result<Points>(Points{});
  } else if (std::filesystem::exists(where, error)) {
    file = where;
  } else {
    if (!path) return Result<Points>(Points{});
    return Result<Points>::failure({"no UPower history at " + where.string()});
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (!path) return Result<Points>(Points{});
    return Result<Points>::failure({"cannot read " + file.string()});
  }
  std::ostringstream text;
  text << in.rdbuf();
  return Result<Points>(parseUPowerHistory(text.str()));
}

std::optional<std::string> journalPermissionProblem() {
  if (::geteuid() == 0 || inGroup("systemd-journal") || inGroup("adm") || inGroup("wheel")) return std::nullopt;
  return std::string(
      "Snoozlet can’t read the system journal: your account isn’t in the systemd-journal group. Add it with "
      "“sudo usermod -aG systemd-journal $USER”, then log out and back in.");
}

bool systemJournalHasSleep() {
#if !SNOOZLET_SYSTEMD_JOURNAL
  return false;
#else
  auto opened = open(std::nullopt);
  if (!opened) return false;
  sd_journal* j = opened->get();
  sd_journal_flush_matches(j);
  sd_journal_add_match(j, "MESSAGE_ID=6bbd95ee977941e497c48be27c254128", 0);
  return sd_journal_seek_head(j) >= 0 && sd_journal_next(j) > 0;
#endif
}

}  // namespace snoozlet
