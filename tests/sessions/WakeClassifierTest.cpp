#include "sessions/WakeClassifier.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

using enum WakeCategory;

TEST(WakeClassifierTest, RulesInOrder) {
  // Each rule fires at least once on text no earlier rule matches, followed by
  // the consequences of their order.
  const std::pair<std::string_view, WakeCategory> cases[] = {
      {"NUB.SPMI0.SW3 nub-spmi0.0x02 rtc/SleepService", backgroundTask}, {"RTC /SleepService", backgroundTask},
      {"NUB.SPMI0.SW3 nub-spmi0.0x02 rtc/Maintenance", maintenance}, {"RTC (Maintenance)", maintenance},
      {"x/Maintenance", maintenance}, {"x/maintenance", unknown}, {"rtc/Alarm", scheduled}, {"RTC (Alarm)", scheduled},
      {"rtc/UserWake", scheduled}, {"x/UserWake", scheduled},
      {"smc.sysState.Wake(0x70070000) USB-C_plug SMC.OutboxNotEmpty nub-spmi-a0.0x3F/", power},
      {"ACAttach", power}, {"x/AC Attach", power}, {"AC", power}, {"mac", unknown}, {"x/AC", unknown},
      {"smc.sysState.Wake(0x70070000) lid SMC.OutboxNotEmpty RTP.multi-touch/HID Activity", lid},
      {"EC.LidOpen", lid}, {"x/Lid Open", lid},
      {"smc.sysState.Wake(0x70070000) wifibt SMC.OutboxNotEmpty/", network}, {"ARPT", network}, {"WLAN", network},
      {"AirPort.WiFi", network}, {"BT", network}, {"x/Bluetooth", network},
      {"x/HID Activity", user}, {"x/UserActivity", user}, {"RTP.Multi-Touch", user}, {"PWRB", user},
      {"HID ACTIVITY", user}, {"USERACTIVITY", user}, {"Voice_Trigger", siri}, {"SIRI", siri},
      {"GIGE", networkAccess}, {"Magic Packet", networkAccess}, {"EN0/x", networkAccess},
      {"Network Wake", networkAccess}, {"XHC1", usb}, {"port EHC2", usb}, {"usb3", usb}, {"x/XHC1", unknown},
      {"Notification", notification}, {"x/Notification", notification}, {"x/notification", unknown},
      {"Notification Center", notification}, {"rtc", maintenance}, {"", unknown}, {"something else", unknown},
      // Order and word consequences.
      {"rtc/SleepService", backgroundTask}, {"wifibt/HID Activity", network}, {"bt Siri", network},
      {"XHC1 bluetooth", network}, {"XHC1 magic packet", networkAccess}, {"notification rtc", notification},
      {"  lid  ", lid}, {"lid\tx", unknown} /* words are split at spaces only */, {"x/ac lid usb", unknown},
      // Unicode lower-casing: the Kelvin sign lower-cases to "k", "Ü" to "ü",
      // while "İ" becomes "i" plus a combining dot, so "WİFİ" is not "wifi".
      {"MAGIC PAC\u212AET", networkAccess}, {"Ünicode LID", lid}, {"Ünicode WIFI", network}, {"W\u0130F\u0130", unknown},
      // Invalid UTF-8 is classified without harm.
      {"\xFF\xFE lid", lid}, {"\xC3", unknown},
  };
  for (const auto& [raw, expected] : cases) {
    EXPECT_EQ(toString(WakeClassifier::classify(raw)), toString(expected)) << "reason: \"" << raw << "\"";
  }
}

}  // namespace
}  // namespace snoozlet
