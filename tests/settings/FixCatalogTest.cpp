#include "settings/FixCatalog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace snoozlet {
namespace {

TEST(FixCatalogTest, EveryFixHasTextsOfItsOwnInBothLanguages) {
  for (Language language : kAllLanguages) {
    std::set<std::string> texts;
    for (FixID id : kAllFixIDs) {
      for (const std::string& text : {FixCatalog::title(id, language), FixCatalog::whatChanges(id, language),
                                      FixCatalog::giveUp(id, language)}) {
        EXPECT_FALSE(text.empty()) << toString(id);
        texts.insert(text);
      }
      EXPECT_NE(FixCatalog::title(id, language), FixCatalog::title(id, Language(1 - static_cast<int>(language))));
    }
    EXPECT_EQ(texts.size(), 3 * std::size(kAllFixIDs));
  }
}

TEST(FixCatalogTest, AvailableFixesCanStillChangeSomething) {
  PowerSettings settings;
  settings.current = {{"powernap", "1"}, {"womp", "0"}, {"tcpkeepalive", "1"}, {"lowpowermode", "0"}};
  settings.battery = {{"tcpkeepalive", "0"}};
  const PowerCapabilities all{{"tcpkeepalive", "powernap", "womp", "proximitywake", "ttyskeepawake", "lowpowermode"}};
  std::vector<FixID> ids;
  for (const Fix& fix : FixCatalog::available(settings, all)) ids.push_back(fix.id);
  // tcpkeepalive is already off on battery; womp already off; proximitywake unknown.
  EXPECT_THAT(ids, ::testing::ElementsAre(FixID::powerNapOff, FixID::lowPowerModeOn));
  EXPECT_TRUE(FixCatalog::available(settings, {{"womp", "tcpkeepalive"}}).empty());
}

}  // namespace
}  // namespace snoozlet
