#include "settings/SettingsReport.h"

#include "common/Text.h"
#include "sessions/SystemProcesses.h"

namespace snoozlet::SettingsReport {

namespace {

// How a switch setting's status follows from its value.
enum class SwitchRule { considerWhenOn, considerWhenOff, alwaysFine, alwaysInfo };

struct SwitchRow {
  std::string_view key;
  Bilingual title;
  Bilingual summary;
  std::optional<Bilingual> tradeOff;
  SwitchRule rule;
};

const SwitchRow kPowerNap{"powernap",
                          {"Power Nap", "Power Nap"},
                          {"Wakes the Mac while asleep to fetch iCloud, Mail, Calendar and Find My updates.",
                           "Uykudayken iCloud, Posta, Takvim ve Bul güncellemeleri için Mac’i uyandırır."},
                          Bilingual{"Off on battery saves a little; mail and iCloud catch up when you open the lid.",
                                    "Pilde kapatmak biraz pil kazandırır; posta ve iCloud kapağı açınca yetişir."},
                          SwitchRule::considerWhenOn};

const SwitchRow kTcpKeepAlive{
    "tcpkeepalive",
    {"TCP keepalive", "TCP keepalive"},
    {"Keeps network connections alive while asleep, so Find My, iMessage and push notifications keep working.",
     "Uykudayken ağ bağlantılarını canlı tutar; Bul, iMessage ve anlık bildirimler çalışmaya devam eder."},
    Bilingual{"Turning it off can cut Wi-Fi wakes, but Find My can’t locate a sleeping Mac and messages arrive late.",
              "Kapatmak Wi-Fi uyanmalarını azaltabilir; ama Bul uyuyan Mac’i bulamaz, mesajlar geç gelir."},
    SwitchRule::considerWhenOff};

const SwitchRow kWomp{
    "womp",
    {"Wake for network access", "Ağ erişimi için uyandır"},
    {"Lets other devices wake this Mac over the network, e.g. for file sharing.",
     "Ağdaki başka aygıtların bu Mac’i uyandırmasına izin verir (ör. dosya paylaşımı)."},
    Bilingual{"Off means shared folders and screen sharing don’t reach a sleeping Mac; some guides say Find My is "
              "affected too.",
              "Kapalıyken uyuyan Mac’teki paylaşılan klasörlere ve ekran paylaşımına ulaşılamaz; bazı kaynaklara göre "
              "Bul da etkilenir."},
    SwitchRule::considerWhenOn};

const SwitchRow kProximityWake{
    "proximitywake",
    {"Wake when devices are near", "Yakındaki aygıtla uyanma"},
    {"Wakes the Mac briefly when your iPhone or Apple Watch comes near, to keep Continuity ready.",
     "iPhone ya da Apple Watch yaklaşınca Süreklilik özellikleri hazır olsun diye Mac’i kısa süre uyandırır."},
    Bilingual{"Off can make Handoff and Apple Watch unlock a moment slower.",
              "Kapatınca Handoff ve Apple Watch ile kilit açma bir an gecikebilir."},
    SwitchRule::considerWhenOn};

const SwitchRow kTtysKeepAwake{
    "ttyskeepawake",
    {"Stay awake for remote sessions", "Uzak oturumda uyanık kal"},
    {"Stays awake while someone is logged in remotely (SSH). Harmless when you don’t use it.",
     "Biri uzaktan bağlıyken (SSH) uyanık kalır. Kullanmıyorsan zararsızdır."},
    std::nullopt,
    SwitchRule::alwaysFine};

const SwitchRow kLowPowerMode{"lowpowermode",
                              {"Low Power Mode", "Düşük Güç Modu"},
                              {"Mainly affects the Mac while awake; it barely changes overnight drain.",
                               "Daha çok Mac uyanıkken etkilidir; gece kaybını pek değiştirmez."},
                              std::nullopt,
                              SwitchRule::alwaysInfo};

const Bilingual kPreventersTitle{"Keeping the Mac awake now", "Şu an uyumayı engelleyen"};
const Bilingual kPreventersApps{
    "These apps are asking macOS not to sleep. If they are still running when you close the lid, they can keep "
    "the Mac up.",
    "Bu uygulamalar macOS’ten uyumamasını istiyor. Kapağı kapattığında hâlâ çalışıyorlarsa Mac’i uyanık "
    "tutabilirler."};
const Bilingual kPreventersToolsBefore{"You or a script asked for this (", "Bunu ya sen ya da bir betik istedi ("};
const Bilingual kPreventersToolsAfter{"); it only keeps the Mac awake while it runs.",
                                      "); yalnız çalıştığı sürece Mac’i uyanık tutar."};
const Bilingual kPreventersSystem{"Only macOS itself is holding sleep off right now.",
                                  "Şu an uykuyu yalnız macOS’in kendisi tutuyor."};

const Bilingual kHibernateTitle{"Hibernate mode", "Hazırda bekletme"};
const Bilingual kHibernateOff{"Memory isn’t copied to disk: if the battery runs flat while asleep, open work is lost.",
                              "Bellek diske kopyalanmıyor: uykudayken pil biterse açık işler kaybolur."};
const Bilingual kHibernateFull{"Hibernates: saves the most battery but wakes slowly.",
                               "Hazırda bekletir: en çok pili korur ama geç uyanır."};
const Bilingual kHibernateSafeSleep{"Safe sleep: memory stays powered and a copy is kept on disk.",
                                    "Güvenli uyku: bellek beslenir, bir kopyası da diskte tutulur."};

const Bilingual kSleepTitle{"System sleep", "Sistem uykusu"};
const Bilingual kSleepNever{"The Mac never goes to sleep on its own.", "Mac kendiliğinden hiç uyumuyor."};

const Bilingual kOn{"On", "Açık"};
const Bilingual kOff{"Off", "Kapalı"};
const Bilingual kBatterySuffix{" (battery)", " (pilde)"};

// The battery profile's value when that profile exists and holds the key,
// else the value in force.
const std::string* lookup(const PowerSettings& settings, std::string_view key) {
  const std::string name(key);
  if (!settings.battery.empty()) {
    if (const auto it = settings.battery.find(name); it != settings.battery.end()) return &it->second;
  }
  if (const auto it = settings.current.find(name); it != settings.current.end()) return &it->second;
  return nullptr;
}

std::string suffix(const PowerSettings& settings, Language language) {
  return settings.battery.empty() ? std::string() : kBatterySuffix(language);
}

std::string switchDisplay(const PowerSettings& settings, const std::string& value, Language language) {
  return (value == "1" ? kOn : kOff)(language) + suffix(settings, language);
}

SettingStatus switchStatus(SwitchRule rule, bool on) {
  switch (rule) {
    case SwitchRule::considerWhenOn: return on ? SettingStatus::consider : SettingStatus::fine;
    case SwitchRule::considerWhenOff: return on ? SettingStatus::fine : SettingStatus::consider;
    case SwitchRule::alwaysFine: return SettingStatus::fine;
    case SwitchRule::alwaysInfo: return SettingStatus::info;
  }
  return SettingStatus::fine;
}

void addSwitch(std::vector<SettingFinding>& out, const PowerSettings& settings, const SwitchRow& row,
               Language language) {
  const std::string* value = lookup(settings, row.key);
  if (value == nullptr) return;
  std::optional<std::string> tradeOff;
  if (row.tradeOff) tradeOff = (*row.tradeOff)(language);
  out.push_back({std::string(row.key), row.title(language), switchDisplay(settings, *value, language),
                 switchStatus(row.rule, *value == "1"), row.summary(language), std::move(tradeOff)});
}

void addPreventers(std::vector<SettingFinding>& out, const PowerSettings& settings, Language language) {
  if (settings.sleepPreventedBy.empty()) return;
  bool anyApp = false;
  std::vector<std::string> tools;
  for (const std::string& name : settings.sleepPreventedBy) {
    switch (SystemProcesses::origin(name, "")) {
      case HolderOrigin::app: anyApp = true; break;
      case HolderOrigin::userTool: tools.push_back(name); break;
      case HolderOrigin::system: break;
    }
  }
  std::string summary;
  if (anyApp) {
    summary = kPreventersApps(language);
  } else if (!tools.empty()) {
    summary = kPreventersToolsBefore(language) + text::join(tools, ", ") + kPreventersToolsAfter(language);
  } else {
    summary = kPreventersSystem(language);
  }
  out.push_back({"preventers", kPreventersTitle(language), text::join(settings.sleepPreventedBy, ", "),
                 anyApp ? SettingStatus::attention : SettingStatus::info, std::move(summary), std::nullopt});
}

void addHibernateMode(std::vector<SettingFinding>& out, const PowerSettings& settings, Language language) {
  const std::string* value = lookup(settings, "hibernatemode");
  if (value == nullptr) return;
  const Bilingual& summary = *value == "0" ? kHibernateOff : *value == "25" ? kHibernateFull : kHibernateSafeSleep;
  out.push_back({"hibernatemode", kHibernateTitle(language), *value,
                 *value == "0" ? SettingStatus::consider : SettingStatus::fine, summary(language), std::nullopt});
}

void addSleep(std::vector<SettingFinding>& out, const PowerSettings& settings, Language language) {
  const std::string* value = lookup(settings, "sleep");
  if (value == nullptr || *value != "0") return;
  out.push_back({"sleep", kSleepTitle(language), kOff(language) + suffix(settings, language), SettingStatus::attention,
                 kSleepNever(language), std::nullopt});
}

}  // namespace

std::vector<SettingFinding> findings(const PowerSettings& settings, Language language) {
  std::vector<SettingFinding> out;
  addPreventers(out, settings, language);
  for (const SwitchRow* row : {&kPowerNap, &kTcpKeepAlive, &kWomp, &kProximityWake, &kTtysKeepAwake}) {
    addSwitch(out, settings, *row, language);
  }
  addHibernateMode(out, settings, language);
  addSwitch(out, settings, kLowPowerMode, language);
  addSleep(out, settings, language);
  return out;
}

}  // namespace snoozlet::SettingsReport
