#include "presentation/PageRows.h"

#include "presentation/NightFigures.h"

#include <cmath>

namespace snoozlet::presentation {

namespace {

int rounded(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

HistoryRow historyRow(const ArchivedNight& n, const NightFormat& f, NightSource source) {
  const Language l = f.language();
  std::string night = f.shortDay(f.nightDay(n.start));
  if (n.kind == SleepKind::daytimeNap) {
    night += ' ';
    night += Bilingual{"nap", "şekerleme"}(l);
  }
  return HistoryRow{night,
                    f.duration(n.duration()),
                    std::to_string(n.darkWakes),
                    f.duration(n.awakeSeconds),
                    compactBattery(n, f, source),
                    n.topCategory ? std::string(wake_category::title(*n.topCategory, l)) : "—",
                    std::string(mood::title(n.mood, l))};
}

HistoryRow historyRow(const NightReport& night, const NightFormat& f, NightSource source) {
  return historyRow(ArchivedNight::from(night), f, source);
}

HistoryRow historyHeader(Language l) {
  return {Bilingual{"Night", "Gece"}(l),   Bilingual{"Asleep", "Uyku"}(l), Bilingual{"Wakes", "Uyanma"}(l),
          Bilingual{"Awake", "Uyanık"}(l), Bilingual{"Battery", "Pil"}(l), Bilingual{"Mostly", "En çok"}(l),
          Bilingual{"Mood", "Ruh hâli"}(l)};
}

std::string thisMachine(NightSource source, Language l) {
  return source == NightSource::journal ? Bilingual{"This laptop", "Bu dizüstü"}(l)
                                        : Bilingual{"This Mac", "Bu Mac"}(l);
}

std::string machineNormal(NightSource source, const std::string& rate, int nights, Language l) {
  if (l == Language::turkish) {
    return (source == NightSource::journal ? "Bu dizüstünün normali: " : "Bu Mac’in normali: ") + rate + ", " +
           std::to_string(nights) + " geceden.";
  }
  return (source == NightSource::journal ? "This laptop’s normal: " : "This Mac’s normal: ") + rate + " over " +
         std::to_string(nights) + (nights == 1 ? " night." : " nights.");
}

std::string nightFootnote(NightSource source, Language l) {
  if (source == NightSource::journal) {
    return Bilingual{"From the system journal and UPower’s battery history (Linux). Times are this laptop’s clock.",
                     "Sistem günlüğünden ve UPower’ın pil geçmişinden (Linux). Saatler bu dizüstünün saati."}(l);
  }
  return Bilingual{"From the sleep log macOS keeps (pmset). Times are this Mac’s clock.",
                   "macOS’in tuttuğu uyku kaydından (pmset). Saatler bu Mac’in saati."}(l);
}

HistoryHeading historyHeading(const std::vector<ArchivedNight>& newestFirst, const NightFormat& f, NightSource source) {
  const Language l = f.language();
  HistoryHeading h;
  h.title = Bilingual{"History", "Geçmiş"}(l);
  h.line =
      source == NightSource::journal
          ? Bilingual{"Every sleep I’ve seen on this laptop, kept after the system journal lets old entries go.",
                      "Bu dizüstünde gördüğüm her uyku; sistem günlüğü eski kayıtları sildikten sonra da burada."}(l)
          : Bilingual{"Every sleep I’ve seen on this Mac, kept after macOS forgets its week-long log.",
                      "Bu Mac’te gördüğüm her uyku; macOS haftalık kaydını unuttuktan sonra da burada."}(l);
  h.stripTitle = Bilingual{"Battery drain per night", "Gece başına pil kaybı"}(l);
  if (newestFirst.empty()) {
    h.since = thisMachine(source, l);
    h.empty =
        Bilingual{"The first nights will appear here tomorrow morning.", "İlk geceler yarın sabah burada olacak."}(l);
    return h;
  }
  const std::string since = f.longDay(f.nightDay(newestFirst.back().start));
  h.since = l == Language::turkish ? thisMachine(source, l) + " · " + since + " tarihinden beri"
                                   : thisMachine(source, l) + " · since " + since;
  return h;
}

std::vector<BatteryRow> batteryRows(const std::optional<BatteryHealth>& b, const std::optional<Baseline>& baseline,
                                    const NightFormat& f) {
  std::vector<BatteryRow> rows;
  if (!b) return rows;
  const Language l = f.language();
  const bool tr = l == Language::turkish;
  if (const auto fraction = b->capacityFraction()) {
    const std::string full = std::to_string(*b->fullChargeCapacity);
    const std::string design = std::to_string(*b->designCapacity);
    rows.push_back({"capacity", f.percent(rounded(*fraction * 100)),
                    Bilingual{"of its original capacity", "ilk kapasitesinden kalan"}(l),
                    tr ? "Dolunca " + full + " mAh tutuyor; " + design + " mAh için tasarlandı."
                       : "Holds " + full + " mAh when full; it was designed for " + design + " mAh."});
  }
  if (b->cycleCount) {
    std::optional<std::string> detail;
    if (b->designCycleCount) {
      const std::string rated = std::to_string(*b->designCycleCount);
      detail = tr ? "Apple bu pili " + rated + " döngü için öngörüyor."
                  : "Apple rates this battery for " + rated + " cycles.";
    }
    rows.push_back({"cycles", std::to_string(*b->cycleCount), Bilingual{"charge cycles", "şarj döngüsü"}(l), detail});
  }
  if (b->chargePercent) {
    const std::string detail = b->isCharging ? Bilingual{"Charging.", "Şarj oluyor."}(l)
                               : b->externalConnected
                                   ? Bilingual{"On the charger, not charging.", "Şarja takılı, şarj olmuyor."}(l)
                                   : Bilingual{"On battery.", "Pilde."}(l);
    rows.push_back(
        {"charge", f.percent(static_cast<int>(*b->chargePercent)), Bilingual{"charged now", "şu anki şarj"}(l), detail});
  }
  if (b->temperatureCelsius) {
    rows.push_back({"temperature", f.decimal(*b->temperatureCelsius, 1) + " °C",
                    Bilingual{"temperature", "sıcaklık"}(l),
                    Bilingual{"Comfortable is roughly 10–35 °C.", "Rahat aralık aşağı yukarı 10–35 °C."}(l)});
  }
  if (b->voltage) {
    rows.push_back({"voltage", f.decimal(*b->voltage, 2) + " V", Bilingual{"voltage", "gerilim"}(l), std::nullopt});
  }
  if (baseline) {
    const std::string count = std::to_string(baseline->nights);
    rows.push_back(
        {"normal", f.decimal(baseline->percentPerHour, 1),
         Bilingual{"points an hour on a normal night", "normal bir gecede saatte puan"}(l),
         tr ? "Kayıttaki " + count + " pilli gecenin ortancası. Snoozlet her geceyi bununla karşılaştırır."
            : "The median of " + count + " battery nights in the log. Snoozlet compares every night with this."});
  }
  return rows;
}

BatteryHeading batteryHeading(bool hasBattery, Language l, NightSource source) {
  const bool laptop = source == NightSource::journal;
  BatteryHeading h{Bilingual{"Battery", "Pil"}(l),
                   thisMachine(source, l) + Bilingual{" · read from the battery", " · pilden okundu"}(l), std::nullopt};
  if (!hasBattery) {
    h.noBattery = laptop ? Bilingual{"This laptop has no battery, so there’s no overnight drain to explain.",
                                     "Bu dizüstünde pil yok; açıklanacak bir gece kaybı da yok."}(l)
                         : Bilingual{"This Mac has no battery, so there’s no overnight drain to explain.",
                                     "Bu Mac’te pil yok; açıklanacak bir gece kaybı da yok."}(l);
  }
  return h;
}

std::string settingsDetail(const std::vector<SettingFinding>& findings, Language l, NightSource source) {
  // A Linux laptop whose settings could not be read has nothing to count.
  if (source == NightSource::journal && findings.empty()) return Bilingual{"Not read", "Okunamadı"}(l);
  long long worth = 0;
  for (const SettingFinding& finding : findings) {
    if (finding.status == SettingStatus::consider || finding.status == SettingStatus::attention) ++worth;
  }
  if (worth == 0) return Bilingual{"All fine", "Hepsi yerinde"}(l);
  return std::to_string(worth) + Bilingual{" worth a look", " göz atmaya değer"}(l);
}

std::optional<std::string> batteryDetail(const std::optional<BatteryHealth>& battery, const NightFormat& f) {
  const auto fraction = battery ? battery->capacityFraction() : std::nullopt;
  if (!fraction) return std::nullopt;
  return f.percent(rounded(*fraction * 100)) + Bilingual{" capacity", " kapasite"}(f.language());
}

std::string historyDetail(std::size_t archivedNights, Language l) {
  return std::to_string(archivedNights) + Bilingual{" sleeps", " uyku"}(l);
}

std::string logSpan(const std::optional<SleepAnalysis>& analysis, const NightFormat& f, bool failed) {
  const Language l = f.language();
  if (!analysis && failed) return Bilingual{"The sleep log couldn’t be read", "Uyku kaydı okunamadı"}(l);
  if (!analysis) return Bilingual{"Reading the sleep log…", "Uyku kaydı okunuyor…"}(l);
  if (!analysis->coveredFrom || !analysis->coveredTo) return Bilingual{"The sleep log is empty", "Uyku kaydı boş"}(l);
  const std::string from = f.shortDay(*analysis->coveredFrom);
  const std::string to = f.shortDay(*analysis->coveredTo);
  return l == Language::turkish ? "Kayıt " + from + " – " + to : "Log from " + from + " to " + to;
}

std::string archiveProblemSentence(const ArchiveProblem& p, Language l) {
  const std::string file = p.file.string();
  if (p.keptAside) {
    return l == Language::turkish
               ? "Gece arşivi " + file + " bozulmuştu (" + p.reason + "); onu " + p.keptAside->string() +
                     " olarak sakladım ve yerine yenisini açtım. Geceler bundan sonra yine saklanıyor."
               : "The night archive " + file + " was damaged (" + p.reason + "); I kept it as " +
                     p.keptAside->string() + " and started a new one in its place, so nights are kept again.";
  }
  std::string sentence = l == Language::turkish
                             ? "Geceler saklanmıyor: " + file + " kullanılamıyor (" + p.reason + ")."
                             : "Nights aren’t being kept: " + file + " can’t be used (" + p.reason + ").";
  if (p.leftAsItIs) sentence += Bilingual{" The file was left as it is.", " Dosyaya dokunulmadı."}(l);
  return sentence + Bilingual{" The nights the log holds are still shown.", " Kayıttaki geceler yine gösteriliyor."}(l);
}

EmptyNight emptyNight(const std::optional<SleepAnalysis>& analysis, const std::optional<std::string>& failure,
                      Language l) {
  if (!analysis && failure) {
    return {Bilingual{"Couldn’t read the sleep log", "Uyku kaydı okunamadı"}(l), *failure, true};
  }
  if (!analysis) return {Bilingual{"Reading last night’s log…", "Dün gecenin kaydı okunuyor…"}(l), std::nullopt, false};
  return {Bilingual{"No long sleep in the log yet", "Kayıtta henüz uzun bir uyku yok"}(l),
          Bilingual{"Close the lid tonight; I’ll tell you all about it in the morning.",
                    "Bu gece kapağı kapat; sabah sana her şeyi anlatırım."}(l),
          false};
}

}  // namespace snoozlet::presentation
