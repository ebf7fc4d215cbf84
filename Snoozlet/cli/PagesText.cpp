#include "cli/PagesText.h"

#include "cli/JsonWriter.h"
#include "cli/ReportJson.h"
#include "cli/ReportText.h"
#include "cli/TerminalText.h"
#include "presentation/DrainStripLayout.h"

#include <algorithm>
#include <cmath>

namespace snoozlet::pages_text {

namespace {

using presentation::BatteryRow;
using presentation::batteryRows;
using presentation::HistoryRow;
using terminal::padded;

// The eight heights of a bar, lowest first.
constexpr std::string_view kBars[] = {"▁", "▂", "▃", "▄", "▅", "▆", "▇", "█"};

}  // namespace

std::string drainStrip(const std::vector<ArchivedNight>& newestFirst, const std::optional<Baseline>& baseline,
                       const NightFormat& format, std::size_t width) {
  // One column per night; a bar's height picks one of the eight block characters.
  const auto strip =
      presentation::layoutDrainStrip(newestFirst, baseline, format, {static_cast<double>(newestFirst.size()), 7, 0});
  std::string out;
  std::size_t inLine = 0;
  for (const presentation::DrainBar& bar : strip.bars) {
    out += bar.perHour ? kBars[static_cast<std::size_t>(std::lround(bar.rect.height))] : std::string_view("·");
    if (++inLine == width) {
      out += "\n";
      inLine = 0;
    }
  }
  if (inLine > 0) out += "\n";
  if (strip.referenceY) out += strip.referenceLabel + "\n";
  return out;
}

std::string history(NightSource source, const std::vector<ArchivedNight>& nights,
                    const std::optional<Baseline>& baseline, const NightFormat& f) {
  const presentation::HistoryHeading heading = presentation::historyHeading(nights, f, source);
  std::string out = heading.title + "\n" + heading.line + "\n" + heading.since + "\n";
  if (heading.empty) return out + "\n" + *heading.empty + "\n";

  std::vector<HistoryRow> rows;
  for (const ArchivedNight& n : nights) rows.push_back(presentation::historyRow(n, f, source));
  out += '\n' + report_text::nightTable(rows, presentation::historyHeader(f.language()));
  return out + '\n' + heading.stripTitle + '\n' + drainStrip(nights, baseline, f);
}

void historyJson(std::ostream& out, const std::vector<ArchivedNight>& nights, const std::optional<Baseline>& baseline,
                 const std::optional<ArchiveProblem>& archive, Language language) {
  JsonWriter json(out);
  json.beginObject();
  json.key("baseline");
  report_json::baseline(json, baseline);
  json.key("archiveProblem");
  report_json::archiveProblem(json, archive, language);
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

std::string battery(NightSource source, const std::optional<BatteryHealth>& b, const std::optional<Baseline>& baseline,
                    const NightFormat& f) {
  const presentation::BatteryHeading heading = presentation::batteryHeading(b.has_value(), f.language(), source);
  std::string out = heading.title + "\n" + heading.subtitle + "\n\n";
  if (heading.noBattery) return out + *heading.noBattery + "\n";
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
