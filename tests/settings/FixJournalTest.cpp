#include "settings/FixJournal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace snoozlet {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

constexpr Instant kDecember6 = 1796540700;  // 2026-12-06T07:05:00Z
const PlannedChange kWomp{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "1", "0"};
const PlannedChange kNap{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"};

constexpr std::string_view kGolden = R"({
  "records": [
    {
      "changes": [
        {
          "fix": "powerNapOff",
          "key": "powernap",
          "previous": "1",
          "scope": "-b",
          "target": "0"
        }
      ],
      "date": "2026-12-06T07:05:00Z",
      "dryRun": false,
      "id": "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0",
      "undoneAt": "2026-12-06T08:05:00Z"
    },
    {
      "changes": [],
      "date": "2026-12-06T07:05:00Z",
      "dryRun": true,
      "id": "00000000-0000-4000-8000-000000000001"
    }
  ]
}
)";

std::string record(std::string_view changes, std::string_view extra = "") {
  return std::string(R"({"records":[{"changes":)") + std::string(changes) +
         R"(,"date":"2026-12-06T07:05:00Z","dryRun":false,"id":"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0")" +
         std::string(extra) + "}]}";
}

std::string change(std::string_view key, std::string_view target, std::string_view fix = "wakeForNetworkOff",
                   std::string_view scope = "-b", std::string_view previous = "1") {
  return R"([{"fix":")" + std::string(fix) + R"(","key":")" + std::string(key) + R"(","previous":")" +
         std::string(previous) + R"(","scope":")" + std::string(scope) + R"(","target":")" + std::string(target) +
         "\"}]";
}

TEST(FixJournalTest, EncodesSortedPrettyJson) {
  FixJournal journal;
  journal.records = {{"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0", kDecember6, {kNap}, false, kDecember6 + 3600},
                     {"00000000-0000-4000-8000-000000000001", kDecember6, {}, true, std::nullopt}};
  EXPECT_EQ(journal.encode(), kGolden);
  EXPECT_EQ(FixJournal::decode(kGolden), journal);
  EXPECT_FALSE(journal.records[0].isActive());
  EXPECT_FALSE(journal.records[1].isActive());
}

TEST(FixJournalTest, DecodeAcceptsZonesLowerCaseIdsAndNullUndone) {
  const auto decoded =
      FixJournal::decode(R"({"extra":1,"records":[{"changes":[],"date":"2026-12-06T10:05:00+03:00","dryRun":false,)"
                         R"("id":"0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0","undoneAt":null}]})");
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->records[0].date, kDecember6);
  EXPECT_EQ(decoded->records[0].id, "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0");
  EXPECT_FALSE(decoded->records[0].undoneAt);
  EXPECT_TRUE(decoded->records[0].isActive());
  EXPECT_EQ(decoded->encode().find("undoneAt"), std::string::npos);
  EXPECT_TRUE(FixJournal::decode(R"({"records":[]})"));
  // Brackets inside a string, after an escaped quote, are no nesting.
  EXPECT_TRUE(FixJournal::decode(R"({"note":"\")" + std::string(40, '[') + R"(","records":[]})"));
}

TEST(FixJournalTest, OneMalformedRecordSpoilsTheFile) {
  const std::string cases[] = {
      R"({"records":[{"changes":[],"date":"2026-12-06T07:05:00Z","id":"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"}]})",
      record("[]", R"(,"undoneAt":"2026-12-06T07:05:00.250Z")"),
      record("[]", R"(,"undoneAt":7)"),
      R"({"records":[{"changes":[],"date":"2026-12-06T07:05:00.5Z","dryRun":false,)"
      R"("id":"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"}]})",
      R"({"records":[{"changes":[],"date":"2026-12-06T07:05:00Z","dryRun":"false",)"
      R"("id":"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"}]})",
      R"({"records":[{"changes":[],"date":"2026-12-06T07:05:00Z","dryRun":false,"id":"not-a-uuid"}]})",
      R"({"records":[{"changes":[],"date":"2026-12-06T07:05:00Z","dryRun":false,)"
      R"("id":"{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}"}]})",
      record(change("womp", "0", "sleepOff")),
      record(change("womp", "0", "wakeForNetworkOff", "-x")),
      record(R"([{"fix":"powerNapOff","key":"powernap","scope":"-b","target":"0"}])"),
      record(R"([{"fix":"powerNapOff","key":"powernap","previous":1,"scope":"-b","target":"0"}])"),
      record(R"({"fix":"powerNapOff"})"),
      record("[[]]"),
      R"({"records":{}})",
      R"({"record":[]})",
      R"([])",
      R"("records")",
      "{\"records\":[]",
      "{\"records\":[]} trailing",
      // A date that reads, but outside the years the journal can write back.
      R"({"records":[{"changes":[],"date":"0000-01-01T00:00:00+01:00","dryRun":false,)"
      R"("id":"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"}]})",
  };
  for (const std::string& text : cases) EXPECT_FALSE(FixJournal::decode(text)) << text;
  EXPECT_TRUE(FixJournal::decode(record(change("womp", "0"))));
}

