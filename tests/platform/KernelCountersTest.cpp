// The kernel's wake counts read from a tree of real /sys and /proc files under
// a system root, as the tray application reads them around a sleep.

#include "TestSupport.h"
#include "platform/linux/KernelCounters.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(KernelCountersTest, ALaptopTreeReadsAsItsSourcesStatsAndSleep) {
  const SystemRoot root(testing::fixturePath("system/thinkpad-s2idle"));
  ASSERT_TRUE(hasKernelCounts(root));
  const KernelSnapshot snapshot = readKernelSnapshot(root, 1796511600);
  EXPECT_EQ(snapshot.taken, 1796511600);
  EXPECT_EQ(snapshot.memSleep, "s2idle");
  ASSERT_EQ(snapshot.sources.size(), 10u);
  const WakeupSource& lid = snapshot.sources[0];
  EXPECT_EQ(lid, (WakeupSource{"PNP0C0D:00", "PNP0C0D:00", "", "", "LID", 58, 0, 58, 3}));
  const WakeupSource& usb = snapshot.sources[5];
  EXPECT_EQ(usb, (WakeupSource{"0000:00:14.0", "0000:00:14.0", "xhci_hcd", "0x0c0330", "XHC", 302, 17, 302, 1840}));
  EXPECT_EQ(snapshot.sources[7].acpiName, "PXSX") << "behind its root port";
  EXPECT_EQ(snapshot.stats, (SuspendStats{412, 3, "suspend", 27348210, 3391870512, 30952113}));

  // Where the files are not there, nothing is claimed and nothing fails.
  testing::TempDir empty;
  EXPECT_FALSE(hasKernelCounts(SystemRoot(empty.path())));
  const KernelSnapshot none = readKernelSnapshot(SystemRoot(empty.path()), 5);
  EXPECT_TRUE(none.sources.empty());
  EXPECT_EQ(none.stats, SuspendStats{});
  EXPECT_EQ(none.memSleep, "");

  // The root comes from the environment, "/" by default.
  {
    const testing::ScopedEnv unset("SNOOZLET_SYSTEM_ROOT", nullptr);
    EXPECT_TRUE(SystemRoot::fromEnvironment().isMachine());
  }
  const testing::ScopedEnv set("SNOOZLET_SYSTEM_ROOT", empty.path().c_str());
  EXPECT_EQ(SystemRoot::fromEnvironment()("/sys/power/mem_sleep"), empty / "sys/power/mem_sleep");
}

}  // namespace
}  // namespace snoozlet
