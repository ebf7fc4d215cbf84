#pragma once

// What the night archive tests share: nights to store, and a connection of
// their own to the archive's file for looking behind the archive's back.

#include "analysis/NightAnalyzer.h"
#include "archive/NightArchive.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace snoozlet::testing {

inline constexpr Instant kDay = 1710028800;  // 2024-03-10 00:00:00 UTC
inline constexpr double kHour = 3600;

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
  // The first column of every row, as text ("NULL" for NULL); SQLite's message when the query fails.
  std::vector<std::string> column(const std::string& sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) return {sqlite3_errmsg(db_)};
    std::vector<std::string> out;
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

// The archive at `file`; one that cannot be opened fails the test (the value's access throws).
inline std::unique_ptr<NightArchive> openArchive(const std::filesystem::path& file) {
  auto opened = NightArchive::open(file);
  EXPECT_TRUE(opened.ok()) << (opened.ok() ? "" : opened.error().description());
  return std::move(opened).value();
}

// A closed session of `hours` starting `startHour` hours after kDay, with an
// hourly battery reading on battery power losing one point an hour.
inline SleepSession session(double startHour, double hours, int readings = 0) {
  SleepSession s{.start = kDay + startHour * kHour, .end = kDay + startHour * kHour + hours * kHour,
                 .ending = SessionEnd::fullWake(WakeReason("EC.LidOpen", WakeCategory::lid)),
                 .sleepReason = "Clamshell Sleep"};
  for (int i = 0; i < readings; ++i) s.battery.push_back({s.start + i * kHour, 90 - i, false});
  return s;
}

inline NightReport reportOf(const SleepSession& s, SleepKind kind = SleepKind::night) {
  NightReport report = NightAnalyzer::report(s, kind);
  report.mood = Mood::restless;
  report.ratio = 1.5;
  return report;
}

// An eight-hour night with four readings; three Wi-Fi wakes, `requesters` of them explained by requests; a background
// wake of unknown length; `holders` apps with long names that fill pages quickly.
inline NightReport busyNight(double startHour, int holders = 2, int requesters = 3) {
  SleepSession s = session(startHour, 8, 4);
  for (int i = 0; i < 3; ++i) {
    DarkWakeEvent wake{s.start + (i + 1) * 600, 30.0, WakeReason("wifibt", WakeCategory::network), {}, {}};
    if (i < requesters) wake.request = WakeRequest{"dasd", "job" + std::to_string(i), {}, {}, true};
    s.darkWakes.push_back(wake);
  }
  s.darkWakes.push_back({s.start + 7200, std::nullopt, WakeReason("rtc", WakeCategory::backgroundTask), {}, {}});
  for (int i = 0; i < holders; ++i) {
    s.holders.push_back({"App" + std::to_string(i), "PreventSystemSleep",
                         "A long enough assertion name to fill the pages quickly", 1, 4000.0 - i, HolderOrigin::app});
  }
  return reportOf(s);
}

}  // namespace snoozlet::testing
