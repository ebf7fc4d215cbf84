// The night page for each state of the model: the rows and texts it shows,
// and the buttons that call the model.

#include "ViewTesting.h"
#include "narration/Narrator.h"
#include "views/NightPage.h"
#include "views/Remedies.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace snoozlet::views {
namespace {

using preview::Contents;
using preview::PreviewModel;
using testing::labelTexts;

QWidget* section(NightPage& page, const char* name) { return page.widget()->findChild<QWidget*>(name); }

TEST(NightPageTest, SoundNightHasNothingToFixRestlessNightOffersItsFixes) {
  PreviewModel sound(Contents::of(preview::week(Mood::soundAsleep)));
  NightPage quiet(sound.model());
  EXPECT_EQ(testing::child<QLabel>(*quiet.widget(), "nothingToFix").text(),
            "Nothing to fix: this was a normal night for this Mac.");
  EXPECT_TRUE(quiet.widget()->findChildren<SuggestionRow*>().isEmpty());

  PreviewModel restless(Contents::of(preview::week(Mood::restless)));
  AppModel& model = restless.model();
  NightPage page(model);
  const auto rows = page.widget()->findChildren<SuggestionRow*>();
  const auto suggestions = model.suggestions(*page.night());
  ASSERT_EQ(rows.size(), static_cast<qsizetype>(suggestions.size()));
  EXPECT_EQ(page.widget()->findChild<QLabel*>("nothingToFix"), nullptr);

  QTest::mouseClick(&testing::child<QPushButton>(*page.widget(), "review-powerNapOff"), Qt::LeftButton);
  ASSERT_TRUE(model.review());
  ASSERT_EQ(model.review()->plan.changes.size(), 1u);
  EXPECT_EQ(model.review()->plan.changes[0].fix, FixID::powerNapOff);
  model.setReview(std::nullopt);

  std::vector<FixID> offered;
  for (const auto& s : suggestions) {
    if (const auto id = s.kind.fixID()) offered.push_back(*id);
  }
  ASSERT_GE(offered.size(), 2u);
  auto& all = testing::child<QPushButton>(*page.widget(), "reviewAll");
  EXPECT_EQ(all.text(), QStringLiteral("Review All %1").arg(offered.size()));
  QTest::mouseClick(&all, Qt::LeftButton);
  ASSERT_TRUE(model.review());
  std::vector<FixID> reviewed;
  for (const auto& change : model.review()->plan.changes) reviewed.push_back(change.fix);
  EXPECT_EQ(reviewed, offered);
}

TEST(NightPageTest, HoldersRequestersAndTheirEmptyLines) {
  // A tool the user started, no requests matched (no background-task wakes).
  PreviewModel tool(
      Contents::of({testing::demoNight({{std::string(DemoLog::wifi), 12, 20}}, DemoLog::Holder{"caffeinate", 2})}));
  NightPage page(tool.model());
  ASSERT_TRUE(page.night());
  const QStringList lamp = labelTexts(*section(page, "lamp"));
  EXPECT_TRUE(lamp.contains("You or a script asked for this · PreventSystemSleep")) << lamp.join(" | ").toStdString();
  EXPECT_EQ(section(page, "lamp")->findChild<QWidget*>("keepsMacAwake"), nullptr);
  EXPECT_TRUE(labelTexts(*section(page, "alarms")).contains("No scheduled wakes matched."));

  // An app holding PreventSystemSleep is set apart; nobody holding shows the sentence.
  PreviewModel app(
      Contents::of({testing::demoNight({{std::string(DemoLog::task), 9, 10}}, DemoLog::Holder{"zoom.us", 3})}));
  NightPage appPage(app.model());
  EXPECT_NE(section(appPage, "lamp")->findChild<QWidget*>("keepsMacAwake"), nullptr);
  EXPECT_FALSE(labelTexts(*section(appPage, "alarms")).contains("No scheduled wakes matched."));
  PreviewModel nobody(Contents::of({testing::demoNight({{std::string(DemoLog::wifi), 3, 10}})}));
  NightPage nobodyPage(nobody.model());
  EXPECT_TRUE(labelTexts(*section(nobodyPage, "lamp")).contains("Nobody kept me up."));
}

TEST(NightPageTest, FiguresRatioColourNoticePlainModeAndTheNightItFollows) {
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  AppModel& model = preview.model();
  NightPage page(model);
  const auto& ratio = testing::child<QLabel>(testing::child<QWidget>(*page.widget(), "battery"), "ratio");
  EXPECT_EQ(ratio.text(), "2.9× normal");
  // Warning red, not the body text's colour.
  const QColor colour = ratio.palette().color(QPalette::WindowText);
  EXPECT_GT(colour.red(), colour.green() + 60) << colour.name().toStdString();

  EXPECT_EQ(page.widget()->findChild<NoticeLine*>(), nullptr);
  model.setNotice(QStringLiteral("Done. Snoozlet kept the previous values; you can undo this in Sleep settings."));
  auto& notice = testing::child<NoticeLine>(*page.widget());
  EXPECT_TRUE(labelTexts(notice).contains(*model.notice()));
  QTest::mouseClick(notice.findChild<QPushButton*>(), Qt::LeftButton);
  EXPECT_FALSE(model.notice());
  EXPECT_EQ(page.widget()->findChild<NoticeLine*>(), nullptr);

  const Narrator narrator(NightFormat(Language::english, preview::zone()));
  auto morning = [&] { return page.widget()->findChild<QLabel*>("morningText")->text().toStdString(); };
  EXPECT_EQ(morning(), narrator.speech(*page.night()));
  preview.settings().setPlainMode(true);
  EXPECT_EQ(morning(), narrator.plainSummary(*page.night()));

  // The latest night until another night's page is chosen; nothing without an analysis.
  EXPECT_EQ(page.night()->start(), model.analysis()->lastNight()->start());
  const NightReport first = model.analysis()->nights().front();
  model.setPage(AppModel::Page::night(first.start()));
  EXPECT_EQ(page.night()->start(), first.start());

  Contents nothing;
  nothing.publish = false;
  PreviewModel empty(nothing);
  NightPage blank(empty.model());
  EXPECT_FALSE(blank.night());
  EXPECT_TRUE(labelTexts(*blank.widget()).isEmpty());
}

}  // namespace
}  // namespace snoozlet::views
