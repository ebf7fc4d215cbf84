#include "common/Pattern.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(PatternTest, GroupsTellAbsentFromEmpty) {
  static const Pattern p("(a)?(b*)c");
  EXPECT_EQ(p.groupCount(), 2);
  EXPECT_EQ(p.firstMatch("xc"), (MatchGroups{"c", std::nullopt, ""}));
  EXPECT_EQ(p.allMatches("abc c bbc"),
            (std::vector<MatchGroups>{{"abc", "a", "b"}, {"c", std::nullopt, ""}, {"bbc", std::nullopt, "bb"}}));
  EXPECT_FALSE(p.firstMatch("xyz"));
  MatchViews views;
  ASSERT_TRUE(p.match("zabc", views));
  EXPECT_EQ(views, (MatchViews{"abc", "a", "b"}));
  EXPECT_FALSE(p.match("ab", views));
}

}  // namespace
}  // namespace snoozlet
