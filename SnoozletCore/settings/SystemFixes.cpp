#include "settings/SystemFixes.h"

#include "settings/HelperCommand.h"

#include <algorithm>
#include <cctype>

namespace snoozlet::SystemFixes {

namespace {

using helper_command::FileKind;

std::string capitalised(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

SourceWakes sourceOf(std::string_view name, std::string_view driver, std::string_view pciClass,
                     std::string_view acpiName) {
  SourceWakes s;
  s.name = name;
  s.device = name;
  s.driver = driver;
  s.pciClass = pciClass;
  s.acpiName = acpiName;
  return s;
}

Texts deepSleepTexts(Language l) {
  return {Bilingual{"Use deep sleep", "Derin uykuya geç"}(l),
          Bilingual{"The laptop sleeps in deep sleep (suspend to RAM): almost everything is switched off, so it "
                    "drains much less and little can wake it. Now and after every restart.",
                    "Dizüstü derin uykuda (belleğe askıya alma) uyur: neredeyse her şey kapanır, pil çok daha az "
                    "gider ve onu pek az şey uyandırabilir. Şimdi ve her yeniden başlatmadan sonra."}(l),
          Bilingual{"Waking takes a few seconds longer. On some laptops deep sleep doesn’t wake up properly; if "
                    "that happens, press the power button and undo this in Sleep settings.",
                    "Uyanmak birkaç saniye uzun sürer. Bazı dizüstüler derin uykudan düzgün uyanamaz; öyle olursa "
                    "güç düğmesine bas ve bunu Uyku ayarlarından geri al."}(l)};
}

Texts wakeupTexts(const SourceWakes& device, Language l) {
  const std::string phrase = kernel_counts::phrase(device, l);
  Texts t;
  t.title = l == Language::turkish ? capitalised(phrase) + " dizüstünü uyandırmasın"
                                   : "Don’t let " + phrase + " wake the laptop";
  t.whatChanges =
      l == Language::turkish
          ? capitalised(phrase) + " uykudaki dizüstünü artık uyandırmaz; şimdi ve her yeniden başlatmadan sonra."
          : capitalised(phrase) + " can no longer wake the laptop from sleep, now and after every restart.";
  switch (kernel_counts::category(device)) {
    case WakeCategory::usb:
      t.giveUp = Bilingual{
          "USB keyboards, mice and docks plugged into it can’t wake the laptop any more; the lid "
          "and the power button still do.",
          "Ona takılı USB klavye, fare ve yuvalar dizüstünü artık uyandıramaz; kapak ve güç "
          "düğmesi yine uyandırır."}(l);
      break;
    case WakeCategory::network:
      t.giveUp = Bilingual{
          "The laptop no longer wakes for the network or for Bluetooth devices; the lid and the "
          "power button still wake it.",
          "Dizüstü artık ağ ya da Bluetooth aygıtları için uyanmaz; kapak ve güç düğmesi yine "
          "uyandırır."}(l);
      break;
    case WakeCategory::networkAccess:
      t.giveUp = Bilingual{
          "Wake-on-LAN can’t reach the sleeping laptop any more; the lid and the power button "
          "still wake it.",
          "Wake-on-LAN artık uyuyan dizüstüne ulaşamaz; kapak ve güç düğmesi yine uyandırır."}(l);
      break;
    case WakeCategory::power:
      t.giveUp = Bilingual{"Plugging in or unplugging the charger no longer wakes the laptop.",
                           "Şarj aletini takıp çıkarmak artık dizüstünü uyandırmaz."}(l);
      break;
    default:
      t.giveUp = Bilingual{"This device can’t wake the laptop any more; the lid and the power button still do.",
                           "Bu aygıt artık dizüstünü uyandıramaz; kapak ve güç düğmesi yine uyandırır."}(l);
      break;
  }
  return t;
}

std::optional<FixPlan::Skip> planDeep(const SystemSettings& s, SystemChange& change) {
  if (!s.offersDeep()) return FixPlan::Skip::notSupported;
  if (!helper_command::allowedValue(FileKind::memSleep, s.memSleep)) return FixPlan::Skip::unknownCurrentValue;
  if (s.memSleep == "deep") return FixPlan::Skip::alreadySet;
  const auto line = helper_command::tmpfilesLine(helper_command::kMemSleepFile, "deep");
  if (!line) return FixPlan::Skip::notSupported;
  change = {SystemFix::Kind::deepSleep,
            std::string(helper_command::kMemSleepFile),
            s.memSleep,
            "deep",
            std::string(helper_command::kTmpfilesFile),
            line.value(),
            {},
            {},
            {},
            {},
            true};
  return std::nullopt;
}

std::optional<FixPlan::Skip> planWakeup(const SystemSettings& s, const std::string& name, SystemChange& change) {
  const WakeDevice* d = s.device(name);
  if (d == nullptr || !mayKeepFromWaking(*d) || !helper_command::fileKind(d->wakeupFile())) {
    return FixPlan::Skip::notSupported;
  }
  if (!helper_command::allowedValue(FileKind::wakeup, d->wakeup)) return FixPlan::Skip::unknownCurrentValue;
  if (d->wakeup == "disabled") return FixPlan::Skip::alreadySet;
  const auto rule = helper_command::udevRule({d->subsystem, d->name, d->vendor, d->product}, "disabled");
  if (!rule) return FixPlan::Skip::notSupported;
  change = {SystemFix::Kind::wakeupOff,
            d->wakeupFile(),
            d->wakeup,
            "disabled",
            std::string(helper_command::kUdevRulesFile),
            rule.value(),
            d->name,
            d->driver,
            d->pciClass,
            d->acpiName,
            true};
  return std::nullopt;
}

}  // namespace

SourceWakes source(const WakeDevice& d) { return sourceOf(d.name, d.driver, d.pciClass, d.acpiName); }

std::uint64_t wakesOf(const WakeDevice& device, const std::vector<SourceWakes>& wakes) {
  std::uint64_t total = 0;
  for (const SourceWakes& s : wakes) {
    if ((s.device.empty() ? s.name : s.device) == device.name) total += s.wakeups;
  }
  return total;
}

bool mayKeepFromWaking(const WakeDevice& device) { return !kernel_counts::neededToWake(source(device)); }

std::vector<SystemFix> available(const SystemSettings& s, const std::vector<SourceWakes>& wakes) {
  std::vector<SystemFix> out;
  std::vector<SystemFix> requested{{SystemFix::Kind::deepSleep, {}}};
  for (const WakeDevice& d : s.wakeDevices) {
    if (wakesOf(d, wakes) > 0) requested.push_back({SystemFix::Kind::wakeupOff, d.name});
  }
  const FixPlan planned = plan(requested, s);
  for (const SystemFix& fix : requested) {
    if (!planned.systemSkipped.contains(fix.id())) out.push_back(fix);
  }
  return out;
}

FixPlan plan(const std::vector<SystemFix>& fixes, const SystemSettings& s) {
  FixPlan result;
  for (const SystemFix& fix : fixes) {
    SystemChange change;
    const auto skip = fix.kind == SystemFix::Kind::deepSleep ? planDeep(s, change) : planWakeup(s, fix.device, change);
    if (skip) {
      result.systemSkipped[fix.id()] = *skip;
    } else if (std::none_of(result.system.begin(), result.system.end(),
                            [&](const SystemChange& c) { return c.file == change.file; })) {
      result.system.push_back(std::move(change));
    }
  }
  return result;
}

std::vector<SystemChange> undo(const std::vector<SystemChange>& changes) {
  std::vector<SystemChange> out;
  for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
    SystemChange back = *it;
    std::swap(back.previous, back.target);
    back.keep = false;
    out.push_back(std::move(back));
  }
  return out;
}

std::map<std::string, bool> stillApplied(const std::vector<SystemChange>& changes, const SystemValues& values) {
  std::map<std::string, bool> out;
  for (const SystemChange& change : changes) {
    const auto found = values.find(change.file);
    out[change.file] = found != values.end() && found->second == change.target;
  }
  return out;
}

Texts texts(const SystemFix& fix, const SystemSettings& s, Language l) {
  if (fix.kind == SystemFix::Kind::deepSleep) return deepSleepTexts(l);
  const WakeDevice* d = s.device(fix.device);
  return wakeupTexts(d != nullptr ? source(*d) : sourceOf(fix.device, {}, {}, {}), l);
}

Texts texts(const SystemChange& change, Language l) {
  if (change.fix == SystemFix::Kind::deepSleep) return deepSleepTexts(l);
  return wakeupTexts(sourceOf(change.device, change.driver, change.pciClass, change.acpiName), l);
}

Fix::Risk risk(SystemFix::Kind kind) {
  return kind == SystemFix::Kind::deepSleep ? Fix::Risk::notable : Fix::Risk::low;
}

}  // namespace snoozlet::SystemFixes
