#include "cli/ReportText.h"

#include "cli/RibbonText.h"
#include "cli/TerminalText.h"
#include "common/Text.h"
#include "presentation/KernelRows.h"
#include "presentation/NightFigures.h"
#include "presentation/PageRows.h"

#include <sstream>

namespace snoozlet::report_text {

namespace {

using terminal::padded;

bool turkish(const NightFormat& f) { return f.language() == Language::turkish; }

std::string figureText(const presentation::Figure& figure) {
  // "—" says nothing in a line of text: the caption alone does.
  return figure.value == "—" ? figure.caption : figure.value + " " + figure.caption;
}

}  // namespace

std::string figures(const NightReport& r, const NightFormat& f, NightSource source) {
  const presentation::FiguresRow row = presentation::figuresRow(r, f, source);
  std::string line = figureText(row.asleep) + " · " + figureText(row.darkWakes);
  if (row.awakeLine) line += ", " + *row.awakeLine;
  line += " · " + figureText(row.battery.figure);
  if (row.battery.perHour) line += " · " + *row.battery.perHour;
  if (row.battery.ratio) line += " · " + *row.battery.ratio;
  return line;
}

std::string night(const NightReport& r, const Narrator& narrator, const Options& options) {
  const NightFormat& f = narrator.format();
  std::string out = f.nightTitle(r.start()) + " — " + std::string(mood::title(r.mood, f.language()));
  if (r.kind == SleepKind::daytimeNap) out += " (" + std::string(sleep_kind::title(r.kind, f.language())) + ")";
  if (r.session.ending.kind() == SessionEnd::Kind::ongoing) out += turkish(f) ? " (sürüyor)" : " (still asleep)";
  out += "\n";
  out += options.plain ? narrator.plainSummary(r) : narrator.speech(r);
  out += '\n';
  out += figures(r, f, narrator.source());
  out += '\n';
  if (const auto kernel = presentation::kernelLine(r, f)) out += *kernel + "\n";
  if (options.ribbon) out += "\n" + ribbon_text::render(r, f, options.columns);
  return out;
}

std::string nightTable(const std::vector<presentation::HistoryRow>& rows, const presentation::HistoryRow& header) {
  using Row = presentation::HistoryRow;
  constexpr std::string Row::*kColumns[] = {&Row::night,   &Row::asleep, &Row::wakes, &Row::awake,
                                            &Row::battery, &Row::mostly, &Row::mood};
  constexpr std::size_t kCount = std::size(kColumns);
  std::size_t widths[kCount] = {};
  const auto measure = [&](const Row& r) {
    for (std::size_t i = 0; i < kCount; ++i) widths[i] = std::max(widths[i], terminal::displayWidth(r.*kColumns[i]));
  };
  measure(header);
  for (const Row& r : rows) measure(r);
  const auto line = [&](const Row& r) {
    std::string out;
    for (std::size_t i = 0; i + 1 < kCount; ++i) {
      out += kColumns[i] == &Row::wakes ? padded(r.*kColumns[i], widths[i], true) + "  "
                                        : padded(r.*kColumns[i], widths[i] + 2);
    }
    return out + r.*kColumns[kCount - 1] + "\n";
  };
  std::string out = line(header);
  for (const Row& r : rows) out += line(r);
  return out;
}

std::string table(const SleepAnalysis& a, const NightFormat& f, NightSource source) {
  std::vector<presentation::HistoryRow> rows;
  for (const auto& r : a.reports) rows.push_back(presentation::historyRow(r, f, source));
  return nightTable(rows, presentation::historyHeader(f.language()));
}

std::string batteryHealth(const BatteryHealth& b, const NightFormat& f) {
  std::vector<std::string> parts;
  for (const presentation::BatteryRow& row : presentation::batteryRows(b, std::nullopt, f)) {
    if (row.name == "capacity" || row.name == "cycles" || row.name == "charge") {
      parts.push_back(row.value + " " + row.caption);
    }
    if (row.name == "charge" && row.detail) parts.push_back(*row.detail);
  }
  const bool tr = turkish(f);
  if (parts.empty()) parts.push_back(tr ? "bilgi yok" : "no figures");
  return (tr ? "\nPil sağlığı: " : "\nBattery health: ") + text::join(parts, " · ") + "\n";
}

std::string render(const SleepAnalysis& a, const Narrator& narrator, const Options& options) {
  const NightFormat& f = narrator.format();
  const bool tr = turkish(f);
  if (a.reports.empty()) return tr ? "Bu kayıtta hiç gece yok.\n" : "No nights in this log.\n";
  std::string out;
  if (options.all) {
    for (const auto& r : a.reports) out += night(r, narrator, options) + "\n";
  } else if (const NightReport* last = a.lastNight()) {
    out += night(*last, narrator, options) + "\n";
  } else {
    out += tr ? "Bu kayıtta gece yok; yalnız gündüz uykuları var.\n\n" : "No night in this log, only daytime naps.\n\n";
  }
  out += table(a, f, narrator.source());
  if (a.baseline) {
    const std::string rate = *presentation::perHourText(a.baseline->percentPerHour, f);
    out += "\n" + presentation::machineNormal(options.source, rate, a.baseline->nights, f.language()) + "\n";
  }
  return out;
}

}  // namespace snoozlet::report_text
