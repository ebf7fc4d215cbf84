#include "sessions/WakeCategory.h"

#include "sessions/WakeClassifier.h"

#include <array>
#include <utility>

namespace snoozlet {

namespace {

struct CategoryTexts {
  WakeCategory category;
  std::string_view raw;
  Bilingual title;
  Bilingual cause;
  Bilingual explanation;
  // On a Linux laptop, where the Mac's words do not fit; empty: the same.
  Bilingual laptopExplanation = {};
};

// One row per category, in declaration order (checked below).
constexpr std::array<CategoryTexts, 12> kTable{{
    {WakeCategory::network,
     "network",
     {"Wi-Fi & Bluetooth", "Wi-Fi ve Bluetooth"},
     {"Wi-Fi and Bluetooth", "Wi-Fi ve Bluetooth"},
     {"The Wi-Fi/Bluetooth chip woke the Mac: network traffic it was asked to watch, the Bonjour sleep proxy, or a "
      "nearby Bluetooth device. TCP keepalive and “Wake for network access” make this more frequent.",
      "Wi-Fi/Bluetooth çipi uyandırdı: izlemesi istenen ağ trafiği, Bonjour uyku vekili ya da yakındaki bir Bluetooth "
      "aygıtı. TCP keepalive ve “Ağ erişimi için uyandır” bunu sıklaştırır."},
     {"The Wi-Fi or Bluetooth adapter woke the laptop: a packet it was set to wake for, or a nearby Bluetooth device.",
      "Wi-Fi ya da Bluetooth bağdaştırıcısı dizüstünü uyandırdı: uyanması istenen bir paket ya da yakındaki bir "
      "Bluetooth aygıtı."}},
    {WakeCategory::backgroundTask,
     "backgroundTask",
     {"Background tasks", "Arka plan işleri"},
     {"macOS background chores", "macOS’in arka plan işleri"},
     {"A wake macOS scheduled for its own background work (Spotlight, iCloud Drive, analytics). Each one is short and "
      "normal.",
      "macOS’in kendi arka plan işi için kurduğu uyanma (Spotlight, iCloud Drive, analiz). Her biri kısa sürer, "
      "normaldir."},
     {"A wake the system scheduled for its own background work. Each one is short and normal.",
      "Sistemin kendi arka plan işi için kurduğu uyanma. Her biri kısa sürer, normaldir."}},
    {WakeCategory::maintenance,
     "maintenance",
     {"Maintenance", "Planlı bakım"},
     {"routine maintenance", "planlı bakım"},
     {"Routine maintenance: renewing the network address (DHCP) and Bonjour records. Happens more often with Power Nap "
      "on.",
      "Planlı bakım: ağ adresini (DHCP) ve Bonjour kayıtlarını tazeler. Power Nap açıkken daha sık olur."},
     {"Routine upkeep the system woke the laptop for.", "Sistemin dizüstünü uyandırdığı planlı bakım."}},
    {WakeCategory::scheduled,
     "scheduled",
     {"Scheduled alarms", "Zamanlanmış alarmlar"},
     {"scheduled alarms", "zamanlanmış alarmlar"},
     {"An alarm set by an app or the calendar. “pmset -g sched” lists the upcoming ones.",
      "Bir uygulamanın ya da takvimin kurduğu alarm. Sıradakiler “pmset -g sched” ile görülür."},
     {"An alarm on the real-time clock (RTC), set by a program or a systemd timer. “systemctl list-timers” lists the "
      "timers.",
      "Bir programın ya da systemd zamanlayıcısının gerçek zamanlı saate (RTC) kurduğu alarm. Zamanlayıcılar "
      "“systemctl list-timers” ile görülür."}},
    {WakeCategory::power,
     "power",
     {"Charger", "Şarj aleti"},
     {"the charger", "şarj aleti"},
     {"The charger was connected or disconnected.", "Şarj aleti takıldı ya da çıkarıldı."}},
    {WakeCategory::lid,
     "lid",
     {"Lid opened", "Kapak açıldı"},
     {"the lid", "kapak"},
     {"You opened the lid.", "Kapağı açtın."}},
    {WakeCategory::user,
     "user",
     {"Keyboard & trackpad", "Klavye ve trackpad"},
     {"the keyboard and trackpad", "klavye ve trackpad"},
     {"A key, the trackpad or the power button.", "Bir tuş, trackpad ya da güç düğmesi."}},
    {WakeCategory::usb,
     "usb",
     {"USB devices", "USB aygıtları"},
     {"USB devices", "USB aygıtları"},
     {"A connected USB device asked to wake the Mac.", "Bağlı bir USB aygıtı Mac’i uyandırmak istedi."},
     {"A connected USB device, or the USB controller itself, asked to wake the laptop.",
      "Bağlı bir USB aygıtı ya da USB denetleyicisinin kendisi dizüstünü uyandırmak istedi."}},
    {WakeCategory::siri,
     "siri",
     {"Siri listening", "Siri dinlemesi"},
     {"Siri", "Siri"},
     {"The always-on voice trigger heard something that might have been “Siri”.",
      "Sürekli dinleyen ses tetikleyicisi “Siri” olabilecek bir şey duydu."}},
    {WakeCategory::notification,
     "notification",
     {"Notifications", "Bildirimler"},
     {"notifications", "bildirimler"},
     {"A notification lit up the display, typically right after the charger was plugged in.",
      "Bir bildirim ekranı yaktı; çoğunlukla şarj aleti takılınca olur."}},
    {WakeCategory::networkAccess,
     "networkAccess",
     {"Wake for network access", "Ağdan uyandırma"},
     {"network wake requests", "ağdan gelen uyandırma istekleri"},
     {"Another device on the network asked this Mac to wake (Wake on LAN).",
      "Ağdaki başka bir aygıt bu Mac’i uyandırmak istedi (Wake on LAN)."},
     {"Another device on the network asked this laptop to wake (Wake-on-LAN).",
      "Ağdaki başka bir aygıt bu dizüstünü uyandırmak istedi (Wake-on-LAN)."}},
    {WakeCategory::unknown,
     "unknown",
     {"Unrecognised", "Tanınmayan"},
     {"reasons I couldn’t name", "adını koyamadığım sebepler"},
     {"macOS logged a reason Snoozlet doesn’t recognise yet.", "macOS’in yazdığı sebebi Snoozlet henüz tanımıyor."},
     {"The kernel named a wake Snoozlet doesn’t recognise yet, often the embedded controller (EC) or an ACPI event.",
      "Çekirdeğin adını verdiği uyanmayı Snoozlet henüz tanımıyor; çoğu zaman gömülü denetleyici (EC) ya da bir ACPI "
      "olayı."}},
}};

constexpr bool tableInDeclarationOrder() {
  for (std::size_t i = 0; i < kTable.size(); ++i)
    if (kTable[i].category != kAllWakeCategories[i]) return false;
  return true;
}
static_assert(std::size(kAllWakeCategories) == kTable.size() && tableInDeclarationOrder());

// The row of a category; a value outside the enumeration reads as unknown.
const CategoryTexts& row(WakeCategory category) {
  const auto index = static_cast<std::size_t>(category);
  return index < kTable.size() ? kTable[index] : kTable.back();
}

}  // namespace

std::string_view toString(WakeCategory category) { return row(category).raw; }

std::optional<WakeCategory> wakeCategoryFromString(std::string_view raw) {
  for (const auto& entry : kTable)
    if (entry.raw == raw) return entry.category;
  return std::nullopt;
}

namespace wake_category {

std::string_view title(WakeCategory category, Language language) { return row(category).title.in(language); }

std::string_view explanation(WakeCategory category, Language language, NightSource source) {
  const CategoryTexts& texts = row(category);
  if (source == NightSource::journal && !texts.laptopExplanation.english.empty()) {
    return texts.laptopExplanation.in(language);
  }
  return texts.explanation.in(language);
}

std::string_view cause(WakeCategory category, Language language) { return row(category).cause.in(language); }

bool isUserInitiated(WakeCategory category) { return category == WakeCategory::lid || category == WakeCategory::user; }

}  // namespace wake_category

WakeReason::WakeReason(std::string rawText) : raw(std::move(rawText)), category(WakeClassifier::classify(raw.get())) {}

}  // namespace snoozlet