TEST(FixJournalTest, RecordMarkUndoneAndUndoPlan) {
  FixJournal journal;
  const FixRecord first = journal.record({kWomp, kNap}, kDecember6, false);
  const FixRecord second = journal.record({kWomp, kNap}, kDecember6 + 1, true);
  ASSERT_EQ(journal.records.size(), 2u);
  EXPECT_NE(first.id, second.id);
  EXPECT_EQ(journal.records[0], first);
  EXPECT_EQ(journal.records[1], second);
  EXPECT_EQ(first.id.size(), 36u);
  EXPECT_EQ(first.id.find_first_of("abcdef"), std::string::npos);
  EXPECT_TRUE(first.isActive());
  EXPECT_FALSE(second.isActive());

  const auto undo = journal.undoPlan(first.id);
  ASSERT_TRUE(undo);
  EXPECT_THAT(undo->changes,
              ::testing::ElementsAre(PlannedChange{FixID::powerNapOff, "powernap", PowerScope::battery, "0", "1"},
                                     PlannedChange{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "0", "1"}));
  EXPECT_TRUE(journal.undoPlan(second.id));  // dry-run records are not excluded
  EXPECT_FALSE(journal.undoPlan("00000000-0000-0000-0000-000000000000"));

  const FixJournal before = journal;
  journal.markUndone("00000000-0000-0000-0000-000000000000", kDecember6);
  EXPECT_EQ(journal, before);
  journal.markUndone(first.id, kDecember6 + 60);
  EXPECT_EQ(journal.records[0].undoneAt, kDecember6 + 60);
  EXPECT_FALSE(journal.undoPlan(first.id));
  EXPECT_FALSE(journal.records[0].isActive());
}

TEST(FixJournalTest, SaveAndLoadRoundTripCreatingTheFolder) {
  TempDir dir;
  const fs::path file = dir / "Application Support/Snoozlet/changes.json";
  FixJournal journal;
  journal.record({kWomp}, kDecember6, false);
  ASSERT_TRUE(journal.save(file));
  EXPECT_EQ(FixJournal::load(file), journal);
  EXPECT_FALSE(FixJournal::load(file).unreadableFile());
  // Nothing but the journal is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1);

  journal.markUndone(journal.records[0].id, kDecember6 + 5);
  ASSERT_TRUE(journal.save(file));
  EXPECT_THAT(readFile(file), ::testing::HasSubstr("\"undoneAt\": \"2026-12-06T07:05:05Z\""));
}

TEST(FixJournalTest, MissingEmptyOrForeignFilesLoadEmpty) {
  TempDir dir;
  EXPECT_TRUE(FixJournal::load(dir / "missing.json").records.empty());
  EXPECT_FALSE(FixJournal::load(dir / "missing.json").unreadableFile());
  writeFile(dir / "empty.json", "");
  EXPECT_TRUE(FixJournal::load(dir / "empty.json").records.empty());
  EXPECT_FALSE(FixJournal::load(dir / "empty.json").unreadableFile());
  writeFile(dir / "plist.json", "<?xml version=\"1.0\"?><plist><dict/></plist>");
  EXPECT_TRUE(FixJournal::load(dir / "plist.json").records.empty());
  EXPECT_EQ(FixJournal::load(dir / "plist.json").unreadableFile(), dir / "plist.json");
  fs::create_directories(dir / "folder.json");
  EXPECT_TRUE(FixJournal::load(dir / "folder.json").records.empty());
  // Nesting deep enough to exhaust a recursive parser's stack.
  writeFile(dir / "deep.json", std::string(4 << 20, '['));
  EXPECT_TRUE(FixJournal::load(dir / "deep.json").records.empty());
}

TEST(FixJournalTest, UnreadableFileIsKeptAsideBeforeTheNextSave) {
  TempDir dir;
  const fs::path file = dir / "changes.json";
  const std::string damaged = record(change("womp", "0", "someFutureFix"));
  writeFile(file, damaged);
  FixJournal journal = FixJournal::load(file);
  ASSERT_TRUE(journal.records.empty());
  journal.record({kWomp}, kDecember6, false);
  ASSERT_TRUE(journal.save(file, kDecember6));
  EXPECT_EQ(readFile(dir / "changes.json.unreadable-20261206T070500Z"), damaged);
  EXPECT_EQ(FixJournal::load(file), journal);
  EXPECT_FALSE(journal.unreadableFile());

  // The next save just replaces the (now readable) journal.
  ASSERT_TRUE(journal.save(file, kDecember6));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);

  // A second unreadable file in the same second gets its own name.
  writeFile(file, "garbage");
  FixJournal again = FixJournal::load(file);
  ASSERT_TRUE(again.save(file, kDecember6));
  EXPECT_EQ(readFile(dir / "changes.json.unreadable-20261206T070500Z-2"), "garbage");
  EXPECT_EQ(readFile(dir / "changes.json.unreadable-20261206T070500Z"), damaged);
}

TEST(FixJournalTest, SaveFailuresAreReportedWithThePath) {
  TempDir dir;
  writeFile(dir / "blocker", "a file where a folder should be");
  FixJournal journal;
  const Status status = journal.save(dir / "blocker/Snoozlet/changes.json");
  ASSERT_FALSE(status);
  EXPECT_THAT(status.error().description(), ::testing::HasSubstr((dir / "blocker/Snoozlet").string()));

  fs::create_directories(dir / "changes.json");
  fs::create_directories(dir / "changes.json/inside");
  const Status overDirectory = journal.save(dir / "changes.json");
  ASSERT_FALSE(overDirectory);
  EXPECT_THAT(overDirectory.error().description(), ::testing::HasSubstr("changes.json"));
}

}  // namespace
}  // namespace snoozlet
