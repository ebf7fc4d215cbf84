// FixJournal loading arbitrary bytes. Whatever loads must save and load back
// unchanged, and every command built from a loaded record (its changes, their
// undo, the journal's undo plan, a dry run) is refused or has the one safe
// shape.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "CommandCheck.h"
#include "FuzzCheck.h"
#include "settings/DryRunRunner.h"
#include "settings/FixJournal.h"
#include "settings/FixPlanner.h"

namespace {

using namespace snoozlet;

// One file, rewritten for every input, in a folder of this process: in
// memory (/dev/shm) where there is one, since a disk makes this target
// twenty times slower; removed when the process ends.
const std::filesystem::path& journalFile() {
  static const std::filesystem::path file = [] {
    std::error_code error;
    const char* base = std::getenv("TMPDIR");
    std::string parent = base != nullptr && *base != '\0' ? base : "/tmp";
    if (std::filesystem::is_directory("/dev/shm", error)) parent = "/dev/shm";
    std::string folder = parent + "/journal-fuzz-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) std::abort();
    static std::string made;
    made = folder;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(made, ignored);
    });
    return std::filesystem::path(folder) / "changes.json";
  }();
  return file;
}

void write(const std::filesystem::path& file, std::string_view contents) {
  std::FILE* out = std::fopen(file.c_str(), "wb");
  FUZZ_CHECK(out != nullptr);
  FUZZ_CHECK(std::fwrite(contents.data(), 1, contents.size(), out) == contents.size());
  FUZZ_CHECK(std::fclose(out) == 0);
}

void checkRuns(const FixPlan& plan) {
  FUZZ_CHECK(fuzz::everyBuilderIsSafe(plan));
  DryRunRunner runner;
  if (runner.run(plan).ok()) {
    FUZZ_CHECK(runner.scripts().size() == 1);
    FUZZ_CHECK(plan.empty() ? runner.scripts().front().empty() : fuzz::isSafeCommandText(runner.scripts().front()));
  } else {
    FUZZ_CHECK(runner.scripts().empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = fuzz::bytes(data, size);
  write(journalFile(), text);
  const FixJournal journal = FixJournal::load(journalFile());
  const auto decoded = FixJournal::decode(text);
  if (decoded) {
    FUZZ_CHECK(journal == *decoded);
    FUZZ_CHECK(!journal.unreadableFile());
  } else {
    FUZZ_CHECK(journal.records.empty());
  }

  // What was read is written back as it was read.
  const auto again = FixJournal::decode(journal.encode());
  FUZZ_CHECK(again.has_value() && *again == journal);

  for (const FixRecord& record : journal.records) {
    FUZZ_CHECK(record.id.size() == 36);
    FixPlan asRun;
    asRun.changes = record.changes;
    checkRuns(asRun);
    checkRuns(FixPlanner::undo(record.changes));
    if (const auto undo = journal.undoPlan(record.id)) checkRuns(*undo);
  }
  return 0;
}
