// The night archive under faults: a process that dies in the middle of a store, two processes storing at once, and
// files that are not (or no longer) databases. Child processes are forked so that a death really is a death.

#include "ArchiveSupport.h"
#include "TestSupport.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

namespace snoozlet {
namespace {

using namespace testing;
constexpr std::string_view kVersion = "1.0 (1)";

std::vector<NightReport> nights(int firstDay, int count, int holders = 3) {
  std::vector<NightReport> out;
  for (int day = firstDay; day < firstDay + count; ++day) out.push_back(busyNight(day * 24.0 - 2, holders));
  return out;
}

// The starts of every archived night, newest first.
std::vector<double> archivedStarts(const std::filesystem::path& file) {
  std::vector<double> starts;
  const auto read = openArchive(file)->nights(std::nullopt, 100000);
  for (const ArchivedNight& n : read.value()) starts.push_back(n.start);
  return starts;
}

std::vector<double> startsOf(const std::vector<NightReport>& reports) {
  std::vector<double> starts;
  for (const NightReport& r : reports) starts.push_back(r.session.start);
  std::sort(starts.rbegin(), starts.rend());
  return starts;
}

std::string integrity(const std::filesystem::path& file) { return Sql(file).column("PRAGMA integrity_check").at(0); }

// Kills the process with SIGKILL when the given number of night rows has been written: installed in a child on every
// connection it opens, so the archive dies inside its own transaction, between two statements of the store.
int nightRowsLeft = 0;

void killAfterNightRows(void*, int operation, const char*, const char* table, sqlite3_int64) {
  if (operation == SQLITE_INSERT && std::strcmp(table, "nights") == 0 && --nightRowsLeft == 0) ::raise(SIGKILL);
}

int installKiller(sqlite3* db, char**, const sqlite3_api_routines*) {
  sqlite3_update_hook(db, killAfterNightRows, nullptr);
  return SQLITE_OK;
}

TEST(NightArchiveFaultTest, ADeathInTheMiddleOfAStoreLeavesTheLastCompletedStore) {
  // Many nights with many child rows, so that the dying store has already
  // spilled uncommitted pages to the write-ahead log when it dies.
  for (const int rowsBeforeDeath : {1, 40, 700}) {
    SCOPED_TRACE(rowsBeforeDeath);
    TempDir dir;
    const auto file = dir / "nights.sqlite";
    const std::vector<NightReport> first = nights(0, 30);
    ASSERT_TRUE(openArchive(file)->store(first, kVersion).ok());
    const long long holderRows = Sql(file).count("night_holders");
    ASSERT_GT(holderRows, 0);

    const pid_t pid = ::fork();
    if (pid == 0) {
      // The child never returns into the test framework, even on an exception.
      try {
        nightRowsLeft = rowsBeforeDeath;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(installKiller));
        // Replaces the first store's nights and adds 770 more: if the death let
        // any of it through, the nights or their child rows would show it.
        if (auto archive = NightArchive::open(file); archive.ok())
          (void)(*archive)->store(nights(0, 800, 20), kVersion);
      } catch (...) {
      }
      ::_exit(3);  // not reached: the store dies first
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child finished with " << status;
    ASSERT_EQ(WTERMSIG(status), SIGKILL);

    EXPECT_EQ(integrity(file), "ok");
    EXPECT_EQ(archivedStarts(file), startsOf(first));
    // The interrupted store wrote 20 holders a night; the surviving nights keep their own.
    EXPECT_EQ(Sql(file).count("night_holders"), holderRows);
    auto archive = openArchive(file);
    ASSERT_TRUE(archive->store(nights(30, 2), kVersion).ok());
    EXPECT_EQ(archivedStarts(file).size(), first.size() + 2);
  }
}

TEST(NightArchiveFaultTest, TwoProcessesStoringAtOnceBothFinishAndTheFileStaysWhole) {
  TempDir dir;
  const auto file = dir / "nights.sqlite";
  ASSERT_TRUE(NightArchive::open(file).ok());

  // Both children wait until the parent closes the pipe, then store at once.
  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  constexpr int kStores = 15, kNightsPerStore = 6;
  // Exit status: the number of failed stores; 100 for a failure whose text is
  // not a clear SQLite message, 101 when opening failed.
  const auto writer = [&](int firstDay) {
    ::close(gate[1]);
    char byte;
    while (::read(gate[0], &byte, 1) > 0) {
    }
    auto archive = NightArchive::open(file);
    if (!archive.ok()) return 101;
    int failed = 0;
    for (int i = 0; i < kStores; ++i) {
      const auto stored = (*archive)->store(nights(firstDay + i * kNightsPerStore, kNightsPerStore, 10), kVersion);
      if (stored.ok()) continue;
      if (stored.error().description().rfind("SQLite: ", 0) != 0) return 100;
      ++failed;
    }
    return failed;
  };
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) ::_exit(writer(c * 1000));
  }
  ::close(gate[0]);
  ::close(gate[1]);

