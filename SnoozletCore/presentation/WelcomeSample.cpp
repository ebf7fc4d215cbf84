#include "presentation/WelcomeSample.h"

#include "analysis/NightAnalyzer.h"
#include "demo/DemoLog.h"
#include "presentation/NightFigures.h"

namespace snoozlet::presentation {

std::optional<NightReport> welcomeNight(const TimeZone& zone) {
  DemoLog::Night night;
  night.start = {2026, 10, 24, 23, 31, std::nullopt};
  night.hours = 8;
  night.batteryFrom = 64;
  night.batteryTo = 55;
  night.wakes = {{std::string(DemoLog::wifi), 160, 11},
                 {std::string(DemoLog::task), 30, 9},
                 {std::string(DemoLog::maintenance), 10, 14}};
  night.endReason = std::string(DemoLog::lid);
  SleepAnalysis analysis = NightAnalyzer::analyze(DemoLog::text({night}, zone), zone, {});
  if (analysis.reports.empty()) return std::nullopt;
  return std::move(analysis.reports.back());
}

std::string welcomeNightCaption(const NightReport& night, const NightFormat& format) {
  const FiguresRow figures = figuresRow(night, format);
  std::string caption = figures.battery.figure.value + " " + figures.battery.figure.caption;
  if (figures.battery.perHour) caption += " · " + *figures.battery.perHour;
  return caption;
}

ReviewBlock welcomeFix(Language language) {
  const FixPlan plan{{PlannedChange{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"}}, {}};
  ReviewContext context;
  context.language = language;
  context.pmsetPath = "/usr/bin/pmset";
  return reviewSheet(plan, context).blocks.front();
}

}  // namespace snoozlet::presentation
