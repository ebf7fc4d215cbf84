#include "analysis/Baseline.h"

#include <algorithm>
#include <map>

namespace snoozlet {

double Baseline::ratio(double perHour) const { return perHour / std::max(percentPerHour, 0.15); }

namespace {

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

std::optional<Baseline> Baseline::from(const std::vector<BaselineSample>& samples) {
  std::map<Instant, BaselineSample, std::greater<>> byStart;  // newest first
  for (const auto& sample : samples) byStart[sample.start] = sample;
  if (byStart.empty()) return std::nullopt;
  std::vector<double> perHour, awake;
  for (const auto& [start, sample] : byStart) {
    if (static_cast<int>(perHour.size()) == window) break;
    perHour.push_back(sample.perHour);
    awake.push_back(sample.awakeFraction);
  }
  return Baseline{median(perHour), median(awake), static_cast<int>(perHour.size())};
}

}  // namespace snoozlet
