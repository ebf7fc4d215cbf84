// The morning notification as the model offers it after a refresh.

#include "ModelHarness.h"
#include "app/PreferencesController.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(AppModelNotificationTest, FreshNightIsPostedOnceWithItsMorningText) {
  const std::string log = testing::demoLog();
  const NightReport last = testing::lastNightOf(log);
  for (const bool onFromTheStart : {true, false}) {
    testing::ModelHarness h;
    h.mac.setLog(log);
    h.now = last.end() + 600;  // woke ten minutes ago
    h.settings.setMorningNotification(onFromTheStart);
    AppModel& model = h.make();
    ASSERT_TRUE(h.refresh());
    if (!onFromTheStart) {
      // Notifications off: nothing posted, nothing remembered. Switched on
      // later, the night the model already published is not offered again,
      // although the rule alone would post it.
      EXPECT_TRUE(h.center.posts.empty());
      EXPECT_FALSE(h.store.contains("lastNotifiedNight"));
      h.settings.setMorningNotification(true);
      ASSERT_TRUE(h.refresh());
      EXPECT_TRUE(h.center.posts.empty());
      continue;
    }
    ASSERT_EQ(h.center.posts.size(), 1u);
    const auto& post = h.center.posts.front();
    EXPECT_EQ(post.identifier, MorningNotifier::identifier(last.start()));
    EXPECT_EQ(post.body, QString::fromStdString(model.morningText(*model.latestNight())));
    // The same latest night again: nothing more.
    ASSERT_TRUE(h.refresh());
    EXPECT_EQ(h.center.posts.size(), 1u);
  }
}

TEST(AppModelNotificationTest, NewerNightIsOffered) {
  testing::ModelHarness h;
  const auto nights = testing::demoNights();
  const std::string six = DemoLog::text({nights.begin(), nights.end() - 1}, TimeZone::utc());
  const std::string seven = six + DemoLog::text({nights.back()}, TimeZone::utc());
  const NightReport last = testing::lastNightOf(seven);
  h.settings.setMorningNotification(true);
  h.now = last.end() + 600;
  h.mac.setLog(six);
  h.make();
  ASSERT_TRUE(h.refresh());
  EXPECT_TRUE(h.center.posts.empty());  // the sixth night ended a day ago

  h.mac.setLog(seven);
  ASSERT_TRUE(h.refresh());
  ASSERT_EQ(h.center.posts.size(), 1u);
  EXPECT_EQ(h.center.posts.front().identifier, MorningNotifier::identifier(last.start()));
}

TEST(AppModelNotificationTest, PreferencesTurnTheNotificationOnOnlyWhenAllowedAndOffAtOnce) {
  testing::ModelHarness h;
  PreferencesController preferences(h.settings, h.loginItem, &h.notifier);
  QSignalSpy answered(&preferences, &PreferencesController::notificationAnswered);
  h.center.grants = false;
  preferences.setMorningNotification(true);
  EXPECT_FALSE(preferences.morningNotification());
  h.center.grants = true;
  preferences.setMorningNotification(true);
  EXPECT_TRUE(preferences.morningNotification());
  ASSERT_EQ(answered.count(), 2);
  EXPECT_EQ(answered[1][0].toBool(), true);
  preferences.setMorningNotification(false);
  EXPECT_FALSE(preferences.morningNotification()) << "off needs nobody's leave";
  EXPECT_EQ(answered.count(), 2);
}

}  // namespace
}  // namespace snoozlet
