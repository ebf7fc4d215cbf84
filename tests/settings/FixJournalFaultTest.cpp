// The fix journal under faults: a save cut off at any byte (by the process dying, or by the write failing), a folder
// that cannot be written even by the superuser, and files that are no journal: foreign, far too large or full of noise.

#include "settings/FixJournal.h"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "TestSupport.h"

namespace snoozlet {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

constexpr Instant kDecember6 = 1796540700;  // 2026-12-06T07:05:00Z

FixJournal journalOf(int records) {
  FixJournal journal;
  for (int i = 0; i < records; ++i) {
    journal.record({{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "1", "0"},
                    {FixID::powerNapOff, "powernap", PowerScope::charger, "1", "0"}},
                   kDecember6 + i, i % 3 == 0);
  }
  return journal;
}

// Saves a copy of `journal`, as a launch before this one did.
void saveCopy(FixJournal journal, const fs::path& file) { ASSERT_TRUE(journal.save(file, kDecember6)); }

// Files in the folder other than the journal itself (temporary files left by a save).
std::vector<std::string> strayFiles(const fs::path& folder) {
  std::vector<std::string> out;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename() != "changes.json") out.push_back(entry.path().filename().string());
  return out;
}

TEST(FixJournalFaultTest, ASaveCutOffAtAnyByteLeavesTheOldOrTheNewFile) {
  const FixJournal before = journalOf(3);
  const FixJournal after = journalOf(400);
  const std::string newText = after.encode();
  for (const bool hadFile : {true, false}) {
    for (const rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{newText.size() - 1}, rlim_t{newText.size()}}) {
      for (const bool survive : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "old file " << hadFile << ", limit " << limit << ", survive " << survive);
        TempDir dir;
        const fs::path file = dir / "changes.json";
        if (hadFile) saveCopy(before, file);
        // A child whose file size limit is `limit` bytes saves: writing past it
        // kills the child (SIGXFSZ) or, when `survive` is set, makes the write fail.
        const pid_t pid = ::fork();
        if (pid == 0) {
          if (survive) ::signal(SIGXFSZ, SIG_IGN);
          const rlimit cap{limit, limit};
          ::setrlimit(RLIMIT_FSIZE, &cap);
          FixJournal copy = after;
          ::_exit(copy.save(file, kDecember6) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);

        if (limit >= newText.size()) {
          ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
          EXPECT_EQ(readFile(file), newText);
          EXPECT_TRUE(strayFiles(dir.path()).empty());
          continue;
        }
        if (survive) {
          ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
          EXPECT_TRUE(strayFiles(dir.path()).empty());
        } else {
          ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
        }
        // Either way the journal file is the old one, whole (it still decodes), or still absent.
        EXPECT_EQ(fs::exists(file), hadFile);
        EXPECT_EQ(FixJournal::load(file), hadFile ? before : FixJournal());

        // A leftover temporary file does not stand in the way of the next save.
        saveCopy(after, file);
        EXPECT_EQ(FixJournal::load(file), after);
      }
    }
  }
}

// Makes a folder unwritable for as long as it lives: with the immutable flag,
// which binds the superuser too, or with permissions for anyone else.
class UnwritableFolder {
 public:
  explicit UnwritableFolder(fs::path folder) : folder_(std::move(folder)), locked_(lock(true)) {}
  ~UnwritableFolder() {
    if (locked_) lock(false);
  }
  bool locked() const { return locked_; }

 private:
  bool lock(bool on) {
    if (::geteuid() != 0) {
      fs::permissions(folder_, on ? fs::perms::owner_read | fs::perms::owner_exec : fs::perms::owner_all);
      return true;
    }
    const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) ::close(fd);
    return done;
  }

  fs::path folder_;
  bool locked_;
};

TEST(FixJournalFaultTest, AFolderThatCannotBeWrittenReportsAndKeepsTheJournalInMemory) {
  // A folder of the process file system refuses new files whoever asks.
  FixJournal journal = journalOf(2);
  const FixJournal expected = journal;
  const Status inProc = journal.save("/proc/self/changes.json", kDecember6);
  ASSERT_FALSE(inProc);
  EXPECT_THAT(inProc.error().description(), ::testing::HasSubstr("/proc/self/changes.json"));

  // A folder of ours made read-only (immutable for the superuser).
  TempDir dir;
  const fs::path file = dir / "changes.json";
  saveCopy(journalOf(1), file);
  const std::string oldText = readFile(file);
  {
    UnwritableFolder lock(dir.path());
    if (!lock.locked()) GTEST_SKIP() << "this file system cannot make a folder read-only for the superuser";
    const Status status = journal.save(file, kDecember6);
    ASSERT_FALSE(status);
    EXPECT_THAT(status.error().description(), ::testing::HasSubstr(file.string()));
    EXPECT_EQ(readFile(file), oldText);
  }
  EXPECT_TRUE(strayFiles(dir.path()).empty());
  // Once the folder is writable again the same journal, kept whole in memory, saves.
  ASSERT_TRUE(journal.save(file, kDecember6));
  EXPECT_EQ(FixJournal::load(file), expected);
}

TEST(FixJournalFaultTest, ForeignHugeAndRandomFilesLoadEmpty) {
  TempDir dir;
  std::mt19937_64 random(11);
  const auto noise = [&random](std::size_t size) {
    std::string out(size, '\0');
    for (char& c : out) c = static_cast<char>(random());
    return out;
  };
  writeFile(dir / "empty.json", "");
  writeFile(dir / "plist.json", "<?xml version=\"1.0\"?><plist><dict/></plist>");
  writeFile(dir / "deep.json", std::string(4 << 20, '['));  // deep enough to exhaust a recursive parser's stack
  fs::create_directories(dir / "folder.json");
  writeFile(dir / "noise-50mb.json", noise(50 << 20));
  writeFile(dir / "noise-15mb.json", noise(15 << 20));
  // Tens of thousands of well-formed records, then a broken one: the whole
  // file must be parsed before it is found unreadable.
  std::string nearlyValid = R"({"records":[)";
  const std::string oneRecord =
      R"({"changes":[],"date":"2026-12-06T07:05:00Z","dryRun":false,"id":"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"},)";
  while (nearlyValid.size() + oneRecord.size() < (4 << 20)) nearlyValid += oneRecord;
  nearlyValid += R"({"changes":[]}]})";
  writeFile(dir / "nearly-valid.json", nearlyValid);

  for (const char* name : {"missing.json", "empty.json", "plist.json", "deep.json", "folder.json", "noise-50mb.json",
                           "noise-15mb.json", "nearly-valid.json"}) {
    const FixJournal loaded = FixJournal::load(dir / name);
    EXPECT_TRUE(loaded.records.empty()) << name;
    // Only something there that is not a journal is kept aside.
    const bool aside = std::string_view(name) != "missing.json" && std::string_view(name) != "empty.json";
    EXPECT_EQ(loaded.unreadableFile(), aside ? std::optional(dir / name) : std::nullopt) << name;
  }
}

}  // namespace
}  // namespace snoozlet
