#include "analysis/Baseline.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

// One sample a day with the given drains per hour, oldest first.
std::vector<BaselineSample> daily(std::initializer_list<double> perHour) {
  std::vector<BaselineSample> out;
  double start = 0;
  for (double p : perHour) out.push_back({start += 86400, p, 0.02});
  return out;
}

TEST(BaselineTest, MedianOfTheNewestThirtyNightsReliableFromThree) {
  EXPECT_FALSE(Baseline::from({}));
  EXPECT_EQ(Baseline::from(daily({1.0, 3.0, 2.0}))->percentPerHour, 2.0);
  EXPECT_EQ(Baseline::from(daily({1.0, 3.0, 2.0, 10.0}))->percentPerHour, 2.5);

  std::vector<BaselineSample> many;
  for (int i = 0; i < 35; ++i) many.push_back({i * 86400.0, i < 5 ? 100.0 : 1.0, 0});
  EXPECT_EQ(Baseline::from(many), (Baseline{1.0, 0, 30}));  // the five oldest (100 each) are outside the window

  // The later sample of the same night replaces the stored one.
  EXPECT_EQ(Baseline::from({{1, 9.0, 0}, {2, 1.0, 0}, {1, 3.0, 0}}), (Baseline{2.0, 0, 2}));

  // Reliable from three nights; the ratio never divides by less than a floor.
  EXPECT_FALSE(Baseline::from(daily({1, 2}))->isReliable());
  EXPECT_TRUE(Baseline::from(daily({1, 2, 3}))->isReliable());
  EXPECT_DOUBLE_EQ((Baseline{0.05, 0, 3}.ratio(0.3)), 2.0);
  EXPECT_DOUBLE_EQ((Baseline{0.5, 0, 3}.ratio(1.5)), 3.0);
}

}  // namespace
}  // namespace snoozlet
