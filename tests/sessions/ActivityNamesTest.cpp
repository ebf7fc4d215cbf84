#include "sessions/ActivityNames.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace snoozlet {
namespace {

std::optional<std::string> clean(const char* identifier) { return ActivityNames::activity(std::string(identifier)); }

TEST(ActivityNamesTest, ActivityCleaning) {
  EXPECT_EQ(ActivityNames::activity(std::nullopt), std::nullopt);
  EXPECT_EQ(clean(""), std::nullopt);

  const struct {
    const char* identifier;
    const char* activity;
  } cases[] = {
      {"com.apple.dasd:501:com.apple.searchd.heartbeat", "com.apple.searchd.heartbeat"},
      {"com.apple.alarm.user-invisible-com.apple.x,1234", "com.apple.x"},
      {"com.apple.dasd:501:com.apple.alarm.user-invisible-com.apple.y,7", "com.apple.y"},
      {"job,12a", "job,12a"}, {"job,", "job"}, {"a,1,2", "a,1"}, {",", ""},
      // Malformed dasd identifiers pass through to the later steps.
      {"com.apple.dasd:com.apple.x", "com.apple.dasd:com.apple.x"}, {"com.apple.dasd:501:", "com.apple.dasd:501:"},
      {"com.apple.dasd::job,3", "com.apple.dasd::job"},
      // Empty pieces do not count: the job keeps later colons.
      {"com.apple.dasd::501:job:part", "job:part"}, {"com.apple.dasd:501:job:part", "job:part"},
      // UUIDs vanish, with a leading dot when there is one.
      {"com.apple.task.A1B2C3D4-0000-1111-2222-333344445555", "com.apple.task"},
      {"xa1b2c3d4-0000-1111-2222-333344445555y", "xy"},
      {"com.apple.dasd:501:job.A1B2C3D4-0000-1111-2222-333344445555,12", "job"},
      {"not-a-uuid-A1B2C3D4-0000-1111-2222", "not-a-uuid-A1B2C3D4-0000-1111-2222"},
  };
  for (const auto& c : cases) EXPECT_EQ(clean(c.identifier), c.activity) << c.identifier;
}

TEST(ActivityNamesTest, FriendlyNames) {
  using ActivityNames::friendly;
  EXPECT_EQ(friendly("com.apple.searchd.heartbeat", Language::turkish), "Spotlight yoklaması");
  // Without regard to case, in both directions.
  EXPECT_EQ(friendly("COM.APPLE.SEARCHD.HEARTBEAT", Language::english), "Spotlight heartbeat");
  EXPECT_EQ(friendly("com.apple.calaccessd.travelengine", Language::english), "Calendar travel-time refresh");
  EXPECT_EQ(friendly("dhcp lease renewal", Language::turkish), "Ağ adresi yenileme (DHCP)");
  // The first matching row wins.
  EXPECT_EQ(friendly("com.apple.obc.osanalytics", Language::english), "Optimised Battery Charging");
  EXPECT_EQ(friendly("com.apple.somethingelse", Language::english), std::nullopt);
  EXPECT_EQ(friendly("", Language::english), std::nullopt);
}

}  // namespace
}  // namespace snoozlet
