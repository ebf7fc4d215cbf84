#include "settings/DryRunRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

namespace snoozlet {
namespace {

const PlannedChange kWomp{FixID::wakeForNetworkOff, "womp", PowerScope::battery, "1", "0"};
const PlannedChange kProximity{FixID::proximityWakeOff, "proximitywake", PowerScope::battery, "1", "0"};

TEST(DryRunRunnerTest, RecordsTheShellTextOfAcceptedPlansOnlyFromAnyThread) {
  DryRunRunner runner;
  ASSERT_TRUE(runner.run(FixPlan{{kWomp, kProximity}, {}}));
  PlannedChange hostile = kWomp;
  hostile.target = "0 && reboot";
  const RunResult refused = runner.run(FixPlan{{kProximity, hostile}, {}});
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().kind, RunFailure::Kind::script);
  EXPECT_THAT(refused.error().description(), ::testing::HasSubstr("womp"));
  EXPECT_THAT(runner.scripts(),
              ::testing::ElementsAre("/usr/bin/pmset -b womp 0 && /usr/bin/pmset -b proximitywake 0"));

  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 100; ++i) ASSERT_TRUE(runner.run(FixPlan{{kWomp}, {}}));
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(runner.scripts().size(), 801u);
}

}  // namespace
}  // namespace snoozlet
