#include "cli/RibbonText.h"

#include "cli/TerminalText.h"
#include "common/Text.h"
#include "presentation/RibbonLayout.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

namespace snoozlet::ribbon_text {

namespace {

constexpr std::size_t kNarrowest = 20;
// Wakes from the shortest to a full minute.
constexpr std::string_view kWakeLevels[] = {"▂", "▃", "▄", "▅", "▆", "▇", "█"};
constexpr std::string_view kSleep = "░";
constexpr std::string_view kCharger = "▒";

// A line of terminal cells, one code point each.
class Cells {
 public:
  explicit Cells(std::size_t width) : cells_(width, " ") {}

  // Writes `text` from `at` when it fits and every cell it needs (and one on
  // each side, unless `tight`) is blank; false otherwise.
  bool place(std::size_t at, std::string_view text, bool tight = false) {
    const std::vector<std::string> points = codePoints(text);
    if (at + points.size() > cells_.size()) return false;
    const std::size_t from = at > 0 && !tight ? at - 1 : at;
    const std::size_t to = std::min(at + points.size() + (tight ? 0 : 1), cells_.size());
    for (std::size_t i = from; i < to; ++i) {
      if (cells_[i] != " ") return false;
    }
    std::copy(points.begin(), points.end(), cells_.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
  }
  void set(std::size_t at, std::string_view cell) { cells_[at] = cell; }

  std::string text() const {
    std::string out;
    for (const auto& cell : cells_) out += cell;
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out + "\n";
  }

 private:
  static std::vector<std::string> codePoints(std::string_view text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 || out.empty()) {
        out.emplace_back(1, text[i]);
      } else {
        out.back() += text[i];
      }
    }
    return out;
  }

  std::vector<std::string> cells_;
};

// The column of x, for a band starting at column `left`.
std::size_t column(double x, std::size_t left, std::size_t width) {
  const auto c = static_cast<std::size_t>(std::max(std::floor(x), 0.0));
  return left + std::min(c, width - 1);
}

}  // namespace

std::string render(const NightReport& night, const NightFormat& format, std::size_t columns) {
  if (columns < kNarrowest) return "";
  // The band's cell height is the layout's unit, so a wake's height is its level.
  presentation::RibbonOptions options;
  options.compact = true;
  options.laneLimit = 0;
  options.bandHeight = 8 + 2 * 4;  // compact padding above and below
  // A label is one cell a code point, with a cell between two labels.
  options.labelWidth = [](std::string_view label) { return static_cast<double>(terminal::displayWidth(label)); };
  options.labelGap = 1;
  // The battery labels' words do not depend on the band's width: a one-cell layout has them.
  options.width = 1;
  const presentation::RibbonLayout probe = presentation::layoutRibbon(night, format, options);
  const std::string first = probe.firstBattery ? probe.firstBattery->text : "";
  const std::string last = probe.lastBattery ? probe.lastBattery->text : "";
  const std::size_t left = first.empty() ? 0 : terminal::displayWidth(first) + 1;
  const std::size_t right = last.empty() ? 0 : terminal::displayWidth(last) + 1;
  if (left + right + 10 > columns) return "";
  const std::size_t width = columns - left - right;
  options.width = static_cast<double>(width);
  const presentation::RibbonLayout layout = presentation::layoutRibbon(night, format, options);

  Cells band(columns);
  for (std::size_t c = 0; c < width; ++c) band.set(left + c, kSleep);
  for (const auto& stretch : layout.stretches) {
    for (std::size_t c = column(stretch.rect.x, 0, width); c <= column(stretch.rect.right() - 0.5, 0, width); ++c) {
      band.set(left + c, kCharger);
    }
  }
  // Several wakes may share a column: the strongest is drawn, one level per
  // sixth of a minute.
  std::vector<std::optional<double>> strongest(width);
  for (const auto& wake : layout.wakes) {
    for (std::size_t c = column(wake.rect.x, 0, width); c <= column(wake.rect.right() - 0.5, 0, width); ++c) {
      strongest[c] = std::max(strongest[c].value_or(0.0), wake.strength);
    }
  }
  for (std::size_t c = 0; c < width; ++c) {
    if (!strongest[c]) continue;
    const auto level = static_cast<std::size_t>(std::lround(*strongest[c] * 6));
    band.set(left + c, kWakeLevels[std::min<std::size_t>(level, 6)]);
  }
  if (!first.empty()) band.place(0, first, true);
  if (!last.empty()) band.place(left + width + 1, last, true);

  Cells labels(columns);
  labels.place(left, layout.startLabel, true);
  const std::size_t endWidth = terminal::displayWidth(layout.endLabel);
  if (layout.endLabelled && endWidth <= width) labels.place(left + width - endWidth, layout.endLabel);
  for (const auto& tick : layout.ticks) {
    if (!tick.labelled) continue;
    const auto half = static_cast<double>(terminal::displayWidth(tick.label)) / 2;
    labels.place(column(std::max(tick.x - half, 0.0), left, width), tick.label);
  }
  return band.text() + labels.text();
}

std::size_t terminalColumns() {
  if (const char* value = std::getenv("COLUMNS")) {
    if (const auto n = text::parseInteger(value); n && *n > 0 && *n < 10000) return static_cast<std::size_t>(*n);
  }
  winsize size{};
  if (::isatty(STDOUT_FILENO) == 1 && ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
    return size.ws_col;
  }
  return 80;
}

}  // namespace snoozlet::ribbon_text
