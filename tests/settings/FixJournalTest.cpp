#include "settings/FixJournal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestSupport.h"

namespace snoozlet {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

constexpr Instant kDecember6 = 1796540700;  // 2026-12-06T07:05:00Z
constexpr const char* kId = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0";
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
      "dryRun": true,
      "id": "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0",
      "undoneAt": "2026-12-06T08:05:00Z"
    }
  ]
}
)";

json validJournal() {
  return {{"records",
           {{{"changes",
              {{{"fix", "wakeForNetworkOff"}, {"key", "womp"}, {"previous", "1"}, {"scope", "-b"}, {"target", "0"}}}},
             {"date", "2026-12-06T07:05:00Z"},
             {"dryRun", false},
             {"id", kId}}}}};
}

TEST(FixJournalTest, EncodesSortedPrettyJsonAndDecodesItBack) {
  FixJournal journal;
  journal.records = {{kId, kDecember6, {kNap}, true, kDecember6 + 3600}};
  EXPECT_EQ(journal.encode(), kGolden);
  EXPECT_EQ(FixJournal::decode(kGolden), journal);
  // Zones, lower-case ids, a null undo date and unknown keys are read too.
  json lenient = validJournal();
  lenient["records"][0]["date"] = "2026-12-06T10:05:00+03:00";
  lenient["records"][0]["id"] = "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0";
  lenient["records"][0]["undoneAt"] = nullptr;
  // Brackets inside a string, after an escaped quote, are no nesting.
  lenient["note"] = "\"" + std::string(40, '[');
  const auto decoded = FixJournal::decode(lenient.dump());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->records[0], (FixRecord{kId, kDecember6, {kWomp}, false, std::nullopt}));
  EXPECT_EQ(decoded->encode().find("undoneAt"), std::string::npos);
}

TEST(FixJournalTest, OneMalformedRecordSpoilsTheFile) {
  const std::pair<const char*, json> spoilers[] = {
      {"/records/0/dryRun", json::value_t::discarded}, {"/records/0/dryRun", "false"},
      {"/records/0/undoneAt", "2026-12-06T07:05:00.250Z"}, {"/records/0/undoneAt", 7},
      {"/records/0/date", "2026-12-06T07:05:00.5Z"},
      {"/records/0/date", "0000-01-01T00:00:00+01:00"},  // reads, but the journal could not write it back
      {"/records/0/id", "not-a-uuid"}, {"/records/0/id", "{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}"},
      {"/records/0/changes/0/fix", "sleepOff"}, {"/records/0/changes/0/scope", "-x"},
      {"/records/0/changes/0/previous", json::value_t::discarded}, {"/records/0/changes/0/previous", 1},
      {"/records/0/changes", json::object({{"fix", "powerNapOff"}})},
      {"/records/0/changes", json::array({json::array()})}, {"/records", json::object()},
  };
  EXPECT_TRUE(FixJournal::decode(validJournal().dump()));
  for (const auto& [pointer, value] : spoilers) {
    json spoiled = validJournal();
    if (value.is_discarded()) {
      spoiled.at(json::json_pointer(pointer).parent_pointer()).erase(json::json_pointer(pointer).back());
    } else {
      spoiled[json::json_pointer(pointer)] = value;
    }
    EXPECT_FALSE(FixJournal::decode(spoiled.dump())) << spoiled.dump();
  }
  for (const char* text : {R"({"record":[]})", "[]", R"("records")", R"({"records":[])", R"({"records":[]} x)"})
    EXPECT_FALSE(FixJournal::decode(text)) << text;
}

TEST(FixJournalTest, RecordMarkUndoneAndUndoPlan) {
  FixJournal journal;
  const FixRecord first = journal.record({kWomp, kNap}, kDecember6, false);
  const FixRecord second = journal.record({kWomp, kNap}, kDecember6 + 1, true);
  EXPECT_EQ(journal.records, (std::vector<FixRecord>{first, second}));
  EXPECT_NE(first.id, second.id);
  EXPECT_THAT(first.id, ::testing::MatchesRegex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}"));
  EXPECT_TRUE(first.isActive());
  EXPECT_FALSE(second.isActive());

  const auto undo = journal.undoPlan(first.id);
  ASSERT_TRUE(undo);
  // The last change first, its values swapped (FixPlannerTest pins the whole reversal).
  EXPECT_EQ(undo->changes.at(0), (PlannedChange{FixID::powerNapOff, "powernap", PowerScope::battery, "0", "1"}));
  EXPECT_TRUE(journal.undoPlan(second.id));  // dry-run records are not excluded
  EXPECT_FALSE(journal.undoPlan("00000000-0000-0000-0000-000000000000"));

  const FixJournal before = journal;
  journal.markUndone("00000000-0000-0000-0000-000000000000", kDecember6);
  EXPECT_EQ(journal, before);
  journal.markUndone(first.id, kDecember6 + 60);
  EXPECT_EQ(journal.records[0].undoneAt, kDecember6 + 60);
  EXPECT_FALSE(journal.undoPlan(first.id));
}

TEST(FixJournalTest, SavesCreatingTheFolderAndLoadsBack) {
  TempDir dir;
  const fs::path file = dir / "Application Support/Snoozlet/changes.json";
  FixJournal journal;
  journal.record({kWomp}, kDecember6, false);
  ASSERT_TRUE(journal.save(file));
  EXPECT_EQ(FixJournal::load(file), journal);

  writeFile(dir / "blocker", "a file where a folder should be");
  const Status blocked = journal.save(dir / "blocker/Snoozlet/changes.json");
  ASSERT_FALSE(blocked);
  EXPECT_THAT(blocked.error().description(), ::testing::HasSubstr((dir / "blocker/Snoozlet").string()));
}

TEST(FixJournalTest, UnreadableFileIsKeptAsideBeforeTheNextSave) {
  TempDir dir;
  const fs::path file = dir / "changes.json";
  json future = validJournal();
  future["records"][0]["changes"][0]["fix"] = "someFutureFix";
  writeFile(file, future.dump());
  FixJournal journal = FixJournal::load(file);
  journal.record({kWomp}, kDecember6, false);
  ASSERT_TRUE(journal.save(file, kDecember6));
  EXPECT_EQ(readFile(dir / "changes.json.unreadable-20261206T070500Z"), future.dump());
  EXPECT_EQ(FixJournal::load(file), journal);
  // The next save just replaces the (now readable) journal.
  ASSERT_TRUE(journal.save(file, kDecember6));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
  // A second unreadable file in the same second gets its own name.
  writeFile(file, "garbage");
  ASSERT_TRUE(FixJournal::load(file).save(file, kDecember6));
  EXPECT_EQ(readFile(dir / "changes.json.unreadable-20261206T070500Z-2"), "garbage");
}

}  // namespace
}  // namespace snoozlet
