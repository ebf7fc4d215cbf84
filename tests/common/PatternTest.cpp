#include "common/Pattern.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(PatternTest, GroupsTellAbsentFromEmpty) {
  static const Pattern p("(a)?(b*)c");
  EXPECT_EQ(p.groupCount(), 2);
  const auto m = p.firstMatch("xc");
  ASSERT_TRUE(m);
  EXPECT_EQ(*m, (MatchGroups{"c", std::nullopt, ""}));
  const auto all = p.allMatches("abc c bbc");
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0], (MatchGroups{"abc", "a", "b"}));
  EXPECT_EQ(all[2], (MatchGroups{"bbc", std::nullopt, "bb"}));
  EXPECT_FALSE(p.firstMatch("xyz"));
  MatchViews views;
  ASSERT_TRUE(p.match("zabc", views));
  EXPECT_EQ(views, (MatchViews{"abc", "a", "b"}));
  EXPECT_FALSE(p.match("ab", views));
}

}  // namespace
}  // namespace snoozlet
