#include "platform/LoadingStep.h"
#include "platform/PowerDataSource.h"

#include "demo/DemoLog.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace snoozlet {
namespace {

// A stand-in pmset: a shell script serving files of a folder. The log comes
// from `log`, settings from `g`, `custom`, `cap`; a file `fail-<what>` makes
// that command print its content on standard error and exit 1.
class FakePmset {
 public:
  FakePmset() {
    testing::writeFile(dir_ / "pmset", R"sh(#!/bin/sh
d="$(dirname "$0")"
case "$*" in
  "-g log") what=log ;;
  "-g") what=g ;;
  "-g custom") what=custom ;;
  "-g cap") what=cap ;;
  *) echo "pmset: bad arguments" >&2; exit 64 ;;
esac
if [ -f "$d/fail-$what" ]; then cat "$d/fail-$what" >&2; exit 1; fi
[ -f "$d/$what" ] && cat "$d/$what"
exit 0
)sh");
    ::chmod((dir_ / "pmset").c_str(), 0755);
    set("g", "System-wide power settings:\nCurrently in use:\n powernap             1\n womp                 0\n");
    set("custom", "Battery Power:\n powernap             1\nAC Power:\n powernap             1\n");
    set("cap", "Capabilities for Battery Power:\n powernap\n womp\n tcpkeepalive\n");
  }
  void set(const std::string& name, std::string_view contents) { testing::writeFile(dir_ / name, contents); }
  std::string path() const { return (dir_ / "pmset").string(); }
  const testing::TempDir& dir() const { return dir_; }

 private:
  testing::TempDir dir_;
};

std::string demoWeek() {
  return DemoLog::text(DemoLog::week({2026, 12, 6, {}, {}, {}}, Mood::restless), *TimeZone::named("Europe/Istanbul"));
}

LoadOptions options(std::optional<std::filesystem::path> archive) {
  return {.archive = std::move(archive), .timeZone = *TimeZone::named("Europe/Istanbul"), .appVersion = "1.0 (1)"};
}

TEST(PowerDataSourceTest, LoadingStepReadsEverythingAndArchivesNights) {
  FakePmset pmset;
  const std::string week = demoWeek();
  ASSERT_GT(week.size(), PowerDataSource::kChunkSize) << "the log must span several blocks";
  pmset.set("log", week);
  const PowerDataSource source(pmset.path(), nullptr);
  testing::TempDir data;
  std::vector<LoadStage> stages;
  auto o = options(data / "nested" / "nights.sqlite");
  o.onStage = [&](LoadStage s) { stages.push_back(s); };

  auto loaded = load(source, LogReader(), o);
  ASSERT_TRUE(loaded) << loaded.error().description();
  EXPECT_EQ(stages, (std::vector<LoadStage>{LoadStage::read, LoadStage::parse, LoadStage::archive}));
  LogReader whole;
  whole.ingest(week);
  EXPECT_EQ(loaded->reader, whole) << "every block, and the lines split between blocks, read once";
  EXPECT_EQ(loaded->analysis.nights().size(), 7u);
  EXPECT_EQ(loaded->history.size(), 7u);
  EXPECT_EQ(loaded->settings.current.at("womp"), "0");
  EXPECT_EQ(loaded->settings.battery.at("powernap"), "1");
  EXPECT_EQ(loaded->capabilities.keys.count("tcpkeepalive"), 1u);

  // A second refresh with the returned reader reads nothing new and keeps the archive at one row a night.
  auto again = load(source, loaded->reader, o);
  EXPECT_EQ(again->history.size(), 7u);
  EXPECT_TRUE(again->analysis.baseline);
}

