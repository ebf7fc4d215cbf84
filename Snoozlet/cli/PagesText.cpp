#include "cli/PagesText.h"

#include "cli/JsonWriter.h"
#include "cli/ReportJson.h"
#include "cli/TerminalText.h"

#include <algorithm>
#include <cmath>

namespace snoozlet::pages_text {

namespace {

using terminal::padded;
using terminal::Words;

// The eight heights of a bar, lowest first.
constexpr std::string_view kBars[] = {"▁", "▂", "▃", "▄", "▅", "▆", "▇", "█"};

std::string perHourText(double value, const NightFormat& f) {
  return f.decimal(value, 1) + Words{"/h", "/sa"}(f.language());
}

}  // namespace

std::string nightBattery(const ArchivedNight& n, const NightFormat& f) {
  if (!n.drop || n.batteryHours < 0.5) return Words{"on AC", "şarjda"}(f.language());
  std::string text = *n.drop == 0 ? "0" : "−";
  if (*n.drop != 0) text += std::to_string(*n.drop);
  if (n.perHour) {
    text += " · ";
    text += perHourText(*n.perHour, f);
  }
  return text;
}

HistoryRow historyRow(const ArchivedNight& n, const NightFormat& f) {
  const Language l = f.language();
  std::string night = f.shortDay(f.nightDay(n.start));
  if (n.kind == SleepKind::daytimeNap) {
    night += ' ';
    night += Words{"nap", "şekerleme"}(l);
  }
  return HistoryRow{night,
                    f.duration(n.duration()),
                    std::to_string(n.darkWakes),
                    f.duration(n.awakeSeconds),
                    nightBattery(n, f),
                    n.topCategory ? std::string(wake_category::title(*n.topCategory, l)) : "—"};
}

std::string drainStrip(const std::vector<ArchivedNight>& newestFirst, const std::optional<Baseline>& baseline,
                       std::size_t width) {
  double top = baseline ? baseline->percentPerHour : 0;
  for (const ArchivedNight& n : newestFirst) top = std::max(top, n.perHour.value_or(0));
  std::string out;
  std::size_t inLine = 0;
  for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) {
    if (!it->perHour) {
      out += "·";
    } else {
      const double share = top > 0 ? std::clamp(*it->perHour / top, 0.0, 1.0) : 0;
      out += kBars[static_cast<std::size_t>(std::lround(share * 7))];
    }
    if (++inLine == width) {
      out += "\n";
      inLine = 0;
    }
  }
  if (inLine > 0) out += "\n";
  return out;
}

std::string history(const std::vector<ArchivedNight>& nights, const std::optional<Baseline>& baseline,
                    const NightFormat& f) {
  const Language l = f.language();
  std::string out = Words{"History", "Geçmiş"}(l) + "\n" +
                    Words{"Every sleep I’ve seen on this Mac, kept after macOS forgets its week-long log.",
                          "Bu Mac’te gördüğüm her uyku; macOS haftalık kaydını unuttuktan sonra da burada."}(l) +
                    "\n";
  if (nights.empty()) {
    return out + Words{"This Mac", "Bu Mac"}(l) + "\n\n" +
           Words{"The first nights will appear here tomorrow morning.", "İlk geceler yarın sabah burada olacak."}(l) +
           "\n";
  }
  const std::string since = f.longDay(f.nightDay(nights.back().start));
  out += l == Language::turkish ? "Bu Mac · " + since + " tarihinden beri\n" : "This Mac · since " + since + "\n";

  const std::vector<HistoryRow> rows = [&] {
    std::vector<HistoryRow> all;
    for (const ArchivedNight& n : nights) all.push_back(historyRow(n, f));
    return all;
  }();
  const HistoryRow head{Words{"Night", "Gece"}(l),   Words{"Asleep", "Uyku"}(l), Words{"Wakes", "Uyanma"}(l),
                        Words{"Awake", "Uyanık"}(l), Words{"Battery", "Pil"}(l), Words{"Mostly", "En çok"}(l)};
  // Columns as wide as their widest cell.
  std::size_t widths[5] = {};
  const auto measure = [&](const HistoryRow& r) {
    const std::string* cells[5] = {&r.night, &r.asleep, &r.wakes, &r.awake, &r.battery};
    for (std::size_t i = 0; i < 5; ++i) widths[i] = std::max(widths[i], terminal::displayWidth(*cells[i]));
  };
  measure(head);
  for (const HistoryRow& r : rows) measure(r);
  const auto line = [&](const HistoryRow& r) {
    return padded(r.night, widths[0] + 2) + padded(r.asleep, widths[1] + 2) + padded(r.wakes, widths[2], true) + "  " +
           padded(r.awake, widths[3] + 2) + padded(r.battery, widths[4] + 2) + r.mostly + "\n";
  };
  out += '\n';
  out += line(head);
  for (const HistoryRow& r : rows) out += line(r);

  out += '\n';
  out += Words{"Battery drain per night", "Gece başına pil kaybı"}(l);
  out += '\n';
  out += drainStrip(nights, baseline);
  if (baseline) {
    out += "normal ";
    out += perHourText(baseline->percentPerHour, f);
    out += '\n';
  }
  return out;
}

