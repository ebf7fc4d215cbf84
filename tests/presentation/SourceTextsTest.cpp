// The texts that name the machine follow the night source: a Linux laptop's
// journal never reads "Mac" or "macOS" in either language, and a Mac keeps
// its own words.

#include "presentation/SettingsRows.h"
#include "presentation/SourceTexts.h"
#include "sessions/WakeCategory.h"

#include <gtest/gtest.h>

namespace snoozlet::presentation {
namespace {

// Every text a window shows that depends on the source.
std::vector<std::string> sourceTexts(NightSource source, Language l) {
  std::vector<std::string> texts;
  for (const WelcomePage& page : welcomePages(source, l)) texts.insert(texts.end(), {page.title, page.body});
  const std::vector<std::string> notification = welcomeNotificationLines(source, l);
  texts.push_back(notification.front());
  // Only a Mac asks for permission: its second line says what for.
  if (notification.size() != (source == NightSource::journal ? 1u : 2u)) texts.push_back("wrong number of lines");
  const LogCaption log = systemLogCaption(source, l);
  texts.insert(texts.end(), {settingsNotificationLine(source, l), log.name, log.keeps, keptAwakeBadge(source, l)});
  for (WakeCategory category : kAllWakeCategories) texts.emplace_back(wake_category::explanation(category, l, source));
  FixPlan plan;
  plan.changes = {{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"}};
  const ReviewSheet sheet = reviewSheet(plan, {l, "/usr/bin/pmset", true, false, source});
  texts.insert(texts.end(), {sheet.subtitle, *sheet.dryRunNote});
  return texts;
}

TEST(SourceTextsTest, ALinuxLaptopIsNeverCalledAMac) {
  for (Language l : {Language::english, Language::turkish}) {
    const std::vector<std::string> laptop = sourceTexts(NightSource::journal, l);
    const std::vector<std::string> mac = sourceTexts(NightSource::pmset, l);
    ASSERT_EQ(laptop.size(), mac.size());
    int differ = 0;
    for (std::size_t i = 0; i < laptop.size(); ++i) {
      EXPECT_FALSE(laptop[i].empty()) << i;
      EXPECT_EQ(laptop[i].find("Mac"), std::string::npos) << laptop[i];
      if (mac[i].find("Mac") != std::string::npos) {
        EXPECT_NE(laptop[i], mac[i]) << "not reworded: " << mac[i];
      }
      differ += laptop[i] != mac[i];
    }
    EXPECT_GE(differ, 15) << "the Mac's texts name the Mac";
    EXPECT_EQ(sourceTexts(NightSource::simulated, l), mac) << "the simulated Mac is a Mac";
  }
  EXPECT_EQ(keptAwakeBadge(NightSource::journal, Language::turkish), "Dizüstünü uyanık tuttu");
  EXPECT_EQ(welcomePages(NightSource::journal, Language::english).front().title, "Why did your laptop wake up?");
  EXPECT_EQ(welcomePages(NightSource::pmset, Language::turkish).size(), 5u);
}

}  // namespace
}  // namespace snoozlet::presentation
