#include "settings/FixCatalog.h"

#include <string_view>

#include "settings/FixPlanner.h"

namespace snoozlet::FixCatalog {

namespace {

struct FixTexts {
  Bilingual title;
  Bilingual whatChanges;
  Bilingual giveUp;
};

// Indexed by FixID, in declaration order.
const FixTexts kTexts[] = {
    // tcpKeepAliveOff
    {{"Let network connections sleep on battery", "Pilde ağ bağlantıları da uyusun"},
     {"The Wi-Fi chip stops waking the Mac to keep connections alive while it sleeps on battery.",
      "Pilde uyurken Wi-Fi çipi bağlantıları canlı tutmak için Mac’i uyandırmaz."},
     {"Find My may not locate this Mac while it sleeps on battery, and iMessage, FaceTime and push notifications "
      "arrive when you open the lid. macOS itself warns about Find My.",
      "Bul, pilde uyuyan bu Mac’i bulamayabilir; iMessage, FaceTime ve anlık bildirimler kapağı açınca gelir. "
      "macOS da Bul için uyarır."}},
    // powerNapOff
    {{"Turn off Power Nap on battery", "Pilde Power Nap’i kapat"},
     {"No more short wakes for iCloud, Mail, Calendar and backups while asleep on battery.",
      "Pilde uyurken iCloud, Posta, Takvim ve yedekleme için kısa uyanmalar biter."},
     {"Mail, iCloud and Time Machine catch up when you open the lid instead of overnight.",
      "Posta, iCloud ve Time Machine gece değil, kapağı açınca yetişir."}},
    // wakeForNetworkOff
    {{"Don’t wake for network access on battery", "Pilde ağdan uyandırmayı kapat"},
     {"Other devices can no longer wake this Mac over the network while it runs on battery.",
      "Pildeyken ağdaki başka aygıtlar bu Mac’i uyandıramaz."},
     {"Shared folders and screen sharing can’t reach a sleeping Mac; some guides say Find My is affected too.",
      "Uyuyan Mac’teki paylaşılan klasörlere ve ekran paylaşımına ulaşılamaz; bazı kaynaklara göre Bul da "
      "etkilenir."}},
    // proximityWakeOff
    {{"Don’t wake when my iPhone or Watch is near", "iPhone ya da Watch yaklaşınca uyanma"},
     {"The Mac no longer wakes briefly when your iPhone or Apple Watch comes near.",
      "iPhone ya da Apple Watch yaklaşınca Mac kısa süre uyanmaz."},
     {"Handoff and unlocking with Apple Watch can take a moment longer.",
      "Handoff ve Apple Watch ile kilit açma bir an gecikebilir."}},
    // remoteSessionAwakeOff
    {{"Don’t stay awake for remote sessions on battery", "Pilde uzak oturum için uyanık kalma"},
     {"An open SSH session no longer keeps the Mac awake on battery.",
      "Açık bir SSH oturumu pildeyken Mac’i uyanık tutmaz."},
     {"Long-running SSH jobs on battery may pause when the Mac sleeps.",
      "Pildeyken uzun süren SSH işleri Mac uyuyunca duraklayabilir."}},
    // lowPowerModeOn
    {{"Use Low Power Mode on battery", "Pilde Düşük Güç Modu’nu kullan"},
     {"The Mac runs a little slower on battery and saves power while awake.",
      "Pildeyken Mac biraz yavaşlar, uyanıkken pil korur."},
     {"Barely changes overnight drain; mainly helps while the Mac is awake.",
      "Gece kaybını pek değiştirmez; daha çok Mac uyanıkken işe yarar."}},
};

const FixTexts& texts(FixID id) { return kTexts[static_cast<std::size_t>(id)]; }

}  // namespace

const std::vector<Fix>& all() {
  static const std::vector<Fix> fixes = {
      {FixID::tcpKeepAliveOff, "tcpkeepalive", "0", PowerScope::battery, Fix::Risk::notable},
      {FixID::powerNapOff, "powernap", "0", PowerScope::battery, Fix::Risk::low},
      {FixID::wakeForNetworkOff, "womp", "0", PowerScope::battery, Fix::Risk::low},
      {FixID::proximityWakeOff, "proximitywake", "0", PowerScope::battery, Fix::Risk::low},
      {FixID::remoteSessionAwakeOff, "ttyskeepawake", "0", PowerScope::battery, Fix::Risk::low},
      {FixID::lowPowerModeOn, "lowpowermode", "1", PowerScope::battery, Fix::Risk::low},
  };
  return fixes;
}

const Fix& fix(FixID id) { return all()[static_cast<std::size_t>(id)]; }

std::vector<Fix> available(const PowerSettings& settings, const PowerCapabilities& capabilities) {
  std::vector<Fix> out;
  if (capabilities.keys.empty()) return out;
  for (const Fix& candidate : all()) {
    if (!capabilities.contains(candidate.key)) continue;
    const auto value = FixPlanner::currentValue(settings, candidate.key, candidate.scope);
    if (value && *value != candidate.target) out.push_back(candidate);
  }
  return out;
}

std::string title(FixID id, Language language) { return texts(id).title(language); }
std::string whatChanges(FixID id, Language language) { return texts(id).whatChanges(language); }
std::string giveUp(FixID id, Language language) { return texts(id).giveUp(language); }

}  // namespace snoozlet::FixCatalog
