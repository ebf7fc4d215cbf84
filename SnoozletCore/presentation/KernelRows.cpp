#include "presentation/KernelRows.h"

#include "common/Text.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace snoozlet::presentation {

namespace {

constexpr std::size_t kLineSources = 3;

std::string times(std::uint64_t count) { return "×" + std::to_string(count); }

}  // namespace

std::string hardwareShareText(double share, const NightFormat& f) {
  const std::string percent = f.share(share);
  // "%12 kadarı" needs no suffix on the number, which would follow its spoken form.
  return f.language() == Language::turkish ? "gecenin " + percent + " kadarı donanım uykusunda"
                                           : "in hardware sleep for " + percent + " of the night";
}

std::optional<KernelSection> kernelSection(const NightReport& night, const NightFormat& f) {
  const auto counts = kernel_counts::summarize(night.kernelSleeps);
  if (!counts) return std::nullopt;
  const Language l = f.language();
  KernelSection section;
  section.title = Bilingual{"What the kernel counted", "Çekirdeğin saydıkları"}(l);
  for (const SourceWakes& source : counts->sources) {
    section.rows.push_back({kernel_counts::label(source, l), times(source.wakeups)});
  }
  if (section.rows.empty()) {
    section.none = Bilingual{"No wakeup source woke the laptop.", "Hiçbir uyandırma kaynağı dizüstünü uyandırmadı."}(l);
  }
  if (counts->hardwareShare) {
    std::string line = hardwareShareText(*counts->hardwareShare, f);
    line[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
    section.hardwareLine = line;
  }
  section.footnote = Bilingual{
      "Read from the kernel (/sys/class/wakeup, /sys/power/suspend_stats) before and after "
      "each sleep while Snoozlet was running.",
      "Snoozlet çalışırken her uykudan önce ve sonra çekirdekten okundu (/sys/class/wakeup, "
      "/sys/power/suspend_stats)."}(l);
  return section;
}

std::optional<std::string> kernelLine(const NightReport& night, const NightFormat& f) {
  const auto counts = kernel_counts::summarize(night.kernelSleeps);
  if (!counts) return std::nullopt;
  const Language l = f.language();
  std::vector<std::string> sources;
  for (std::size_t i = 0; i < counts->sources.size() && i < kLineSources; ++i) {
    sources.push_back(kernel_counts::label(counts->sources[i], l) + " " + times(counts->sources[i].wakeups));
  }
  if (sources.empty()) sources.push_back(Bilingual{"no wakes", "uyanma yok"}(l));
  std::string line = Bilingual{"Kernel: ", "Çekirdek: "}(l) + text::join(sources, ", ");
  if (counts->hardwareShare) line += " · " + hardwareShareText(*counts->hardwareShare, f);
  return line;
}

}  // namespace snoozlet::presentation
