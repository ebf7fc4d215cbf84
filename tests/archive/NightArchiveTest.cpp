#include "ArchiveSupport.h"
#include "TestSupport.h"
#include "common/Version.h"

#include <unistd.h>

#include <tuple>

namespace snoozlet {
namespace {

using namespace testing;

TEST(NightArchiveTest, StoresClosedNightsAndReadsThemBack) {
  TempDir dir;
  const auto file = dir / "data/Snoozlet/nights.sqlite";
  auto archive = openArchive(file);
  const NightReport night = busyNight(-2);
  SleepSession open = session(22, 8, 3);
  open.ending = SessionEnd::ongoing();
  ASSERT_TRUE(archive->store({night, reportOf(open)}, kVersionText).ok());

  // The ongoing session is not stored.
  const ArchivedNight expected{night.start(), night.end(), SleepKind::night, Mood::restless, 4, 90.0, 90, 87, 3, 3.0,
                               1.0, WakeCategory::network, "App0",
                               {{WakeCategory::network, 3}, {WakeCategory::backgroundTask, 1}}};
  EXPECT_EQ(archive->nights(std::nullopt, 400).value(), std::vector<ArchivedNight>{expected});

  Sql sql(file);
  EXPECT_EQ(sql.column("PRAGMA journal_mode"), std::vector<std::string>{"wal"});
  EXPECT_EQ(sql.column("SELECT sleep_reason || ' / ' || app_version FROM nights"),
            std::vector<std::string>{"Clamshell Sleep / 1.0 (1)"});
  EXPECT_EQ(sql.column("SELECT origin FROM night_holders LIMIT 1"), std::vector<std::string>{"app"});
}

TEST(NightArchiveTest, StoringANightAgainReplacesItAndItsChildRows) {
  TempDir dir;
  auto archive = openArchive(dir / "nights.sqlite");
  NightReport night = busyNight(-2, 25, 3);
  ASSERT_TRUE(archive->store({night}, "1.0 (1)").ok());
  Sql sql(dir / "nights.sqlite");
  const auto rows = [&] {
    return std::vector<long long>{sql.count("nights"), sql.count("night_reasons"), sql.count("night_holders"),
                                  sql.count("night_requests")};
  };
  EXPECT_EQ(rows(), (std::vector<long long>{1, 2, 20, 3}));  // at most 20 holders a night
  night.mood = Mood::sleepless;
  ASSERT_TRUE(archive->store({night, night}, "1.1 (2)").ok());
  EXPECT_EQ(rows(), (std::vector<long long>{1, 2, 20, 3}));
  EXPECT_EQ(sql.column("SELECT app_version FROM nights"), std::vector<std::string>{"1.1 (2)"});
  EXPECT_EQ(archive->nights(std::nullopt, 10)->front().mood, Mood::sleepless);
}

TEST(NightArchiveTest, AbsentValuesAndUnknownTextsReadBackAsDefaults) {
  TempDir dir;
  auto archive = openArchive(dir / "nights.sqlite");
  ASSERT_TRUE(archive->store({reportOf(session(0, 8))}, kVersionText).ok());
  Sql sql(dir / "nights.sqlite");
  sql.exec(
      "INSERT INTO nights (start, end, kind, mood, dark_wakes, awake_seconds, battery_hours, top_category) "
      "VALUES (5, 5, 'siesta', 'grumpy', 2, 0, 3, 'gremlins');"
      "INSERT INTO night_reasons VALUES (5, 'gremlins', 4, 1), (5, 'lid', 2, 1);");

  // Unknown kind, mood and categories read as the defaults; a night that ends where it starts.
  const ArchivedNight odd{5, 5, SleepKind::night, Mood::soundAsleep, 2, 0, {}, {}, {}, 3, {}, {}, {},
                          {{WakeCategory::lid, 2}}};
  EXPECT_EQ(archive->nights(std::nullopt, 10).value(),
            (std::vector<ArchivedNight>{{kDay, kDay + 8 * kHour, SleepKind::night, Mood::restless}, odd}));
  EXPECT_EQ(odd.awakeFraction(), 0);
}

TEST(NightArchiveTest, NightsAndBaselineSamplesComeNewestFirst) {
  // kind, hours on battery, drain per hour → a sample or none.
  const std::tuple<SleepKind, double, std::optional<double>, bool> cases[] = {
      {SleepKind::night, 1.9, 1.0, false}, {SleepKind::night, 5, std::nullopt, false},
      {SleepKind::daytimeNap, 5, 1.0, false}, {SleepKind::night, 2.0, 1.0, true},
  };
  for (const auto& [kind, hours, perHour, sampled] : cases) {
    const ArchivedNight night{.start = kDay, .end = kDay + 8 * kHour, .kind = kind, .awakeSeconds = 2880,
                              .batteryHours = hours, .perHour = perHour};
    EXPECT_EQ(night.baselineSample(), sampled ? std::optional(BaselineSample{kDay, 1.0, 0.1}) : std::nullopt)
        << hours;
  }

  // Nights without readings, with exactly two hours of readings, and with four; naps with four readings.
  TempDir dir;
  auto archive = openArchive(dir / "nights.sqlite");
  std::vector<NightReport> reports{reportOf(session(-1, 8)), reportOf(session(23, 8, 3))};
  for (int day = 2; day < 5; ++day) reports.push_back(reportOf(session(day * 24.0 - 1, 8, 5)));
  for (int day = 0; day < 2; ++day) reports.push_back(reportOf(session(day * 24.0 + 13, 3, 4), SleepKind::daytimeNap));
  ASSERT_TRUE(archive->store(reports, kVersionText).ok());

  const auto hours = [](const auto& rows) {
    std::vector<double> out;
    for (const auto& row : rows) out.push_back((row.start - kDay) / kHour);
    return out;
  };
  using Hours = std::vector<double>;
  EXPECT_EQ(hours(*archive->nights(SleepKind::night, 3)), (Hours{95, 71, 47}));
  EXPECT_EQ(hours(*archive->nights(SleepKind::daytimeNap, 10)), (Hours{37, 13}));
  EXPECT_EQ(archive->nights(std::nullopt, 400)->size(), 7u);
  EXPECT_TRUE(archive->nights(std::nullopt, 0)->empty());
  EXPECT_TRUE(archive->nights(std::nullopt, -1)->empty());
  EXPECT_EQ(hours(archive->baselineSamples(30).value()), (Hours{95, 71, 47, 23}));
  EXPECT_EQ(hours(archive->baselineSamples(2).value()), (Hours{95, 71}));
}

TEST(NightArchiveTest, AFailurePartWayThroughAStoreLeavesNothingBehind) {
  TempDir dir;
  const auto file = dir / "nights.sqlite";
  auto archive = openArchive(file);
  ASSERT_TRUE(archive->store({reportOf(session(-2, 8))}, kVersionText).ok());
  Sql sql(file);
  sql.exec("CREATE TRIGGER refuse BEFORE INSERT ON night_requests BEGIN SELECT RAISE(ABORT, 'no requests'); END;");

  // The first night is written completely before the second one's requesters fail.
  const auto stored = archive->store({busyNight(22, 2, 0), busyNight(46)}, kVersionText);
  ASSERT_FALSE(stored.ok());
  EXPECT_EQ(stored.error().description(), "SQLite: no requests");
  EXPECT_EQ(sql.count("nights"), 1);
  EXPECT_EQ(sql.count("night_reasons") + sql.count("night_holders") + sql.count("night_requests"), 0);
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
    ASSERT_TRUE(archive->store({reportOf(session(-2, 8))}, kVersionText).ok());
  }
  // Closing checkpointed the log into the file, so no writable side file is left to write into.
  ASSERT_FALSE(std::filesystem::exists(dir / "nights.sqlite-wal"));
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
  auto archive = openArchive(file);
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
  EXPECT_EQ(blocked.error().description(), std::make_error_code(std::errc::not_a_directory).message());
}

TEST(NightArchiveTest, AnArchiveFromBeforeTheKernelCountsGainsThemAndKeepsItsNights) {
  TempDir dir;
  const auto file = dir / "nights.sqlite";
  writeFile(file, "");
  {
    // The four tables as the archive made them before it kept the kernel's counts.
    Sql old(file);
    old.exec(
        "CREATE TABLE nights (start REAL PRIMARY KEY, end REAL NOT NULL, kind TEXT NOT NULL, mood TEXT NOT NULL, "
        "dark_wakes INTEGER NOT NULL, awake_seconds REAL NOT NULL, battery_first INTEGER, battery_last INTEGER, "
        "drop_points INTEGER, battery_hours REAL NOT NULL, per_hour REAL, top_category TEXT, culprit TEXT, "
        "sleep_reason TEXT, app_version TEXT);"
        "CREATE TABLE night_reasons (night_start REAL NOT NULL, category TEXT NOT NULL, count INTEGER NOT NULL, "
        "awake_seconds REAL NOT NULL, PRIMARY KEY (night_start, category));"
        "CREATE TABLE night_holders (night_start REAL NOT NULL, process TEXT NOT NULL, type TEXT NOT NULL, name TEXT "
        "NOT NULL, count INTEGER NOT NULL, held_seconds REAL NOT NULL, origin TEXT NOT NULL);"
        "CREATE TABLE night_requests (night_start REAL NOT NULL, process TEXT NOT NULL, activity TEXT NOT NULL, "
        "count INTEGER NOT NULL);"
        "INSERT INTO nights VALUES (1710100000, 1710128800, 'night', 'restless', 4, 90, 90, 87, 3, 3, 1, 'usb', NULL, "
        "'Lid closed', '1.0 (1)');");
  }
  auto archive = openArchive(file);
  ASSERT_EQ(archive->nights(std::nullopt, 10)->size(), 1u);

  SleepCounts sleep{.slept = 1710100010,
                    .resumed = 1710128790,
                    .memSleep = "s2idle",
                    .sources = {{"0000:00:14.0", "0000:00:14.0", "xhci_hcd", "0x0c0330", "XHC", 6, 9},
                                {"PNP0C09:00", "PNP0C09:00", "", "", "", 2, 40}},
                    .hardwareSleep = 3456,
                    .suspends = 1,
                    .failures = 0};
  ASSERT_TRUE(archive->storeSleep(sleep).ok());
  sleep.sources.pop_back();
  ASSERT_TRUE(archive->storeSleep(sleep).ok()) << "the same sleep again replaces it";
  ASSERT_TRUE(archive->storeSleep({.slept = 1710200000, .resumed = 1710200600}).ok());
  EXPECT_EQ(archive->sleeps(1710100000, 1710128800).value(), std::vector<SleepCounts>{sleep});
  EXPECT_EQ(archive->sleeps(0, 2e9)->back().hardwareSleep, std::nullopt);
  Sql sql(file);
  EXPECT_EQ(sql.count("sleep_wake_sources"), 1);
}

}  // namespace
}  // namespace snoozlet