TEST(PowerDataSourceTest, AnArchiveMalformedPastItsFirstPageIsKeptAsideAndItsNightsKeptAnew) {
  FakePmset pmset;
  pmset.set("log", demoWeek());
  const PowerDataSource source(pmset.path(), nullptr);
  testing::TempDir data;
  const auto o = options(data / "nights.sqlite");
  ASSERT_EQ(load(source, LogReader(), o)->history.size(), 7u);
  // A half-restored backup: the header and the schema are whole, the pages after them are not.
  std::string bytes = testing::readFile(data / "nights.sqlite");
  for (std::size_t i = 4096; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  testing::writeFile(data / "nights.sqlite", bytes);

  const auto damaged = load(source, LogReader(), o);
  ASSERT_TRUE(damaged && damaged->archiveProblem);
  EXPECT_NE(damaged->archiveProblem->reason.find("malformed"), std::string::npos) << damaged->archiveProblem->reason;
  ASSERT_TRUE(damaged->archiveProblem->keptAside);
  EXPECT_EQ(testing::readFile(*damaged->archiveProblem->keptAside), bytes) << "kept as it was";
  EXPECT_EQ(damaged->history.size(), 7u) << "the log's nights are kept in the new archive";
  EXPECT_FALSE(load(source, LogReader(), o)->archiveProblem) << "the new archive is well";
}

TEST(PowerDataSourceTest, OnlyTheLogCanFailTheStep) {
  FakePmset pmset;
  pmset.set("log", demoWeek());
  pmset.set("fail-custom", "custom is broken\n");
  pmset.set("fail-cap", "no caps\n");
  pmset.set("g", "System-wide power settings:\n powernap 1\n");
  // The archive's folder cannot be created: its parent is a regular file.
  testing::TempDir data;
  testing::writeFile(data / "file", "x");
  auto loaded = load(PowerDataSource(pmset.path(), nullptr), LogReader(), options(data / "file" / "nights.sqlite"));
  ASSERT_TRUE(loaded) << loaded.error().description();
  EXPECT_TRUE(loaded->history.empty());
  EXPECT_EQ(loaded->analysis.nights().size(), 7u);
  EXPECT_TRUE(loaded->settings.battery.empty()) << "custom failed: no battery profile";
  EXPECT_EQ(loaded->settings.current.at("powernap"), "1");
  EXPECT_TRUE(loaded->capabilities.keys.empty());

  const PowerDataSource source(pmset.path(), nullptr);
  EXPECT_EQ(source.text({"-g", "custom"}).error().description(), "pmset exited with 1: custom is broken\n");

  pmset.set("fail-log", "ignored: standard error of the log is discarded");
  EXPECT_EQ(load(source, LogReader(), options(std::nullopt)).error().description(), "pmset exited with 1: ");

  const auto missing =
      load(PowerDataSource(pmset.dir() / "no-such-pmset", nullptr), LogReader(), options(std::nullopt));
  EXPECT_NE(missing.error().description().find("No such file or directory"), std::string::npos);

  // Killed half-way through its output.
  testing::writeFile(pmset.path(), "#!/bin/sh\nhead -c 300000 /dev/zero | tr '\\0' x\nkill -9 $$\n");
  LogReader fresh;
  const Status killed = PowerDataSource(pmset.path(), nullptr).streamLog(fresh);
  EXPECT_EQ(killed.error().description(), "pmset exited with 137: killed by signal 9");
}

TEST(PowerDataSourceTest, ChoosingThePmset) {
  EXPECT_EQ(PowerDataSource::resolvePmset(std::string("/opt/pmset")), "/opt/pmset");
  {
    testing::ScopedEnv env("SNOOZLET_PMSET", "/from/env");
    EXPECT_EQ(PowerDataSource::resolvePmset(), "/from/env");
  }
  testing::ScopedEnv noEnv("SNOOZLET_PMSET", nullptr);
  const std::string fallback = PowerDataSource::resolvePmset();
  EXPECT_TRUE(fallback == "/usr/bin/pmset" || fallback.ends_with("/snoozlet-pmset")) << fallback;
  EXPECT_TRUE(PowerDataSource::isSimulator("/usr/local/bin/snoozlet-pmset"));
  EXPECT_FALSE(PowerDataSource::isSimulator("/usr/bin/pmset"));

  testing::ScopedEnv home("HOME", "/home/someone");
  {
    testing::ScopedEnv data("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(standardDataFolder(), std::filesystem::path("/data/home/Snoozlet"));
  }
  testing::ScopedEnv relative("XDG_DATA_HOME", "relative");
  EXPECT_EQ(standardDataFolder(), std::filesystem::path("/home/someone/.local/share/Snoozlet"));
}

}  // namespace
}  // namespace snoozlet
