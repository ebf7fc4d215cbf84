// "How It Works": its sample night, paging, finishing, and the two optional extras.

#include "ViewTesting.h"
#include "views/NightRibbon.h"
#include "views/WelcomeView.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace snoozlet::views {
namespace {

using preview::Contents;
using preview::PreviewModel;

TEST(WelcomeViewTest, ShowsTheDemonstrationNightPagesThroughToStartAndMarksTheWelcomeCompleted) {
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  WelcomeView view(preview.model(), preview.preferences());
  const auto& sample = testing::child<QWidget>(view, "ribbonSample");
  EXPECT_EQ(testing::child<NightRibbon>(sample).layout().wakes.size(), 200u);
  EXPECT_TRUE(testing::labelTexts(sample).join(" ").startsWith("−9 battery points · "))
      << testing::labelTexts(sample).join(" | ").toStdString();

  QSignalSpy finished(&view, &WelcomeView::finished);
  EXPECT_FALSE(view.backButton()->isEnabled());
  for (int page = 2; page <= 5; ++page) QTest::mouseClick(view.nextButton(), Qt::LeftButton);
  EXPECT_EQ(view.findChild<QLabel*>("header")->text(), "How it works · 5 of 5");
  EXPECT_EQ(view.nextButton()->text(), "Start");
  EXPECT_TRUE(view.skipButton()->isHidden());
  QTest::mouseClick(view.backButton(), Qt::LeftButton);
  EXPECT_EQ(view.findChild<PageDots*>()->accessibleName(), "Page 4 of 5");
  EXPECT_EQ(view.nextButton()->text(), "Next");
  EXPECT_EQ(finished.count(), 0);
  view.setPage(4);
  QTest::mouseClick(view.nextButton(), Qt::LeftButton);
  EXPECT_TRUE(preview.settings().welcomeCompleted());
  EXPECT_EQ(finished.count(), 1);

  // Skip finishes from any page.
  preview.settings().setWelcomeCompleted(false);
  WelcomeView again(preview.model(), preview.preferences());
  QTest::mouseClick(again.skipButton(), Qt::LeftButton);
  EXPECT_TRUE(preview.settings().welcomeCompleted());
}

TEST(WelcomeViewTest, OptionsTurnOnOrSayWhyNot) {
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  preview.loginItem().refuse("The autostart folder is read-only");
  OptionsPanel refused(preview.preferences(), NightSource::pmset, Language::english);
  QTest::mouseClick(refused.loginButton(), Qt::LeftButton);
  EXPECT_EQ(refused.loginButton()->text(), "Not allowed");
  EXPECT_EQ(refused.loginButton()->toolTip(), "The autostart folder is read-only");
  preview.loginItem().refuse(std::nullopt);

  OptionsPanel panel(preview.preferences(), NightSource::pmset, Language::english);
  EXPECT_NE(panel.loginButton()->accessibleName(), panel.notificationButton()->accessibleName());
  QTest::mouseClick(panel.loginButton(), Qt::LeftButton);
  EXPECT_TRUE(preview.loginItem().isEnabled());
  EXPECT_EQ(panel.loginButton()->text(), "On");
  EXPECT_FALSE(panel.loginButton()->isEnabled());
  // No notification service at all (the preview has no notifier): not allowed, and off.
  QTest::mouseClick(panel.notificationButton(), Qt::LeftButton);
  EXPECT_EQ(panel.notificationButton()->text(), "Not allowed");
  EXPECT_FALSE(preview.settings().morningNotification());
}

}  // namespace
}  // namespace snoozlet::views
