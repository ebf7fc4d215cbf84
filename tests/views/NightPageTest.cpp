// The night page for each state of the model: the rows and texts it shows,
// the buttons that call the change controller, and a refresh that changes
// its contents, not its widgets.

#include "ViewTesting.h"
#include "narration/Narrator.h"
#include "views/MorningReportView.h"
#include "views/Navigator.h"
#include "views/NightPage.h"
#include "views/Remedies.h"
#include "views/Theme.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace snoozlet::views {
namespace {

using preview::Contents;
using preview::PreviewModel;
using testing::labelTexts;

// The page and the navigator it follows.
struct Page {
  explicit Page(PreviewModel& preview)
      : navigator(preview.model()), page(preview.model(), preview.changes(), navigator) {}
  QWidget* section(const char* name) const { return page.widget()->findChild<QWidget*>(name); }
  QStringList shown(const char* name) const {
    QStringList texts;
    for (const QLabel* label : section(name)->findChildren<QLabel*>()) {
      if (label->isVisibleTo(section(name))) texts << label->text();
    }
    return texts;
  }
  Navigator navigator;
  NightPage page;
};

TEST(NightPageTest, SoundNightHasNothingToFixRestlessNightOffersItsFixes) {
  PreviewModel sound(Contents::of(preview::week(Mood::soundAsleep)));
  Page quiet(sound);
  EXPECT_EQ(testing::child<QLabel>(*quiet.page.widget(), "nothingToFix").text(),
            "Nothing to fix: this was a normal night for this Mac.");
  EXPECT_TRUE(quiet.page.widget()->findChildren<SuggestionRow*>().isEmpty());

  PreviewModel restless(Contents::of(preview::week(Mood::restless)));
  ChangeController& changes = restless.changes();
  Page page(restless);
  const auto rows = page.page.widget()->findChildren<SuggestionRow*>();
  const auto suggestions = restless.model().suggestions(*page.page.night());
  ASSERT_EQ(rows.size(), static_cast<qsizetype>(suggestions.size()));
  EXPECT_TRUE(testing::child<QLabel>(*page.page.widget(), "nothingToFix").isHidden());

  auto& review = testing::child<QPushButton>(*page.page.widget(), "review-powerNapOff");
  EXPECT_TRUE(review.accessibleName().contains("Power Nap")) << "the name says which change";
  QTest::mouseClick(&review, Qt::LeftButton);
  ASSERT_TRUE(changes.review());
  ASSERT_EQ(changes.review()->plan.changes.size(), 1u);
  EXPECT_EQ(changes.review()->plan.changes[0].fix, FixID::powerNapOff);
  changes.declineReview();

  std::vector<FixID> offered;
  for (const auto& s : suggestions) {
    if (const auto id = s.kind.fixID()) offered.push_back(*id);
  }
  ASSERT_GE(offered.size(), 2u);
  QPushButton* all = page.page.remedies()->reviewAllButton();
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(all->text(), QStringLiteral("Review All %1").arg(offered.size()));
  QTest::mouseClick(all, Qt::LeftButton);
  ASSERT_TRUE(changes.review());
  std::vector<FixID> reviewed;
  for (const auto& change : changes.review()->plan.changes) reviewed.push_back(change.fix);
  EXPECT_EQ(reviewed, offered);
}

TEST(NightPageTest, HoldersRequestersAndTheirEmptyLines) {
  // A tool the user started, no requests matched (no background-task wakes).
  PreviewModel tool(
      Contents::of({testing::demoNight({{std::string(DemoLog::wifi), 12, 20}}, DemoLog::Holder{"caffeinate", 2})}));
  Page page(tool);
  ASSERT_TRUE(page.page.night());
  const QStringList lamp = page.shown("lamp");
  EXPECT_TRUE(lamp.contains("You or a script asked for this · PreventSystemSleep")) << lamp.join(" | ").toStdString();
  EXPECT_EQ(page.section("lamp")->findChild<QWidget*>("keepsMacAwake"), nullptr);
  EXPECT_TRUE(page.shown("alarms").contains("No scheduled wakes matched."));
  EXPECT_TRUE(page.shown("wokeMe").contains("12 · 3 min")) << page.shown("wokeMe").join(" | ").toStdString();

  // An app holding PreventSystemSleep is set apart; nobody holding shows the sentence.
  PreviewModel app(
      Contents::of({testing::demoNight({{std::string(DemoLog::task), 9, 10}}, DemoLog::Holder{"zoom.us", 3})}));
  Page appPage(app);
  EXPECT_NE(appPage.section("lamp")->findChild<QWidget*>("keepsMacAwake"), nullptr);
  EXPECT_TRUE(appPage.shown("lamp").contains("Kept the Mac awake"));
  EXPECT_FALSE(appPage.shown("alarms").contains("No scheduled wakes matched."));
  PreviewModel nobody(Contents::of({testing::demoNight({{std::string(DemoLog::wifi), 3, 10}})}));
  Page nobodyPage(nobody);
  EXPECT_TRUE(nobodyPage.shown("lamp").contains("Nobody kept me up."));
}

// A short report in a bubble as tall as the mascot keeps its words as close
// under the date as a long one does: the space left over goes around them,
// not into the labels (whose text would then float in the middle).
TEST(NightPageTest, TheBubblesWordsSitUnderTheDateWhateverTheirLength) {
  MorningReportView view(false);
  view.resize(760, 300);
  view.show();
  auto excess = [&](const QString& text) {
    view.setReport(Mood::soundAsleep, text, QStringLiteral("Saturday night, 5 December"), false);
    QCoreApplication::processEvents();
    const auto* date = view.findChild<DateLine*>();
    const QLabel* words = nullptr;
    for (const QLabel* label : view.findChildren<QLabel*>("morningText")) {
      if (label->isVisibleTo(&view)) words = label;
    }
    return std::pair{date->height() - date->sizeHint().height(),
                     words->height() - words->heightForWidth(words->width())};
  };
  EXPECT_EQ(excess(QStringLiteral("Good morning!")), std::pair(0, 0));
  EXPECT_EQ(excess(QString(QStringLiteral("I woke up 354 times last night. ")).repeated(6)), std::pair(0, 0));
}

TEST(NightPageTest, FiguresRatioColourNoticePlainModeAndTheNightItFollows) {
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  AppModel& model = preview.model();
  Page page(preview);
  const auto& ratio = testing::child<QLabel>(testing::child<QWidget>(*page.page.widget(), "battery"), "ratio");
  EXPECT_EQ(ratio.text(), "2.9× normal");
  // Warning red, not the body text's colour.
  const QColor colour = ratio.palette().color(QPalette::WindowText);
  EXPECT_GT(colour.red(), colour.green() + 60) << colour.name().toStdString();

  NoticeLine* notice = page.page.remedies()->notice();
  EXPECT_TRUE(notice->isHidden());
  model.setNotice("Done. Snoozlet kept the previous values; you can undo this in Sleep settings.");
  EXPECT_FALSE(notice->isHidden());
  EXPECT_EQ(notice->label()->text().toStdString(), *model.notice());
  QTest::mouseClick(notice->dismissButton(), Qt::LeftButton);
  EXPECT_FALSE(model.notice());
  EXPECT_TRUE(notice->isHidden());

  const Narrator narrator(NightFormat(Language::english, preview::zone()));
  auto morning = [&] {
    for (const QLabel* label : page.page.widget()->findChildren<QLabel*>("morningText")) {
      if (label->isVisibleTo(page.page.widget())) return label->text().toStdString();
    }
    return std::string();
  };
  // The words as the narrator wrote them, with no line break inside a name ("Wi‑Fi").
  EXPECT_EQ(morning(), shown(narrator.speech(*page.page.night())).toStdString());
  EXPECT_NE(morning().find("Wi\u2011Fi"), std::string::npos);
  preview.settings().setPlainMode(true);
  EXPECT_EQ(morning(), shown(narrator.plainSummary(*page.page.night())).toStdString());

  // The latest night until another night's page is chosen.
  EXPECT_EQ(page.page.night()->start(), model.latestNight()->start());
  const NightReport first = model.analysis()->nights().front();
  page.navigator.choose(views::Page::night(first.start()));
  EXPECT_EQ(page.page.night()->start(), first.start());

  Contents nothing;
  nothing.publish = false;
  PreviewModel empty(nothing);
  Page blank(empty);
  EXPECT_FALSE(blank.page.night());
}

TEST(NightPageTest, ARefreshChangesContentsNotWidgetsAndKeepsTheFocusAndTheScroll) {
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  Page page(preview);
  page.page.resize(900, 500);
  page.page.show();
  page.page.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&page.page));
  QCoreApplication::processEvents();
  auto* review = &testing::child<QPushButton>(*page.page.widget(), "review-powerNapOff");
  review->setFocus();
  QScrollBar* scroll = page.page.verticalScrollBar();
  ASSERT_GT(scroll->maximum(), 300);
  scroll->setValue(300);
  const auto widgets = page.page.widget()->findChildren<QWidget*>().size();

  // The same nights read again, and a notice that concerns only the suggestions' section.
  preview.publish(Contents::of(preview::week(Mood::restless)));
  preview.model().setNotice("Cancelled. Nothing was changed.");
  EXPECT_EQ(page.page.widget()->findChild<QPushButton*>("review-powerNapOff"), review);
  EXPECT_TRUE(review->hasFocus());
  EXPECT_EQ(scroll->value(), 300);
  EXPECT_EQ(page.page.widget()->findChildren<QWidget*>().size(), widgets);

  // Another night starts at the top.
  page.navigator.choose(views::Page::night(preview.model().analysis()->nights().front().start()));
  EXPECT_EQ(scroll->value(), 0);
}

}  // namespace
}  // namespace snoozlet::views
