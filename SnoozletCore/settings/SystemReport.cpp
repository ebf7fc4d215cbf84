#include "settings/SystemReport.h"

#include "common/Text.h"
#include "settings/SystemFixes.h"

#include <algorithm>
#include <cmath>

namespace snoozlet::SystemReport {

namespace {

constexpr double kDrainRatio = 2.0;
constexpr int kRecentDays = 7;

std::string onOff(const std::string& wakeup, Language l) {
  return wakeup == "enabled" ? Bilingual{"On", "Açık"}(l) : Bilingual{"Off", "Kapalı"}(l);
}

// The last night whose s2idle sleeps the kernel counted: its drain against
// normal and its share of hardware sleep.
struct CountedNight {
  std::optional<double> ratio;
  double hardwareShare = 0;
};

std::optional<CountedNight> lastCountedNight(const SleepAnalysis* analysis) {
  if (analysis == nullptr) return std::nullopt;
  for (auto it = analysis->reports.rbegin(); it != analysis->reports.rend(); ++it) {
    const auto counts = kernel_counts::summarize(it->kernelSleeps);
    if (counts && counts->hardwareShare) return CountedNight{it->ratio, *counts->hardwareShare};
  }
  return std::nullopt;
}

std::optional<SettingFinding> inhibitorsFinding(const SystemSettings& s, Language l) {
  if (!s.logind) return std::nullopt;
  std::vector<std::string> who;
  std::vector<std::string> held;
  bool sleep = false;
  for (const Inhibitor& i : s.logind->inhibitors) {
    const auto what = text::split(i.what, ':');
    const bool blocksSleep = std::find(what.begin(), what.end(), "sleep") != what.end();
    const bool blocksLid = std::find(what.begin(), what.end(), "handle-lid-switch") != what.end();
    if (i.mode != "block" || (!blocksSleep && !blocksLid)) continue;
    sleep = sleep || blocksSleep;
    if (std::find(who.begin(), who.end(), i.who) == who.end()) who.push_back(i.who);
    held.push_back(i.why.empty() ? i.who : i.who + " (" + i.why + ")");
  }
  if (who.empty()) return std::nullopt;
  SettingFinding f{"inhibitors", Bilingual{"Keeping the laptop awake now", "Şu an dizüstünü uyanık tutan"}(l),
                   text::join(who, ", "), sleep ? SettingStatus::attention : SettingStatus::info, {}, std::nullopt};
  const std::string list = text::join(held, "; ");
  if (sleep) {
    f.summary = l == Language::turkish ? "Bu programlar sistemden uyumamasını istedi: " + list +
                                             ". Bıraktıkları ana kadar dizüstü, kapağı kapalı bile olsa uyumaz."
                                       : "These programs asked the system not to sleep: " + list +
                                             ". Until they let go, the laptop doesn’t sleep, even with the lid closed.";
  } else {
    f.summary = l == Language::turkish ? "Kapağı bu programlar kendileri ele alıyor: " + list +
                                             ". O sırada kapağı kapatmak dizüstünü uyutmayabilir."
                                       : "These programs handle the lid themselves: " + list +
                                             ". Meanwhile closing the lid may not put the laptop to sleep.";
  }
  return f;
}

std::optional<SettingFinding> sleepStateFinding(const SystemSettings& s, const SleepAnalysis* analysis,
                                                const NightFormat& format) {
  if (s.memSleep.empty()) return std::nullopt;
  const Language l = format.language();
  SettingFinding f{"memSleep", Bilingual{"Sleep state", "Uyku türü"}(l), s.memSleep, SettingStatus::fine, {},
                   std::nullopt};
  if (s.memSleep == "deep") {
    f.summary = Bilingual{"The laptop sleeps in deep sleep (suspend to RAM): almost everything is off, it drains least "
                          "and little can wake it.",
                          "Dizüstü derin uykuda (belleğe askıya alma) uyuyor: neredeyse her şey kapalı, en az pili o "
                          "harcar ve onu pek az şey uyandırabilir."}(l);
    return f;
  }
  if (s.memSleep != "s2idle") {
    f.summary = Bilingual{"The laptop sleeps in shallow sleep (power-on suspend): the processor stops, but much "
                          "stays powered.",
                          "Dizüstü sığ uykuda (güç açık askıya alma) uyuyor: işlemci durur ama çok şey beslenmeye "
                          "devam eder."}(l);
    return f;
  }
  f.summary = Bilingual{"The laptop sleeps in s2idle: the processor idles and the hardware is meant to reach its own "
                        "low-power state, so waking is quick but much can wake it.",
                        "Dizüstü s2idle ile uyuyor: işlemci boşta bekler, donanımın kendi düşük güç durumuna inmesi "
                        "beklenir; uyanmak hızlıdır ama onu pek çok şey uyandırabilir."}(l);
  f.summary += s.offersDeep() ? Bilingual{" It also offers deep sleep (suspend to RAM).",
                                          " Derin uykuyu (belleğe askıya alma) da sunuyor."}(l)
                              : Bilingual{" Its firmware offers no other sleep.",
                                          " Donanım yazılımı başka bir uyku sunmuyor."}(l);
  if (const auto night = lastCountedNight(analysis)) {
    const std::string share = format.share(night->hardwareShare);
    const bool poor = night->hardwareShare < SystemFixes::kPoorHardwareShare && night->ratio && *night->ratio >= kDrainRatio;
    if (poor) {
      f.status = SettingStatus::attention;
      const std::string ratio = format.times(*night->ratio);
      f.summary += l == Language::turkish
                       ? " Sayılan son gece pil normalinin " + ratio + " gitti ve gecenin yalnızca " + share +
                             " kadarı donanım uykusundaydı: donanım pek uyumadı."
                       : " The last counted night it drained " + ratio + " its normal and spent only " + share +
                             " of it in hardware sleep: the hardware hardly slept.";
    } else {
      f.summary += l == Language::turkish ? " Sayılan son gece, gecenin " + share + " kadarı donanım uykusundaydı."
                                          : " The last counted night it was in hardware sleep for " + share + " of it.";
    }
  }
  if (s.offersDeep()) {
    f.tradeOff = Bilingual{"Deep sleep drains least, but waking takes a few seconds longer and some laptops don’t "
                           "wake from it properly.",
                           "Derin uyku en az pili harcar ama uyanmak birkaç saniye uzun sürer ve bazı dizüstüler "
                           "ondan düzgün uyanamaz."}(l);
  }
  return f;
}

std::string lidAction(const std::string& action, Language l) {
  static const std::pair<std::string_view, Bilingual> kActions[] = {
      {"suspend", {"Sleeps", "Uyur"}},
      {"ignore", {"Nothing", "Hiçbir şey"}},
      {"lock", {"Locks only", "Yalnızca kilitlenir"}},
      {"hibernate", {"Hibernates", "Hazırda bekler"}},
      {"hybrid-sleep", {"Hybrid sleep", "Karma uyku"}},
      {"suspend-then-hibernate", {"Sleeps, then hibernates", "Uyur, sonra hazırda bekler"}},
      {"poweroff", {"Shuts down", "Kapanır"}},
      {"sleep", {"Sleeps", "Uyur"}},
  };
  for (const auto& [name, words] : kActions) {
    if (action == name) return words(l);
  }
  return action;
}

std::optional<SettingFinding> lidFinding(const SystemSettings& s, Language l) {
  if (!s.logind || s.logind->lidOnBattery.empty()) return std::nullopt;
  const LogindState& logind = *s.logind;
  const bool awake = logind.lidOnBattery == "ignore" || logind.lidOnBattery == "lock";
  SettingFinding f{"lid", Bilingual{"What closing the lid does", "Kapağı kapatınca ne olur"}(l), lidAction(logind.lidOnBattery, l),
                   awake ? SettingStatus::attention : SettingStatus::fine, {}, std::nullopt};
  const std::string external = lidAction(logind.lidOnExternalPower, l);
  const std::string docked = lidAction(logind.lidDocked, l);
  f.summary = l == Language::turkish ? "Pilde: " + f.value + ". Şarjdayken: " + external +
                                           ". Yuvadayken ya da dış ekranla: " + docked + "."
                                     : "On battery: " + f.value + ". On the charger: " + external +
                                           ". Docked or with an external screen: " + docked + ".";
  if (awake) {
    f.summary += Bilingual{" The laptop stays awake when you close it on battery: in a bag it drains and gets warm.",
                           " Pildeyken kapağı kapatınca dizüstü uyanık kalır: çantada pili biter ve ısınır."}(l);
    // logind reads its settings when it starts, and restarting it would end the session: no fix here.
    f.tradeOff = Bilingual{"To change it, an administrator writes the two lines “[Login]” and "
                           "“HandleLidSwitch=suspend” into /etc/systemd/logind.conf.d/lid.conf; it applies after a "
                           "restart (restarting logind now would end your session).",
                           "Değiştirmek için bir yönetici /etc/systemd/logind.conf.d/lid.conf dosyasına “[Login]” ve "
                           "“HandleLidSwitch=suspend” satırlarını yazar; yeniden başlatınca geçerli olur (logind’i "
                           "şimdi yeniden başlatmak oturumunu kapatır)."}(l);
  }
  return f;
}

SettingFinding deviceFinding(const WakeDevice& d, const std::vector<SleepCounts>& recentSleeps,
                             const std::vector<SourceWakes>& wakes, const NightFormat& format) {
  const Language l = format.language();
  const SourceWakes source = SystemFixes::source(d);
  std::string title = kernel_counts::label(source, l);
  if (!d.acpiName.empty() && title.find(d.acpiName) == std::string::npos) title += " (" + d.acpiName + ")";
  const std::uint64_t woke = SystemFixes::wakesOf(d, wakes);
  const bool needed = !SystemFixes::mayKeepFromWaking(d);
  SettingFinding f{"wakeup:" + d.name, title, {}, SettingStatus::fine, {}, std::nullopt};
  f.summary = l == Language::turkish ? "Dizüstünü uykudan uyandırabilir (" + d.wakeupFile() + " “enabled”)."
                                     : "May wake the laptop from sleep (" + d.wakeupFile() + " reads “enabled”).";
  const std::string days = std::to_string(kRecentDays);
  const std::string count = std::to_string(woke);
  if (recentSleeps.empty()) {
    f.value = Bilingual{"Allowed", "İzinli"}(l);
    f.summary += Bilingual{" How often it wakes the laptop is counted around each sleep while Snoozlet runs.",
                           " Kaç kez uyandırdığı, Snoozlet çalışırken her uykunun çevresinde sayılır."}(l);
  } else if (woke == 0) {
    f.value = Bilingual{"Didn’t wake it", "Uyandırmadı"}(l);
    f.summary += l == Language::turkish ? " Son " + days + " günde dizüstünü uyandırmadı."
                                        : " It hasn’t woken the laptop in the last " + days + " days.";
  } else {
    f.value = l == Language::turkish ? count + " kez uyandırdı" : "Woke it " + count + "×";
    f.summary += l == Language::turkish ? " Son " + days + " günde dizüstünü " + count + " kez uyandırdı."
                                        : " It woke the laptop " + count + " times in the last " + days + " days.";
  }
  if (needed) {
    f.status = SettingStatus::info;
    f.summary += Bilingual{" The laptop needs it to be woken.", " Dizüstünün uyandırılması için gerekli."}(l);
  } else if (woke > 0) {
    f.status = SettingStatus::consider;
    SystemSettings only;
    only.wakeDevices = {d};
    f.tradeOff = SystemFixes::texts(SystemFix{SystemFix::Kind::wakeupOff, d.name}, only, l).giveUp;
  }
  return f;
}

std::string gib(std::uint64_t bytes, const NightFormat& format) {
  return format.decimal(static_cast<double>(bytes) / (1024.0 * 1024.0 * 1024.0), 1) + " GiB";
}

SettingFinding hibernationFinding(const SystemSettings& s, const NightFormat& format) {
  const Language l = format.language();
  const HibernationState& h = s.hibernation;
  std::vector<std::string> missing;
  if (h.diskModes.empty()) {
    missing.push_back(Bilingual{"the kernel’s hibernation (/sys/power/disk offers none)",
                                "çekirdeğin hazırda beklemesi (/sys/power/disk hiçbirini sunmuyor)"}(l));
  }
  if (h.resume.empty() || h.resume == "0:0") {
    missing.push_back(Bilingual{"a resume device (none is set)", "bir devam aygıtı (hiçbiri ayarlı değil)"}(l));
  }
  if (h.memoryBytes > 0 && h.swapBytes < h.memoryBytes) {
    missing.push_back(l == Language::turkish ? "en az bellek kadar takas alanı (" + gib(h.memoryBytes, format) +
                                                   " bellek için " + gib(h.swapBytes, format) + " takas)"
                                             : "swap at least as large as memory (" + gib(h.swapBytes, format) +
                                                   " of swap for " + gib(h.memoryBytes, format) + ")");
  }
  bool possible = missing.empty();
  // logind checks the same and more (the resume offset, the image size): its answer stands.
  if (s.logind && !s.logind->canSuspendThenHibernate.empty()) {
    possible = s.logind->canSuspendThenHibernate == "yes" || s.logind->canSuspendThenHibernate == "challenge";
  }
  const bool configured = possible && s.logind && s.logind->lidOnBattery == "suspend-then-hibernate";
  SettingFinding f{"hibernation", Bilingual{"Hibernation after a long sleep", "Uzun uykudan sonra hazırda bekleme"}(l),
                   {}, configured ? SettingStatus::fine : SettingStatus::info, {}, std::nullopt};
  if (configured) {
    f.value = Bilingual{"On", "Açık"}(l);
    f.summary = Bilingual{"Closing the lid on battery sleeps first and hibernates after a while, so a long night "
                          "can’t empty the battery.",
                          "Pildeyken kapağı kapatınca önce uyur, bir süre sonra hazırda bekler; uzun bir gece pili "
                          "bitiremez."}(l);
  } else if (possible) {
    f.value = Bilingual{"Possible, not used", "Mümkün, kullanılmıyor"}(l);
    f.summary = Bilingual{"The laptop could sleep and then hibernate after a while (suspend-then-hibernate), which "
                          "keeps a long night from emptying the battery; closing the lid doesn’t ask for it.",
                          "Dizüstü uyuyup bir süre sonra hazırda bekleyebilir (suspend-then-hibernate); böylece uzun "
                          "bir gece pili bitiremez. Kapağı kapatmak bunu istemiyor."}(l);
  } else {
    f.value = Bilingual{"Not possible here", "Burada mümkün değil"}(l);
    f.summary = missing.empty() ? Bilingual{"logind says this laptop can’t hibernate.",
                                            "logind bu dizüstünün hazırda bekleyemeyeceğini söylüyor."}(l)
                                : Bilingual{"Hibernating needs ", "Hazırda bekleme için gerekenler: "}(l) +
                                      text::join(missing, ", ") + ".";
  }
  return f;
}

SettingFinding networkFinding(const NetworkWake& n, Language l) {
  const bool on = n.wakeup == "enabled";
  SettingFinding f{(n.wireless ? "wakeOnWlan:" : "wakeOnLan:") + n.interface,
                   (n.wireless ? "Wake-on-WLAN (" : "Wake-on-LAN (") + n.interface + ")", onOff(n.wakeup, l),
                   on ? SettingStatus::consider : SettingStatus::fine, {}, std::nullopt};
  if (n.wireless) {
    f.summary = on ? Bilingual{"The Wi-Fi card may wake the sleeping laptop for the network traffic it was told to "
                               "watch for.",
                               "Wi-Fi kartı, izlemesi istenen ağ trafiği için uyuyan dizüstünü uyandırabilir."}(l)
                   : Bilingual{"The Wi-Fi card can’t wake the sleeping laptop.",
                               "Wi-Fi kartı uyuyan dizüstünü uyandıramaz."}(l);
  } else {
    f.summary = on ? Bilingual{"A packet sent over the network cable can wake the sleeping laptop.",
                               "Ağ kablosundan gelen bir paket uyuyan dizüstünü uyandırabilir."}(l)
                   : Bilingual{"Network packets can’t wake the sleeping laptop through this card.",
                               "Ağ paketleri bu kart üzerinden uyuyan dizüstünü uyandıramaz."}(l);
  }
  return f;
}

}  // namespace

std::vector<SettingFinding> findings(const SystemSettings& s, const std::vector<SleepCounts>& recentSleeps,
                                     const SleepAnalysis* analysis, const NightFormat& format) {
  const Language l = format.language();
  std::vector<SettingFinding> out;
  if (auto f = inhibitorsFinding(s, l)) out.push_back(std::move(*f));
  if (auto f = sleepStateFinding(s, analysis, format)) out.push_back(std::move(*f));
  if (auto f = lidFinding(s, l)) out.push_back(std::move(*f));
  const auto counts = kernel_counts::summarize(recentSleeps);
  const std::vector<SourceWakes> wakes = counts ? counts->sources : std::vector<SourceWakes>{};
  for (const WakeDevice& d : s.wakeDevices) {
    if (d.wakeup == "enabled") out.push_back(deviceFinding(d, recentSleeps, wakes, format));
  }
  out.push_back(hibernationFinding(s, format));
  for (const NetworkWake& n : s.networkWake) out.push_back(networkFinding(n, l));
  return out;
}

std::string findingKey(const SystemFix& fix) {
  return fix.kind == SystemFix::Kind::deepSleep ? "memSleep" : "wakeup:" + fix.device;
}

}  // namespace snoozlet::SystemReport
