#include "sessions/WakeClassifier.h"

#include <gtest/gtest.h>

#include <string_view>

namespace snoozlet {
namespace {

using C = WakeCategory;

struct Case {
  std::string_view raw;
  WakeCategory expected;
};

// Each rule fires at least once on text no earlier rule matches, followed by
// the consequences of their order.
constexpr Case kCases[] = {
    {"NUB.SPMI0.SW3 nub-spmi0.0x02 rtc/SleepService", C::backgroundTask},                         // 1
    {"RTC /SleepService", C::backgroundTask},                                                     // 2
    {"NUB.SPMI0.SW3 nub-spmi0.0x02 rtc/Maintenance", C::maintenance},                             // 3
    {"RTC (Maintenance)", C::maintenance},                                                        // 4
    {"x/Maintenance", C::maintenance},                                                            // 5
    {"x/maintenance", C::unknown},                                                                // 5 is case-sensitive
    {"rtc/Alarm", C::scheduled},                                                                  // 6
    {"RTC (Alarm)", C::scheduled},                                                                // 7
    {"rtc/UserWake", C::scheduled},                                                               // 8
    {"x/UserWake", C::scheduled},                                                                 // 9
    {"smc.sysState.Wake(0x70070000) USB-C_plug SMC.OutboxNotEmpty nub-spmi-a0.0x3F/", C::power},  // 10
    {"ACAttach", C::power},                                                                       // 11
    {"x/AC Attach", C::power},                                                                    // 12
    {"AC", C::power},                                                                             // 13
    {"mac", C::unknown},
    {"x/AC", C::unknown},
    {"smc.sysState.Wake(0x70070000) lid SMC.OutboxNotEmpty RTP.multi-touch/HID Activity", C::lid},  // 14
    {"EC.LidOpen", C::lid},                                                                         // 15
    {"x/Lid Open", C::lid},                                                                         // 16
    {"smc.sysState.Wake(0x70070000) wifibt SMC.OutboxNotEmpty/", C::network},                       // 17
    {"ARPT", C::network},                                                                           // 18
    {"WLAN", C::network},                                                                           // 19
    {"AirPort.WiFi", C::network},                                                                   // 20
    {"BT", C::network},                                                                             // 21
    {"x/Bluetooth", C::network},                                                                    // 22
    {"x/HID Activity", C::user},                                                                    // 23
    {"x/UserActivity", C::user},                                                                    // 24
    {"RTP.Multi-Touch", C::user},                                                                   // 25
    {"PWRB", C::user},                                                                              // 26
    {"HID ACTIVITY", C::user},                                                                      // 27
    {"USERACTIVITY", C::user},                                                                      // 28
    {"Voice_Trigger", C::siri},                                                                     // 29
    {"SIRI", C::siri},                                                                              // 30
    {"GIGE", C::networkAccess},                                                                     // 31
    {"Magic Packet", C::networkAccess},                                                             // 32
    {"EN0/x", C::networkAccess},                                                                    // 33
    {"Network Wake", C::networkAccess},                                                             // 34
    {"XHC1", C::usb},                                                                               // 35
    {"port EHC2", C::usb},
    {"usb3", C::usb},
    {"x/XHC1", C::unknown},
    {"Notification", C::notification},         // 36
    {"x/Notification", C::notification},       // 37
    {"x/notification", C::unknown},            // 37 is case-sensitive
    {"Notification Center", C::notification},  // 38
    {"rtc", C::maintenance},                   // 39
    {"", C::unknown},                          // 40
    {"something else", C::unknown},
    // Order and view consequences.
    {"rtc/SleepService", C::backgroundTask},
    {"wifibt/HID Activity", C::network},
    {"bt Siri", C::network},
    {"XHC1 bluetooth", C::network},
    {"XHC1 magic packet", C::networkAccess},
    {"notification rtc", C::notification},
    {"  lid  ", C::lid},
    {"lid\tx", C::unknown},  // words are split at spaces only
    {"x/ac lid usb", C::unknown},
    // Unicode lower-casing: the Kelvin sign lower-cases to "k", "Ü" to "ü",
    // while "İ" becomes "i" plus a combining dot, so "WİFİ" is not "wifi".
    {"MAGIC PAC\u212AET", C::networkAccess},
    {"Ünicode LID", C::lid},
    {"Ünicode WIFI", C::network},
    {"W\u0130F\u0130", C::unknown},
};

TEST(WakeClassifierTest, RulesInOrder) {
  for (const auto& c : kCases) {
    EXPECT_EQ(toString(WakeClassifier::classify(c.raw)), toString(c.expected)) << "reason: \"" << c.raw << "\"";
  }
}

TEST(WakeClassifierTest, InvalidUtf8IsClassifiedWithoutHarm) {
  EXPECT_EQ(WakeClassifier::classify("\xFF\xFE lid"), C::lid);
  EXPECT_EQ(WakeClassifier::classify("\xC3"), C::unknown);
}

}  // namespace
}  // namespace snoozlet
