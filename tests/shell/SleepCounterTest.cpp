// The kernel's counts around a real logind sleep, on a private bus with a
// stand-in for logind that hands out delay locks, read from a tree of the
// kernel's files whose counters the test moves on while the laptop "sleeps".

#include "PrivateBus.h"
#include "StandInLogind.h"
#include "archive/NightArchive.h"
#include "shell/SleepCounter.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace snoozlet::shell {
namespace {

namespace fs = std::filesystem;

void setCounter(const fs::path& file, const std::string& value) { testing::writeFile(file, value + "\n"); }

TEST(SleepCounterTest, CountsAroundASleepAreKeptWithItAndTheLockIsHeldOnlyWhileAwake) {
  testing::TempDir dir;
  testing::PrivateBus bus(dir);
  if (!bus.running()) GTEST_SKIP() << "dbus-daemon is not available";
  const fs::path root = dir / "root";
  fs::copy(testing::fixturePath("system/thinkpad-s2idle"), root,
           fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  testing::StandInLogind logind(bus.connect(QStringLiteral("logind")));

  Instant now = 1796511600;  // Sat 5 Dec 2026 23:00 UTC
  SleepCounter counter(bus.connect(QStringLiteral("app")),
                       {SystemRoot(root), dir / "nights.sqlite", [&] { return now; }});
  ASSERT_TRUE(counter.isListening());
  for (int i = 0; i < 50 && !counter.holdsLock(); ++i) QTest::qWait(100);
  ASSERT_EQ(logind.calls.size(), 1);
  EXPECT_EQ(logind.calls[0], (QStringList{"sleep", "Snoozlet", logind.calls[0][2], "delay"}));
  EXPECT_TRUE(counter.holdsLock());
  EXPECT_EQ(logind.held(), 1);

  // Going to sleep: the counts are read and the lock let go, so the sleep goes on.
  ASSERT_TRUE(logind.announce(true));
  for (int i = 0; i < 50 && logind.held() != 0; ++i) QTest::qWait(100);
  EXPECT_EQ(logind.held(), 0);
  EXPECT_FALSE(counter.holdsLock());

  // Asleep for eight hours: the USB controller woke it 6 times, the Wi-Fi 3
  // times, and the hardware slept 57.6 minutes of it.
  const fs::path wakeup = root / "sys/class/wakeup";
  setCounter(wakeup / "wakeup5/wakeup_count", "23");
  setCounter(wakeup / "wakeup5/event_count", "311");
  setCounter(wakeup / "wakeup7/wakeup_count", "14");
  setCounter(root / "sys/power/suspend_stats/total_hw_sleep", std::to_string(3391870512ULL + 3456000000ULL));
  setCounter(root / "sys/power/suspend_stats/success", "413");
  now += 8 * 3600;
  QSignalSpy stored(&counter, &SleepCounter::stored);
  ASSERT_TRUE(logind.announce(false));
  ASSERT_TRUE(stored.wait(5000));
  for (int i = 0; i < 50 && !counter.holdsLock(); ++i) QTest::qWait(100);
  EXPECT_EQ(logind.calls.size(), 2) << "a new lock for the next sleep";
  EXPECT_EQ(logind.held(), 1);

  auto archive = NightArchive::open(dir / "nights.sqlite");
  ASSERT_TRUE(archive);
  const auto sleeps = (*archive)->sleeps(0, 2e9);
  ASSERT_TRUE(sleeps);
  ASSERT_EQ(sleeps->size(), 1u);
  const SleepCounts& sleep = sleeps->front();
  EXPECT_EQ(sleep.slept, 1796511600);
  EXPECT_EQ(sleep.resumed, 1796511600 + 8 * 3600);
  EXPECT_EQ(sleep.memSleep, "s2idle");
  ASSERT_EQ(sleep.sources.size(), 2u);
  EXPECT_EQ(sleep.sources[0], (SourceWakes{"0000:00:14.0", "0000:00:14.0", "xhci_hcd", "0x0c0330", "XHC", 6, 9}));
  EXPECT_EQ(sleep.sources[1].acpiName, "PXSX");
  EXPECT_EQ(sleep.sources[1].wakeups, 3u);
  EXPECT_DOUBLE_EQ(*sleep.hardwareSleep, 3456);
  EXPECT_EQ(sleep.suspends, 1u);

  // A resume whose sleep was not seen claims nothing.
  ASSERT_TRUE(logind.announce(false));
  QTest::qWait(300);
  EXPECT_EQ((*archive)->sleeps(0, 2e9)->size(), 1u);
}

}  // namespace
}  // namespace snoozlet::shell