void historyJson(std::ostream& out, const std::vector<ArchivedNight>& nights, const std::optional<Baseline>& baseline) {
  JsonWriter json(out);
  json.beginObject();
  json.key("baseline");
  report_json::baseline(json, baseline);
  json.key("nights").beginArray();
  for (const ArchivedNight& n : nights) {
    json.beginObject()
        .member("start", n.start)
        .member("end", n.end)
        .member("kind", toString(n.kind))
        .member("mood", toString(n.mood))
        .member("darkWakes", n.darkWakes)
        .member("awakeSeconds", n.awakeSeconds)
        .member("batteryFirst", n.batteryFirst)
        .member("batteryLast", n.batteryLast)
        .member("drop", n.drop)
        .member("batteryHours", n.batteryHours)
        .member("perHour", n.perHour);
    json.key("topCategory");
    if (n.topCategory) {
      json.value(toString(*n.topCategory));
    } else {
      json.null();
    }
    json.member("culprit", n.culprit);
    json.key("reasons").beginObject();
    for (const auto& [category, count] : n.reasons) json.member(toString(category), count);
    json.endObject().endObject();
  }
  json.endArray().endObject();
  json.flush();
  out << "\n";
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
    rows.push_back({"capacity", f.percent(static_cast<int>(std::lround(*fraction * 100))),
                    Words{"of its original capacity", "ilk kapasitesinden kalan"}(l),
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
    rows.push_back({"cycles", std::to_string(*b->cycleCount), Words{"charge cycles", "şarj döngüsü"}(l), detail});
  }
  if (b->chargePercent) {
    const std::string detail = b->isCharging ? Words{"Charging.", "Şarj oluyor."}(l)
                               : b->externalConnected
                                   ? Words{"On the charger, not charging.", "Şarja takılı, şarj olmuyor."}(l)
                                   : Words{"On battery.", "Pilde."}(l);
    rows.push_back(
        {"charge", f.percent(static_cast<int>(*b->chargePercent)), Words{"charged now", "şu an dolu"}(l), detail});
  }
  if (b->temperatureCelsius) {
    rows.push_back({"temperature", f.decimal(*b->temperatureCelsius, 1) + " °C", Words{"temperature", "sıcaklık"}(l),
                    Words{"Comfortable is roughly 10–35 °C.", "Rahat aralık aşağı yukarı 10–35 °C."}(l)});
  }
  if (b->voltage) {
    rows.push_back({"voltage", f.decimal(*b->voltage, 2) + " V", Words{"voltage", "gerilim"}(l), std::nullopt});
  }
  if (baseline) {
    const std::string count = std::to_string(baseline->nights);
    rows.push_back({"normal", f.decimal(baseline->percentPerHour, 1),
                    Words{"points an hour on a normal night", "normal bir gecede saatte puan"}(l),
                    tr ? "Kayıttaki " + count + " pilli gecenin ortancası. Snoozlet her geceyi bununla karşılaştırır."
                       : "The median of " + count +
                             " battery nights in the log. Snoozlet compares every night with "
                             "this."});
  }
  return rows;
}

std::string battery(const std::optional<BatteryHealth>& b, const std::optional<Baseline>& baseline,
                    const NightFormat& f) {
  const Language l = f.language();
  std::string out = Words{"Battery", "Pil"}(l) + "\n" +
                    Words{"This Mac · read from the battery", "Bu Mac · pilden okundu"}(l) + "\n\n";
  if (!b) {
    return out +
           Words{"This Mac has no battery, so there’s no overnight drain to explain.",
                 "Bu Mac’te pil yok; açıklanacak bir gece kaybı da yok."}(l) +
           "\n";
  }
  const auto rows = batteryRows(b, baseline, f);
  std::size_t width = 0;
  for (const BatteryRow& r : rows) width = std::max(width, terminal::displayWidth(r.value));
  for (const BatteryRow& r : rows) {
    out += padded(r.value, width, true) + "  " + r.caption + "\n";
    if (r.detail) out += std::string(width + 2, ' ') + *r.detail + "\n";
  }
  return out;
}

void batteryJson(std::ostream& out, const std::optional<BatteryHealth>& b, const std::optional<Baseline>& baseline,
                 const NightFormat& f) {
  JsonWriter json(out);
  json.beginObject();
  json.key("battery");
  if (b) {
    report_json::batteryHealth(json, *b);
  } else {
    json.null();
  }
  json.key("baseline");
  report_json::baseline(json, baseline);
  json.key("rows").beginArray();
  for (const BatteryRow& r : batteryRows(b, baseline, f)) {
    json.beginObject()
        .member("name", r.name)
        .member("value", r.value)
        .member("caption", r.caption)
        .member("detail", r.detail)
        .endObject();
  }
  json.endArray().endObject();
  json.flush();
  out << "\n";
}

}  // namespace snoozlet::pages_text
