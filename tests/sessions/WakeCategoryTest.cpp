#include "sessions/WakeCategory.h"

#include <gtest/gtest.h>

#include <set>

namespace snoozlet {
namespace {

TEST(WakeCategoryTest, EveryCategoryHasTextsOfItsOwnInBothLanguagesAndOnlyLidAndUserAreTheUsers) {
  for (const auto language : kAllLanguages) {
    std::set<std::string_view> titles, explanations, causes;
    for (const auto category : kAllWakeCategories) {
      titles.insert(wake_category::title(category, language));
      explanations.insert(wake_category::explanation(category, language));
      causes.insert(wake_category::cause(category, language));
      EXPECT_NE(wake_category::explanation(category, language),
                wake_category::explanation(category, language == Language::english ? Language::turkish
                                                                                   : Language::english));
      EXPECT_EQ(wake_category::isUserInitiated(category),
                category == WakeCategory::lid || category == WakeCategory::user);
    }
    for (const auto* texts : {&titles, &explanations, &causes}) {
      EXPECT_EQ(texts->size(), std::size(kAllWakeCategories));
      EXPECT_FALSE(texts->contains(""));
    }
  }
}

TEST(WakeCategoryTest, ReasonClassifiesItsText) {
  EXPECT_EQ(WakeReason("EC.LidOpen"), WakeReason("EC.LidOpen", WakeCategory::lid));
  EXPECT_NE(WakeReason("EC.LidOpen"), WakeReason("EC.LidOpen", WakeCategory::user));
  EXPECT_EQ(WakeReason().category, WakeCategory::unknown);
  EXPECT_NE(std::hash<WakeReason>()(WakeReason("x", WakeCategory::lid)),
            std::hash<WakeReason>()(WakeReason("x", WakeCategory::user)));
}

}  // namespace
}  // namespace snoozlet
