#include "archive/NightArchive.h"

#include "analysis/NightAnalyzer.h"
#include "common/Version.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <map>
#include <tuple>

namespace snoozlet {
namespace {

using testing::TempDir;

constexpr Instant kDay = 1710028800;  // 2024-03-10 00:00:00 UTC
constexpr double kHour = 3600;

// A direct connection to the archive's file, for looking behind the archive's back.
class Sql {
 public:
  explicit Sql(const std::filesystem::path& file) {
    EXPECT_EQ(sqlite3_open_v2(file.string().c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  }
  ~Sql() { sqlite3_close_v2(db_); }
  void exec(const std::string& sql) {
    char* message = nullptr;
    EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
  }
  // The first column of every row, as text ("NULL" for NULL).
  std::vector<std::string> column(const std::string& sql) {
    std::vector<std::string> out;
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(db_);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      const auto* text = sqlite3_column_text(stmt, 0);
      out.push_back(text ? reinterpret_cast<const char*>(text) : "NULL");
    }
    sqlite3_finalize(stmt);
    return out;
  }
  long long count(const std::string& table) { return std::stoll(column("SELECT count(*) FROM " + table).at(0)); }

 private:
  sqlite3* db_ = nullptr;
};

std::unique_ptr<NightArchive> openArchive(const std::filesystem::path& file) {
  auto opened = NightArchive::open(file);
  EXPECT_TRUE(opened.ok()) << (opened.ok() ? "" : opened.error().description());
  return opened.ok() ? std::move(opened).value() : nullptr;
}

// A closed session of `hours` starting `startHour` hours after kDay, with an
// hourly battery reading on battery power losing one point an hour.
SleepSession session(double startHour, double hours, int readings = 0) {
  SleepSession s;
  s.start = kDay + startHour * kHour;
  s.end = s.start + hours * kHour;
  s.ending = SessionEnd::fullWake(WakeReason("EC.LidOpen", WakeCategory::lid));
  s.sleepReason = "Clamshell Sleep";
  for (int i = 0; i < readings; ++i) s.battery.push_back({s.start + i * kHour, 90 - i, false});
  return s;
}

NightReport reportOf(const SleepSession& s, SleepKind kind = SleepKind::night, Mood mood = Mood::restless) {
  NightReport report = NightAnalyzer::report(s, kind);
  report.mood = mood;
  report.ratio = 1.5;
  return report;
}

// A night with wakes of two categories, requesters, holders and a culprit.
NightReport busyNight(double startHour, int holders = 2, int requesters = 3) {
  SleepSession s = session(startHour, 8, 4);
  const auto request = [](int i) { return WakeRequest{"dasd", "job" + std::to_string(i), {}, {}, true}; };
  for (int i = 0; i < 3; ++i) {
    DarkWakeEvent wake{s.start + (i + 1) * 600, 30.0, WakeReason("wifibt", WakeCategory::network), {}, {}};
    if (i < requesters) wake.request = request(i);
    s.darkWakes.push_back(wake);
  }
  for (int i = 3; i < requesters; ++i)
    s.darkWakes.push_back({s.start + 3600, 10.0, WakeReason("rtc", WakeCategory::backgroundTask), {}, request(i)});
  s.darkWakes.push_back({s.start + 7200, std::nullopt, WakeReason("rtc", WakeCategory::backgroundTask), {}, {}});
  for (int i = 0; i < holders; ++i)
    s.holders.push_back({"App" + std::to_string(i), "PreventSystemSleep", "busy", 1, 4000.0 - i, HolderOrigin::app});
  return reportOf(s);
}

TEST(NightArchiveTest, StoresClosedNightsAndReadsThemBack) {
  TempDir dir;
  const auto file = dir / "data/Snoozlet/nights.sqlite";
  auto archive = openArchive(file);
  ASSERT_TRUE(archive);
  EXPECT_TRUE(archive->nights(std::nullopt, 400)->empty());
  EXPECT_TRUE(archive->baselineSamples(30)->empty());
  const NightReport night = busyNight(-2);
  SleepSession open = session(22, 8, 3);
  open.ending = SessionEnd::ongoing();
  ASSERT_TRUE(archive->store({night, reportOf(open)}, kVersionText).ok());

  const auto nights = archive->nights(std::nullopt, 400);
  ASSERT_TRUE(nights.ok());
  ASSERT_EQ(nights->size(), 1u);
  const ArchivedNight& read = nights->front();
  EXPECT_EQ(read, ArchivedNight::from(night));
  EXPECT_EQ(std::tie(read.mood, read.darkWakes, read.awakeSeconds), std::make_tuple(Mood::restless, 4, 90.0));
  EXPECT_EQ(std::tie(read.batteryFirst, read.batteryLast, read.drop), std::make_tuple(90, 87, 3));
  EXPECT_EQ(read.perHour, 1.0);
  EXPECT_EQ(read.topCategory, WakeCategory::network);
  EXPECT_EQ(read.culprit, "App0");
  EXPECT_EQ(read.reasons, (std::map<WakeCategory, int>{{WakeCategory::network, 3}, {WakeCategory::backgroundTask, 1}}));

  Sql sql(file);
  EXPECT_EQ(sql.column("PRAGMA journal_mode"), std::vector<std::string>{"wal"});
  EXPECT_EQ(sql.column("SELECT sleep_reason || ' / ' || app_version FROM nights"),
            std::vector<std::string>{"Clamshell Sleep / 1.0 (1)"});
  EXPECT_EQ(sql.column("SELECT origin FROM night_holders LIMIT 1"), std::vector<std::string>{"app"});
  // Opening the file again keeps what it holds.
  archive.reset();
  archive = openArchive(file);
  ASSERT_TRUE(archive);
  EXPECT_EQ(archive->nights(std::nullopt, 400)->size(), 1u);
}

TEST(NightArchiveTest, StoringANightAgainReplacesItAndItsChildRows) {
  TempDir dir;
  auto archive = openArchive(dir / "nights.sqlite");
  ASSERT_TRUE(archive);
  NightReport night = busyNight(-2, 25, 3);
  ASSERT_TRUE(archive->store({night}, "1.0 (1)").ok());
  Sql sql(dir / "nights.sqlite");
  const auto rows = [&] {
    return std::vector<long long>{sql.count("nights"), sql.count("night_reasons"), sql.count("night_holders"),
                                  sql.count("night_requests")};
  };
  EXPECT_EQ(rows(), (std::vector<long long>{1, 2, 20, 3}));

  night.mood = Mood::sleepless;
  ASSERT_TRUE(archive->store({night, night}, "1.1 (2)").ok());
  EXPECT_EQ(rows(), (std::vector<long long>{1, 2, 20, 3}));
  EXPECT_EQ(sql.column("SELECT app_version FROM nights"), std::vector<std::string>{"1.1 (2)"});
  EXPECT_EQ(archive->nights(std::nullopt, 10)->front().mood, Mood::sleepless);
}

TEST(NightArchiveTest, AbsentValuesAndUnknownTextsReadBackAsDefaults) {
  TempDir dir;
  auto archive = openArchive(dir / "nights.sqlite");
  ASSERT_TRUE(archive);
  ASSERT_TRUE(archive->store({reportOf(session(0, 8))}, kVersionText).ok());
  Sql sql(dir / "nights.sqlite");
  sql.exec(
      "INSERT INTO nights (start, end, kind, mood, dark_wakes, awake_seconds, battery_hours, top_category) "
      "VALUES (5, 5, 'siesta', 'grumpy', 2, 0, 3, 'gremlins');"
      "INSERT INTO night_reasons VALUES (5, 'gremlins', 4, 1), (5, 'lid', 2, 1);");

  const auto nights = archive->nights(std::nullopt, 10);
  ASSERT_TRUE(nights.ok());
  ASSERT_EQ(nights->size(), 2u);
  const ArchivedNight& plain = nights->front();
  EXPECT_EQ(plain.start, kDay);
  EXPECT_FALSE(plain.batteryFirst || plain.batteryLast || plain.drop || plain.perHour);
  EXPECT_FALSE(plain.topCategory || plain.culprit);
  EXPECT_TRUE(plain.reasons.empty());

  const ArchivedNight& odd = nights->back();
  EXPECT_EQ(odd.kind, SleepKind::night);
  EXPECT_EQ(odd.mood, Mood::soundAsleep);
  EXPECT_FALSE(odd.topCategory);
  EXPECT_EQ(odd.reasons, (std::map<WakeCategory, int>{{WakeCategory::lid, 2}}));
  // A night that ends where it starts.
  EXPECT_EQ(odd.duration(), 0);
  EXPECT_EQ(odd.awakeFraction(), 0);
}

TEST(NightArchiveTest, KindFilterAndLimitReturnTheNewestFirst) {
  TempDir dir;
  auto archive = openArchive(dir / "nights.sqlite");
  ASSERT_TRUE(archive);
  std::vector<NightReport> reports;
  for (int day = 0; day < 5; ++day) reports.push_back(reportOf(session(day * 24.0 - 1, 8)));
  for (int day = 0; day < 2; ++day) reports.push_back(reportOf(session(day * 24.0 + 13, 3), SleepKind::daytimeNap));
  ASSERT_TRUE(archive->store(reports, kVersionText).ok());

  const auto starts = [&](std::optional<SleepKind> kind, int limit) {
    std::vector<double> out;
    const auto nights = archive->nights(kind, limit);
    for (const auto& n : *nights) out.push_back((n.start - kDay) / kHour);
    return out;
  };
  EXPECT_EQ(starts(SleepKind::night, 3), (std::vector<double>{95, 71, 47}));
  EXPECT_EQ(starts(SleepKind::daytimeNap, 10), (std::vector<double>{37, 13}));
  EXPECT_EQ(starts(std::nullopt, 400).size(), 7u);
  EXPECT_TRUE(starts(std::nullopt, 0).empty());
  EXPECT_TRUE(starts(std::nullopt, -1).empty());
}

TEST(NightArchiveTest, BaselineSamplesNeedANightWithTwoMeasuredHours) {
  // kind, hours on battery, drain per hour → a sample or none.
  const std::tuple<SleepKind, double, std::optional<double>, bool> cases[] = {
      {SleepKind::night, 1.9, 1.0, false},
      {SleepKind::night, 5, std::nullopt, false},
      {SleepKind::daytimeNap, 5, 1.0, false},
      {SleepKind::night, 2.0, 1.0, true},
  };
  for (const auto& [kind, hours, perHour, sampled] : cases) {
    ArchivedNight night{.start = kDay, .end = kDay + 8 * kHour, .kind = kind, .awakeSeconds = 2880};
    night.batteryHours = hours;
    night.perHour = perHour;
    EXPECT_EQ(night.baselineSample(), sampled ? std::optional(BaselineSample{kDay, 1.0, 0.1}) : std::nullopt)
        << hours;
  }

  // Through the archive: a night without readings, exactly two hours of readings, a nap, three good nights.
  TempDir dir;
  auto archive = openArchive(dir / "nights.sqlite");
  ASSERT_TRUE(archive);
  std::vector<NightReport> reports{reportOf(session(-2, 8)), reportOf(session(22, 8, 3)),
                                   reportOf(session(37, 3, 4), SleepKind::daytimeNap)};
  for (int day = 2; day < 5; ++day) reports.push_back(reportOf(session(day * 24.0 - 2, 8, 5)));
  ASSERT_TRUE(archive->store(reports, kVersionText).ok());

  const auto starts = [&](int limit) {
    std::vector<double> out;
    const auto samples = archive->baselineSamples(limit);
    for (const auto& s : samples.value()) out.push_back((s.start - kDay) / kHour);
    return out;
  };
  EXPECT_EQ(starts(30), (std::vector<double>{94, 70, 46, 22}));
  EXPECT_EQ(starts(2), (std::vector<double>{94, 70}));
}

TEST(NightArchiveTest, AFailurePartWayThroughAStoreLeavesNothingBehind) {
  TempDir dir;
  const auto file = dir / "nights.sqlite";
  auto archive = openArchive(file);
  ASSERT_TRUE(archive);
  ASSERT_TRUE(archive->store({reportOf(session(-2, 8))}, kVersionText).ok());
  Sql sql(file);
  sql.exec("CREATE TRIGGER refuse BEFORE INSERT ON night_requests BEGIN SELECT RAISE(ABORT, 'no requests'); END;");

  // The first night is written completely before the second one's requesters fail.
  const auto stored = archive->store({busyNight(22, 2, 0), busyNight(46)}, kVersionText);
  ASSERT_FALSE(stored.ok());
  EXPECT_EQ(stored.error().description(), "SQLite: no requests");
  EXPECT_EQ(sql.count("nights"), 1);
  EXPECT_EQ(sql.count("night_reasons") + sql.count("night_holders") + sql.count("night_requests"), 0);
  // The archive is still usable afterwards.
  sql.exec("DROP TRIGGER refuse");
  EXPECT_TRUE(archive->store({busyNight(46)}, kVersionText).ok());
  EXPECT_EQ(sql.count("nights"), 2);
}

TEST(NightArchiveTest, AReadOnlyFileRefusesToStore) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the superuser";
  TempDir dir;
  const auto file = dir / "nights.sqlite";
  {
    auto archive = openArchive(file);
    ASSERT_TRUE(archive);
    ASSERT_TRUE(archive->store({reportOf(session(-2, 8))}, kVersionText).ok());
  }
  // Closing checkpointed the log into the file, so no writable side file is left to write into.
  ASSERT_FALSE(std::filesystem::exists(dir / "nights.sqlite-wal"));
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  auto archive = openArchive(file);
  ASSERT_TRUE(archive);
  const auto stored = archive->store({reportOf(session(22, 8))}, kVersionText);
  ASSERT_FALSE(stored.ok());
  EXPECT_EQ(stored.error().description().rfind("SQLite: ", 0), 0u) << stored.error().description();
  EXPECT_EQ(archive->nights(std::nullopt, 10)->size(), 1u);
}

TEST(NightArchiveTest, OpeningFailuresAreTold) {
  TempDir dir;
  testing::writeFile(dir / "blocker", "a file, not a folder");
  const auto blocked = NightArchive::open(dir / "blocker/Snoozlet/nights.sqlite");
  ASSERT_FALSE(blocked.ok());
  ASSERT_TRUE(blocked.error().folder());
  EXPECT_FALSE(blocked.error().sqlite());
  EXPECT_EQ(blocked.error().description(), std::make_error_code(std::errc::not_a_directory).message());
}

}  // namespace
}  // namespace snoozlet
