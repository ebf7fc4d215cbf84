#include "app/MorningNotifier.h"

#include "Recorders.h"
#include "TestSupport.h"
#include "app/AppSettings.h"

#include <QSettings>

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

constexpr Instant kNow = 1710064800;  // 2024-03-10 10:00 UTC

NightReport night(Instant start, Instant end, SessionEnd ending) {
  return {.session = {.start = start, .end = end, .ending = std::move(ending)}};
}

SessionEnd lidWake() { return SessionEnd::fullWake(WakeReason{}); }

struct Fixture {
  testing::TempDir dir;
  QSettings store{QString::fromStdString((dir / "preferences.ini").string()), QSettings::IniFormat};
  testing::RecordingNotificationCenter center;
  MorningNotifier notifier{store, &center, [] { return kNow; }};
};

TEST(MorningNotifierTest, RuleTable) {
  const Instant start = kNow - 9 * 3600;
  struct Case {
    const char* name;
    NightReport night;
    std::optional<Instant> lastNotified;
    bool posted;
  };
  const Case cases[] = {
      {"woke exactly two hours ago", night(start, kNow - 7200, lidWake()), std::nullopt, false},
      {"woke just under two hours ago", night(start, kNow - 7199, lidWake()), std::nullopt, true},
      {"ended by shutdown", night(start, kNow - 600, SessionEnd::shutdown()), std::nullopt, false},
      {"this night was notified", night(start, kNow - 600, lidWake()), start, false},
      {"an earlier night was notified", night(start, kNow - 600, lidWake()), start - 86400, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    if (c.lastNotified) f.store.setValue("lastNotifiedNight", *c.lastNotified);
    EXPECT_EQ(f.notifier.offer(c.night, "Restless", "body"), c.posted);
    EXPECT_EQ(f.center.posts.size(), c.posted ? 1u : 0u);
    EXPECT_EQ(f.notifier.lastNotifiedNight(), c.posted ? start : c.lastNotified.value_or(0));
  }
}

TEST(MorningNotifierTest, StoresTheNightBeforePostingItOnce) {
  Fixture f;
  const NightReport report = night(1710030600.75, kNow - 600, lidWake());
  std::optional<double> storedAtPost;
  f.center.onPost = [&](const auto&) { storedAtPost = f.store.value("lastNotifiedNight").toDouble(); };

  EXPECT_TRUE(f.notifier.offer(report, "Restless", "I slept badly."));
  EXPECT_EQ(storedAtPost, 1710030600.75);
  EXPECT_FALSE(f.notifier.offer(report, "Restless", "I slept badly."));
  EXPECT_EQ(f.center.posts, (std::vector<testing::RecordingNotificationCenter::Post>{
                                {"morning-1710030600", "Restless", "I slept badly."}}));
}

TEST(MorningNotifierTest, PermissionSetsTheSwitchToTheAnswer) {
  Fixture f;
  AppSettings settings(f.store);
  std::optional<bool> answer;
  f.notifier.requestPermission(settings, [&](bool granted) { answer = granted; });
  EXPECT_EQ(answer, true);
  EXPECT_TRUE(settings.morningNotification());

  f.center.grants = false;
  f.notifier.requestPermission(settings);
  EXPECT_FALSE(settings.morningNotification());

  settings.setMorningNotification(true);
  MorningNotifier silent(f.store, nullptr, [] { return kNow; });
  silent.requestPermission(settings);
  EXPECT_FALSE(settings.morningNotification());
  EXPECT_FALSE(silent.offer(night(kNow - 9 * 3600, kNow - 600, lidWake()), "Restless", "body"));
  EXPECT_FALSE(f.store.contains("lastNotifiedNight"));
}

}  // namespace
}  // namespace snoozlet
