// The kernel's wake counts of a night as every front end shows them, and the
// narrator's sentence about them.

#include "Nights.h"
#include "narration/Narrator.h"
#include "presentation/KernelRows.h"

#include <gtest/gtest.h>

namespace snoozlet::presentation {
namespace {

using namespace snoozlet::testing;

// Two sleeps of an eight-hour night: the USB controller woke it 4 + 2 times,
// the Wi-Fi 3, and the hardware slept 12% of the s2idle time.
NightReport countedNight() {
  NightReport night = report(session(8));
  const SourceWakes usb{"0000:00:14.0", "0000:00:14.0", "xhci_hcd", "0x0c0330", "XHC", 4, 4};
  const SourceWakes wifi{"0000:05:00.0", "0000:05:00.0", "iwlwifi", "0x028000", "PXSX", 3, 3};
  SourceWakes usbAgain = usb;
  usbAgain.wakeups = 2;
  night.kernelSleeps = {
      {.slept = kNightStart,
       .resumed = kNightStart + 3 * 3600,
       .memSleep = "s2idle",
       .sources = {usb, wifi},
       .hardwareSleep = 1296},
      {.slept = kNightStart + 3 * 3600 + 60,
       .resumed = kNightStart + 8 * 3600,
       .memSleep = "s2idle",
       .sources = {usbAgain},
       .hardwareSleep = 2149.2},
  };
  return night;
}

TEST(KernelRowsTest, TheCountsOfANightInEveryFrontEnd) {
  const NightReport night = countedNight();
  const KernelSection en = *kernelSection(night, kEnglish);
  EXPECT_EQ(en.title, "What the kernel counted");
  EXPECT_EQ(en.rows, (std::vector<KernelWakeRow>{{"USB controller (XHC)", "×6"}, {"Wi-Fi", "×3"}}));
  EXPECT_EQ(en.hardwareLine, "In hardware sleep for 12% of the night");
  EXPECT_FALSE(en.none);
  EXPECT_EQ(kernelSection(night, kTurkish)->hardwareLine, "Gecenin %12 kadarı donanım uykusunda");
  EXPECT_EQ(kernelLine(night, kEnglish),
            "Kernel: USB controller (XHC) ×6, Wi-Fi ×3 · in hardware sleep for 12% of "
            "the night");

  const Narrator english(kEnglish, NightSource::journal);
  const Narrator turkish(kTurkish, NightSource::journal);
  EXPECT_NE(english.speech(night).find(" The kernel counted 9 wakes, mostly from the USB controller (XHC); I was in "
                                       "hardware sleep for 12% of the night. "),
            std::string::npos)
      << english.speech(night);
  EXPECT_NE(turkish.speech(night).find(" Çekirdek 9 uyanma saydı, çoğu USB denetleyicisi (XHC) yüzünden; gecenin %12 "
                                       "kadarını donanım uykusunda geçirdim. "),
            std::string::npos)
      << turkish.speech(night);
  EXPECT_NE(
      english.plainSummary(night).find("Kernel: 9 wakes, mostly the USB controller (XHC); 12% in hardware sleep."),
      std::string::npos);

  // Deep sleep is all hardware sleep: no share is claimed; no source woke it.
  NightReport deep = report(session(8));
  deep.kernelSleeps = {
      {.slept = kNightStart, .resumed = kNightStart + 8 * 3600, .memSleep = "deep", .hardwareSleep = 0}};
  const KernelSection quiet = *kernelSection(deep, kEnglish);
  EXPECT_TRUE(quiet.rows.empty());
  EXPECT_EQ(quiet.none, "No wakeup source woke the laptop.");
  EXPECT_FALSE(quiet.hardwareLine);
  EXPECT_NE(english.speech(deep).find("The kernel counted no wakes."), std::string::npos);

  // Nothing read around the sleeps: nothing shown, nothing said.
  const NightReport unread = report(session(8));
  EXPECT_FALSE(kernelSection(unread, kEnglish));
  EXPECT_FALSE(kernelLine(unread, kTurkish));
  EXPECT_EQ(english.speech(unread).find("kernel"), std::string::npos);
}

}  // namespace
}  // namespace snoozlet::presentation