  int stored = 0;
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    const int failed = WEXITSTATUS(status);
    ASSERT_LE(failed, kStores) << "a store failed without a clear SQLite message (100) or the open failed (101)";
    stored += (kStores - failed) * kNightsPerStore;
  }
  // Waiting for the other writer is the expected outcome; at most one of the two may see a busy error.
  EXPECT_GE(stored, kStores * kNightsPerStore);
  EXPECT_EQ(integrity(file), "ok");
  EXPECT_EQ(archivedStarts(file).size(), static_cast<std::size_t>(stored));
}

TEST(NightArchiveFaultTest, DamagedFilesGiveClearErrorsNeverACrash) {
  TempDir dir;
  const auto good = dir / "good.sqlite";
  {
    auto archive = NightArchive::open(good);
    ASSERT_TRUE(archive.ok());
    ASSERT_TRUE((*archive)->store(nights(0, 200, 10), kVersion).ok());
  }
  const std::string original = testing::readFile(good);
  ASSERT_GT(original.size(), 8192u);

  const auto expectClear = [](const std::string& description) {
    EXPECT_EQ(description.rfind("SQLite: ", 0), 0u) << description;
  };
  // A text file, an empty header, a cut-off file, and pages overwritten with noise.
  std::vector<std::pair<std::string, std::string>> damaged{
      {"text", "nights, one per line\n"},
      {"header-only", original.substr(0, 100)},
      {"cut", original.substr(0, original.size() / 2)},
  };
  std::string noisy = original;
  for (std::size_t i = 4096; i < noisy.size(); i += 7) noisy[i] = static_cast<char>(i * 31);
  damaged.emplace_back("noise", noisy);
  std::string badHeader = original;
  badHeader.replace(16, 2, "\x00\x01", 2);  // page size 1: not a valid database
  damaged.emplace_back("page-size", badHeader);

  for (const auto& [name, contents] : damaged) {
    SCOPED_TRACE(name);
    const auto file = dir / (name + ".sqlite");
    testing::writeFile(file, contents);
    auto archive = NightArchive::open(file);
    if (!archive.ok()) {
      expectClear(archive.error().description());
      continue;
    }
    if (auto read = (*archive)->nights(std::nullopt, 1000); !read.ok()) expectClear(read.error().description());
    if (auto samples = (*archive)->baselineSamples(30); !samples.ok()) expectClear(samples.error().description());
    if (auto stored = (*archive)->store(nights(500, 3), kVersion); !stored.ok())
      expectClear(stored.error().description());
  }
  // The text file in particular is named for what it is.
  const auto text = NightArchive::open(dir / "text.sqlite");
  ASSERT_FALSE(text.ok());
  EXPECT_EQ(text.error().description(), "SQLite: file is not a database");
}

}  // namespace
}  // namespace snoozlet
