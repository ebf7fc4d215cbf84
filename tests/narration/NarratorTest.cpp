#include "narration/Narrator.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace snoozlet {
namespace {

const TimeZone istanbul = TimeZone::named("Europe/Istanbul").value();
const Narrator english(NightFormat(Language::english, istanbul));
const Narrator turkish(NightFormat(Language::turkish, istanbul));

// Wall-clock time on a day of December 2023 in Istanbul (the 5th is a Tuesday).
Instant at(int day, int hour, int minute = 0) {
  return GregorianCalendar(istanbul).instant({2023, 12, day, hour, minute, 0}).value();
}

// A report built field by field: by default a night from Tuesday 23:00 to
// 07:00 with no wakes and four hours on battery without any drain.
struct Night {
  NightReport r;

  explicit Night(Mood mood, Instant start = at(5, 23), double hours = 8) {
    r.session.start = start;
    r.session.end = start + hours * 3600;
    r.mood = mood;
    battery(80, 0, 4);
  }
  Night& nap() {
    r.kind = SleepKind::daytimeNap;
    return *this;
  }
  Night& wakes(int count, double awake, WakeCategory top, int topCount) {
    r.darkWakeCount = count;
    r.awakeSeconds = awake;
    r.groups = {ReasonGroup{top, topCount, awake, {}, {}}};
    return *this;
  }
  Night& battery(int first, int drop, double hours, std::optional<double> perHour = {},
                 std::optional<double> ratio = {}) {
    r.battery.first = BatteryPoint{r.start(), first, false};
    r.battery.last = BatteryPoint{r.start() + hours * 3600, first - drop, false};
    r.battery.drop = drop;
    r.battery.batteryHours = hours;
    r.battery.perHour = perHour;
    r.ratio = ratio;
    return *this;
  }
  Night& charger() {
    r.battery = BatteryTrend({BatteryPoint{r.start(), 100, true}, BatteryPoint{r.end(), 100, true}});
    return *this;
  }
  Night& culprit(const std::string& process, double seconds) {
    r.holders.push_back(HolderGroup{process, "PreventSystemSleep", "Rendering", 1, seconds, HolderOrigin::app});
    return *this;
  }
};

struct Case {
  const char* what;
  NightReport report;
  const char* en;
  const char* tr;  // none where the Turkish takes no branch the others do not
};

TEST(NarratorTest, SpeechesInBothLanguages) {
  const Instant afternoon = at(5, 13);
  // clang-format off
  const Case cases[] = {
      {"calm night", Night(Mood::soundAsleep).r,
       "Good morning! I didn’t wake up once last night; your battery didn’t budge. The teapot was nice and warm.",
       "Günaydın! Gece bir kez bile uyanmadım; pilin yerinden kıpırdamadı. Çaydanlığım sıcacıktı."},
      {"calm, one lid wake", Night(Mood::soundAsleep).wakes(1, 40, WakeCategory::lid, 1).battery(80, 1, 4).r,
       "Good morning! I woke up once last night, because of the lid; your battery lost just 1 point. "
       "The teapot was nice and warm.",
       "Günaydın! Gece 1 kez uyandım; o da kapak yüzünden; pilin sadece 1 puan gitti. Çaydanlığım sıcacıktı."},
      {"calm, charger only", Night(Mood::soundAsleep).wakes(2, 80, WakeCategory::network, 2).charger().r,
       "Good morning! I woke up 2 times last night, mostly because of Wi-Fi and Bluetooth; I was on the charger, "
       "so the battery had nothing to worry about. The teapot was nice and warm.",
       "Günaydın! Gece 2 kez uyandım, çoğu Wi-Fi ve Bluetooth yüzünden; Şarja takılıydım, pilin hiç derdi yoktu. "
       "Çaydanlığım sıcacıktı."},
      {"calm, 0.4 h on battery", Night(Mood::soundAsleep).battery(80, 3, 0.4).r,
       "Good morning! I didn’t wake up once last night; I was on the charger, so the battery had nothing to worry "
       "about. The teapot was nice and warm.",
       nullptr},
      {"calm nap", Night(Mood::soundAsleep, afternoon, 2).nap().battery(80, 2, 2).r,
       "What a lovely nap! I didn’t wake up once; your battery lost just 2 points. The teapot was nice and warm.",
       "Ne güzel bir şekerlemeydi! Uykumda bir kez bile uyanmadım; pilin sadece 2 puan gitti. Çaydanlığım sıcacıktı."},
      {"restless, no wakes", Night(Mood::restless).battery(80, 1, 4).r,
       "Morning… sort of. I didn’t wake up once last night. Your battery lost 1 point. "
       "I just couldn’t get comfy in the teapot.",
       "Günaydın… sayılır. Gece bir kez bile uyanmadım. Pilin 1 puan gitti. Çaydanlıkta bir türlü rahat edemedim."},
      {"restless, three wakes", Night(Mood::restless).wakes(3, 900, WakeCategory::network, 2).battery(80, 4, 4, 1, 2.0).r,
       "Morning… sort of. I woke up 3 times last night and lay awake for 15 minutes in total, mostly because of "
       "Wi-Fi and Bluetooth. Your battery lost 4 points, 2.0× your normal. I just couldn’t get comfy in the teapot.",
       "Günaydın… sayılır. Gece 3 kez uyandım, toplam 15 dakika gözüm açık kaldı; çoğu Wi-Fi ve Bluetooth yüzünden. "
       "Pilin 4 puan gitti; normalin 2,0 katı. Çaydanlıkta bir türlü rahat edemedim."},
      {"restless, ratio 1.29", Night(Mood::restless).wakes(1, 90, WakeCategory::lid, 1).battery(80, 4, 4, 1, 1.29).r,
       "Morning… sort of. I woke up once last night and lay awake for 2 minutes in total, because of the lid. "
       "Your battery lost 4 points. I just couldn’t get comfy in the teapot.",
       nullptr},
      {"restless, ratio 1.3", Night(Mood::restless).battery(80, 4, 4, 1, 1.3).r,
       "Morning… sort of. I didn’t wake up once last night. Your battery lost 4 points, 1.3× your normal. "
       "I just couldn’t get comfy in the teapot.",
       nullptr},
      {"restless nap with a culprit", Night(Mood::restless, afternoon, 3).nap().battery(80, 2, 3, 0.7).culprit("Renderer", 7200).r,
       "Not much of a nap. I didn’t wake up once. Your battery lost 2 points. Renderer also kept me up for 2 hours. "
       "I just couldn’t get comfy in the teapot.",
       "Şekerleme dediğin böyle olmaz. Uykumda bir kez bile uyanmadım. Pilin 2 puan gitti. "
       "Renderer de beni 2 saat ayakta tuttu. Çaydanlıkta bir türlü rahat edemedim."},
      {"sleepless nap with a culprit", Night(Mood::sleepless, afternoon, 4).nap().wakes(2, 60, WakeCategory::lid, 2)
           .battery(90, 10, 4, 2.46, 3.2).culprit("Renderer", 7200).r,
       "I didn’t sleep a wink! Renderer kept me up for 2 hours. Your battery drained 2.5 points an hour, 3.2× your "
       "normal. I’ve listed the suspects below.",
       "Gözümü bile kırpmadım! Renderer beni 2 saat ayakta tuttu. Pilin saatte 2,5 puan eridi; normalin 3,2 katı. "
       "Şüphelileri aşağıya yazdım."},
      {"sleepless without culprit or per-hour figure",
       Night(Mood::sleepless).wakes(12, 95 * 60, WakeCategory::maintenance, 7).battery(80, 3, 0.8, {}, 2.0).r,
       "I didn’t sleep a wink! I woke up 12 times last night and lay awake for 1.5 hours in total, mostly because of "
       "routine maintenance. Your battery drained 3.0 points an hour, 2.0× your normal. I’ve listed the suspects below.",
       "Gözümü bile kırpmadım! Gece 12 kez uyandım, toplam 1,5 saat gözüm açık kaldı; çoğu planlı bakım yüzünden. "
       "Pilin saatte 3,0 puan eridi; normalin 2,0 katı. Şüphelileri aşağıya yazdım."},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(english.speech(c.report), c.en) << c.what;
    if (c.tr) { EXPECT_EQ(turkish.speech(c.report), c.tr) << c.what; }
  }
}

TEST(NarratorTest, ALinuxNightWithoutBatteryReadingsLeavesTheBatteryOut) {
  const Narrator laptop(NightFormat(Language::english, istanbul), NightSource::journal);
  const Narrator dizustu(NightFormat(Language::turkish, istanbul), NightSource::journal);
  NightReport calm = Night(Mood::soundAsleep).wakes(2, 80, WakeCategory::network, 2).r;
  calm.battery = BatteryTrend();
  EXPECT_EQ(laptop.speech(calm),
            "Good morning! I woke up 2 times last night, mostly because of Wi-Fi and Bluetooth. The teapot was nice "
            "and warm.");
  EXPECT_EQ(dizustu.speech(calm),
            "Günaydın! Gece 2 kez uyandım, çoğu Wi-Fi ve Bluetooth yüzünden. Çaydanlığım sıcacıktı.");
  EXPECT_EQ(laptop.plainSummary(calm),
            "Tue 5 Dec 23:00–07:00: 8 h asleep. 2 dark wakes, 1 min awake in total; "
            "mostly Wi-Fi and Bluetooth.");
  NightReport sleepless = Night(Mood::sleepless).r;
  sleepless.battery = BatteryTrend();
  EXPECT_EQ(laptop.speech(sleepless),
            "I didn’t sleep a wink! I didn’t wake up once last night. I’ve listed the suspects below.");
  // The same night from a Mac: no reading means no battery, on the charger.
  EXPECT_NE(english.speech(calm).find("I was on the charger"), std::string::npos);
  // A Linux laptop with readings tells its battery as a Mac does.
  const NightReport measured = Night(Mood::soundAsleep).battery(80, 1, 4).culprit("Renderer", 7200).r;
  EXPECT_EQ(laptop.speech(measured), english.speech(measured));
  EXPECT_NE(dizustu.plainSummary(measured).find("Renderer, dizüstünü 2 sa uyanık tuttu."), std::string::npos);
}

TEST(NarratorTest, TurkishAlsoParticleFollowsTheLastVowel) {
  const struct {
    const char* name;
    const char* particle;
  } cases[] = {{"Renderer", "de"},  {"Kamera", "da"}, {"Zoom", "da"},  {"Müzik", "de"},      {"Kıl", "da"},
               {"Spotify 2", "de"}, {"Ağ", "da"},     {"ÖZGÜR", "de"}, {"BURAK", "da"},      {"İZMİR", "de"},
               {"XYZ", "de"},       {"", "de"},       {"Işık", "da"},  {"Kamera\xff", "da"}, {"Çalışıyor", "da"}};
  for (const auto& c : cases) EXPECT_EQ(Narrator::alsoParticle(c.name), c.particle) << c.name;
}

TEST(NarratorTest, PlainSummariesInBothLanguages) {
  // clang-format off
  const Case cases[] = {
      {"everything known", Night(Mood::restless).wakes(3, 900, WakeCategory::network, 2)
           .battery(80, 4, 8, 0.5, 2.0).culprit("Renderer", 7200).r,
       "Tue 5 Dec 23:00–07:00: 8 h asleep. 3 dark wakes, 15 min awake in total; mostly Wi-Fi and Bluetooth. "
       "Battery 80% → 76%, 0.5 pts/h (2.0× normal). Kept awake by Renderer for 2 h.",
       "5 Aralık Sal 23:00–07:00: 8 sa uyku. 3 karanlık uyanma, toplam 15 dk uyanık; en çok Wi-Fi ve Bluetooth "
       "yüzünden. Pil %80 → %76, saatte 0,5 puan (normalin 2,0 katı). Renderer, Mac’i 2 sa uyanık tuttu."},
      {"on the charger", Night(Mood::soundAsleep, at(5, 23, 30), 7.25).charger().r,
       "Tue 5 Dec 23:30–06:45: 7 h 15 min asleep. 0 dark wakes, 0 s awake in total. On the charger.",
       "5 Aralık Sal 23:30–06:45: 7 sa 15 dk uyku. 0 karanlık uyanma, toplam 0 sn uyanık. Şarjdaydı."},
      {"per hour without ratio", Night(Mood::sleepless).wakes(1, 45, WakeCategory::lid, 1).battery(80, 6, 4, 1.5).r,
       "Tue 5 Dec 23:00–07:00: 8 h asleep. 1 dark wakes, 45 s awake in total; mostly the lid. "
       "Battery 80% → 74%, 1.5 pts/h.",
       "5 Aralık Sal 23:00–07:00: 8 sa uyku. 1 karanlık uyanma, toplam 45 sn uyanık; en çok kapak yüzünden. "
       "Pil %80 → %74, saatte 1,5 puan."},
      {"ratio without per hour", Night(Mood::soundAsleep).battery(80, 3, 0.8, {}, 2.0).r,
       "Tue 5 Dec 23:00–07:00: 8 h asleep. 0 dark wakes, 0 s awake in total. Battery 80% → 77%.", nullptr},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(english.plainSummary(c.report), c.en) << c.what;
    if (c.tr) { EXPECT_EQ(turkish.plainSummary(c.report), c.tr) << c.what; }
  }
  EXPECT_EQ(turkish.format().language(), Language::turkish);
}

}  // namespace
}  // namespace snoozlet
