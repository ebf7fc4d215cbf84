#include "cli/ReportText.h"

#include "cli/TerminalText.h"
#include "common/Text.h"

#include <sstream>

namespace snoozlet::report_text {

namespace {

using terminal::padded;

bool turkish(const NightFormat& f) { return f.language() == Language::turkish; }

std::string batteryText(const NightReport& r, const NightFormat& f) {
  const auto& b = r.battery;
  if (!b.first || !b.last || !b.drop) return turkish(f) ? "şarjda" : "on the charger";
  std::string text = f.percent(b.first->percent) + " → " + f.percent(b.last->percent);
  if (b.perHour) {
    text +=
        turkish(f) ? " (saatte " + f.decimal(*b.perHour, 1) + " puan)" : " (" + f.decimal(*b.perHour, 1) + " pts/h)";
  }
  return text;
}

}  // namespace

std::string figures(const NightReport& r, const NightFormat& f) {
  const bool tr = turkish(f);
  std::string line = (tr ? "Uyku " : "Asleep ") + f.duration(r.duration());
  line += " · " + std::to_string(r.darkWakeCount) + (tr ? " karanlık uyanma" : " dark wakes");
  line += (tr ? " · uyanık " : " · awake ") + f.duration(r.awakeSeconds);
  line += (tr ? " · pil " : " · battery ") + batteryText(r, f);
  return line;
}

std::string night(const NightReport& r, const Narrator& narrator, bool plain) {
  const NightFormat& f = narrator.format();
  std::string out = f.nightTitle(r.start()) + " — " + std::string(mood::title(r.mood, f.language()));
  if (r.kind == SleepKind::daytimeNap) out += " (" + std::string(sleep_kind::title(r.kind, f.language())) + ")";
  if (r.session.ending.kind() == SessionEnd::Kind::ongoing) out += turkish(f) ? " (sürüyor)" : " (still asleep)";
  out += "\n";
  out += plain ? narrator.plainSummary(r) : narrator.speech(r);
  out += '\n';
  out += figures(r, f);
  out += '\n';
  return out;
}

std::string table(const SleepAnalysis& a, const NightFormat& f) {
  const bool tr = turkish(f);
  std::ostringstream out;
  out << padded(tr ? "Gece" : "Night", 14) << padded(tr ? "Uyku" : "Asleep", 12)
      << padded(tr ? "Uyanma" : "Wakes", 7, true) << "  " << padded(tr ? "Uyanık" : "Awake", 11)
      << padded(tr ? "Pil" : "Battery", 22) << (tr ? "Ruh hâli" : "Mood") << "\n";
  for (const auto& r : a.reports) {
    std::string day = f.shortDay(f.nightDay(r.start()));
    if (r.kind == SleepKind::daytimeNap) day += "*";
    std::string battery = "—";
    if (r.battery.drop) {
      battery = "-";
      battery += std::to_string(*r.battery.drop);
      battery += tr ? " puan" : " pts";
      if (r.battery.perHour) battery += ", " + f.decimal(*r.battery.perHour, 1) + (tr ? "/sa" : "/h");
    }
    out << padded(day, 14) << padded(f.duration(r.duration()), 12) << padded(std::to_string(r.darkWakeCount), 7, true)
        << "  " << padded(f.duration(r.awakeSeconds), 11) << padded(battery, 22) << mood::title(r.mood, f.language())
        << "\n";
  }
  if (!a.naps().empty()) out << (tr ? "* gündüz uykusu\n" : "* daytime nap\n");
  return out.str();
}

std::string batteryHealth(const BatteryHealth& b, Language language) {
  const bool tr = language == Language::turkish;
  std::vector<std::string> parts;
  if (const auto fraction = b.capacityFraction()) {
    const auto percent = static_cast<int>(*fraction * 100 + 0.5);
    parts.push_back(tr ? "ilk kapasitesinin %" + std::to_string(percent)
                       : std::to_string(percent) + "% of its original capacity");
  }
  if (b.cycleCount) parts.push_back(std::to_string(*b.cycleCount) + (tr ? " döngü" : " cycles"));
  if (b.chargePercent)
    parts.push_back(tr ? "dolu %" + std::to_string(*b.chargePercent) : std::to_string(*b.chargePercent) + "% charged");
  if (b.isCharging) {
    parts.push_back(tr ? "şarj oluyor" : "charging");
  } else if (b.externalConnected) {
    parts.push_back(tr ? "şarja takılı" : "on the charger");
  }
  if (parts.empty()) parts.push_back(tr ? "bilgi yok" : "no figures");
  return (tr ? "\nPil sağlığı: " : "\nBattery health: ") + text::join(parts, " · ") + "\n";
}

std::string render(const SleepAnalysis& a, const Narrator& narrator, const Options& options) {
  const NightFormat& f = narrator.format();
  const bool tr = turkish(f);
  if (a.reports.empty()) return tr ? "Bu kayıtta hiç gece yok.\n" : "No nights in this log.\n";
  std::string out;
  if (options.all) {
    for (const auto& r : a.reports) out += night(r, narrator, options.plain) + "\n";
  } else if (const NightReport* last = a.lastNight()) {
    out += night(*last, narrator, options.plain) + "\n";
  } else {
    out += tr ? "Bu kayıtta gece yok; yalnız gündüz uykuları var.\n\n" : "No night in this log, only daytime naps.\n\n";
  }
  out += table(a, f);
  if (a.baseline) {
    out += tr ? "\nBu Mac’in normali: saatte " + f.decimal(a.baseline->percentPerHour, 1) + " puan, " +
                    std::to_string(a.baseline->nights) + " geceden.\n"
              : "\nThis Mac’s normal: " + f.decimal(a.baseline->percentPerHour, 1) + " pts/h over " +
                    std::to_string(a.baseline->nights) + (a.baseline->nights == 1 ? " night.\n" : " nights.\n");
  }
  return out;
}

}  // namespace snoozlet::report_text
