#include "sessions/WakeCategory.h"

#include <gtest/gtest.h>

#include <string>

namespace snoozlet {
namespace {

TEST(WakeCategoryTest, RawValuesRoundTrip) {
  const char* names[] = {"network", "backgroundTask", "maintenance",  "scheduled",     "power",  "lid", "user",
                         "usb",     "siri",           "notification", "networkAccess", "unknown"};
  ASSERT_EQ(std::size(kAllWakeCategories), std::size(names));
  for (std::size_t i = 0; i < std::size(names); ++i) {
    EXPECT_EQ(toString(kAllWakeCategories[i]), names[i]);
    EXPECT_EQ(wakeCategoryFromString(names[i]), kAllWakeCategories[i]);
  }
  EXPECT_EQ(wakeCategoryFromString("Network"), std::nullopt);
  EXPECT_EQ(wakeCategoryFromString("background_task"), std::nullopt);
  EXPECT_EQ(wakeCategoryFromString(""), std::nullopt);
}

TEST(WakeCategoryTest, EveryCategoryHasTextsInBothLanguages) {
  int titleDiffersEnglish = 0, titleDiffersTurkish = 0;
  for (const auto category : kAllWakeCategories) {
    for (const auto language : kAllLanguages) {
      EXPECT_FALSE(wake_category::title(category, language).empty());
      EXPECT_FALSE(wake_category::explanation(category, language).empty());
      EXPECT_FALSE(wake_category::cause(category, language).empty());
    }
    EXPECT_NE(wake_category::explanation(category, Language::english),
              wake_category::explanation(category, Language::turkish));
    titleDiffersEnglish +=
        wake_category::title(category, Language::english) != wake_category::cause(category, Language::english);
    titleDiffersTurkish +=
        wake_category::title(category, Language::turkish) != wake_category::cause(category, Language::turkish);
  }
  // Only "USB devices" (and in Turkish also "Wi-Fi ve Bluetooth") reads the
  // same as a title and inside a sentence.
  EXPECT_EQ(titleDiffersEnglish, 11);
  EXPECT_EQ(titleDiffersTurkish, 10);
}

TEST(WakeCategoryTest, TextsSpotChecks) {
  using wake_category::cause;
  using wake_category::explanation;
  using wake_category::title;
  constexpr auto en = Language::english;
  constexpr auto tr = Language::turkish;
  EXPECT_EQ(title(WakeCategory::network, en), "Wi-Fi & Bluetooth");
  EXPECT_EQ(cause(WakeCategory::network, en), "Wi-Fi and Bluetooth");
  EXPECT_EQ(explanation(WakeCategory::network, en),
            "The Wi-Fi/Bluetooth chip woke the Mac: network traffic it was asked to watch, the Bonjour sleep proxy, "
            "or a nearby Bluetooth device. TCP keepalive and “Wake for network access” make this more frequent.");
  EXPECT_EQ(explanation(WakeCategory::network, tr),
            "Wi-Fi/Bluetooth çipi uyandırdı: izlemesi istenen ağ trafiği, Bonjour uyku vekili ya da yakındaki bir "
            "Bluetooth aygıtı. TCP keepalive ve “Ağ erişimi için uyandır” bunu sıklaştırır.");
  EXPECT_EQ(title(WakeCategory::backgroundTask, tr), "Arka plan işleri");
  EXPECT_EQ(cause(WakeCategory::backgroundTask, tr), "macOS’in arka plan işleri");
  EXPECT_EQ(explanation(WakeCategory::scheduled, en),
            "An alarm set by an app or the calendar. “pmset -g sched” lists the upcoming ones.");
  EXPECT_EQ(title(WakeCategory::power, tr), "Şarj aleti");
  EXPECT_EQ(explanation(WakeCategory::lid, tr), "Kapağı açtın.");
  EXPECT_EQ(explanation(WakeCategory::usb, tr), "Bağlı bir USB aygıtı Mac’i uyandırmak istedi.");
  EXPECT_EQ(explanation(WakeCategory::siri, en),
            "The always-on voice trigger heard something that might have been “Siri”.");
  EXPECT_EQ(title(WakeCategory::networkAccess, en), "Wake for network access");
  EXPECT_EQ(cause(WakeCategory::networkAccess, tr), "ağdan gelen uyandırma istekleri");
  EXPECT_EQ(title(WakeCategory::unknown, en), "Unrecognised");
  EXPECT_EQ(cause(WakeCategory::unknown, en), "reasons I couldn’t name");
  EXPECT_EQ(explanation(WakeCategory::unknown, en), "macOS logged a reason Snoozlet doesn’t recognise yet.");
  EXPECT_EQ(explanation(WakeCategory::unknown, tr), "macOS’in yazdığı sebebi Snoozlet henüz tanımıyor.");
}

TEST(WakeCategoryTest, OnlyLidAndUserAreUserInitiated) {
  for (const auto category : kAllWakeCategories) {
    const bool expected = category == WakeCategory::lid || category == WakeCategory::user;
    EXPECT_EQ(wake_category::isUserInitiated(category), expected) << toString(category);
  }
}

TEST(WakeCategoryTest, ReasonClassifiesItsText) {
  const WakeReason reason("NUB.SPMI0.SW3 nub-spmi0.0x02 rtc/SleepService");
  EXPECT_EQ(reason.raw, "NUB.SPMI0.SW3 nub-spmi0.0x02 rtc/SleepService");
  EXPECT_EQ(reason.category, WakeCategory::backgroundTask);
  EXPECT_EQ(WakeReason("EC.LidOpen"), WakeReason("EC.LidOpen", WakeCategory::lid));
  EXPECT_NE(WakeReason("EC.LidOpen"), WakeReason("EC.LidOpen", WakeCategory::user));
  EXPECT_EQ(WakeReason().category, WakeCategory::unknown);
  EXPECT_NE(std::hash<WakeReason>()(WakeReason("x", WakeCategory::lid)),
            std::hash<WakeReason>()(WakeReason("x", WakeCategory::user)));
}

}  // namespace
}  // namespace snoozlet
