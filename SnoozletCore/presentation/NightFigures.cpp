#include "presentation/NightFigures.h"

#include "sessions/ActivityNames.h"

namespace snoozlet::presentation {

namespace {

// A drop needs this much time on battery to mean anything.
constexpr double kMeasurableHours = 0.5;

constexpr double kCautionRatio = 1.3;
constexpr double kWarningRatio = 2.5;
constexpr double kBelowNormalRatio = 0.7;

constexpr Bilingual kOnChargerTile{"on the charger", "şarjdaydı"};
constexpr Bilingual kTooShortTile{"too short to measure", "ölçmeye yetmedi"};
constexpr Bilingual kOnChargerShort{"on AC", "şarjda"};
constexpr Bilingual kTooShortShort{"too short", "çok kısa"};
constexpr Bilingual kNotRecordedTile{"no battery readings", "pil ölçümü yok"};
constexpr Bilingual kNotRecordedShort{"no readings", "ölçüm yok"};
constexpr Bilingual kPerHourUnit{"/h", "/sa"};

std::string stateWord(BatteryState state, Language language) {
  switch (state) {
    case BatteryState::onCharger: return kOnChargerShort(language);
    case BatteryState::notRecorded: return kNotRecordedShort(language);
    default: return kTooShortShort(language);
  }
}

BatteryState fromTrend(const std::optional<int>& drop, double batteryHours, bool sawCharger) {
  if (drop && batteryHours >= kMeasurableHours) return BatteryState::measured;
  return sawCharger ? BatteryState::onCharger : BatteryState::tooShort;
}

// Only the journal's absence of readings means nothing was measured; on a
// Mac the log always carries them when there is a battery.
bool notRecorded(bool anyReading, NightSource source) { return !anyReading && source == NightSource::journal; }

std::string compact(BatteryState state, const std::optional<int>& drop, const std::optional<double>& perHour,
                    const NightFormat& f) {
  if (state != BatteryState::measured) return stateWord(state, f.language());
  std::string text = dropText(*drop);
  if (const auto rate = perHourText(perHour, f)) text += " · " + *rate;
  return text;
}

}  // namespace

BatteryState batteryState(const BatteryTrend& trend, NightSource source) {
  if (notRecorded(trend.first.has_value(), source)) return BatteryState::notRecorded;
  // No reading at all: a Mac without a battery, always on its charger.
  return fromTrend(trend.drop, trend.batteryHours, trend.sawCharger || !trend.first);
}

BatteryState batteryState(const ArchivedNight& night, NightSource source) {
  if (notRecorded(night.batteryFirst.has_value(), source)) return BatteryState::notRecorded;
  return fromTrend(night.drop, night.batteryHours, !night.drop);
}

std::string dropText(int drop) { return drop == 0 ? "0" : "−" + std::to_string(drop); }

RatioBand ratioBand(double ratio) {
  if (ratio >= kWarningRatio) return RatioBand::warning;
  if (ratio >= kCautionRatio) return RatioBand::caution;
  return RatioBand::ordinary;
}

std::string ratioText(double ratio, const NightFormat& f) {
  const Language l = f.language();
  if (ratio >= kCautionRatio) {
    return l == Language::turkish ? "normalin " + f.ratio(ratio) + " katı" : f.times(ratio) + " normal";
  }
  if (ratio < kBelowNormalRatio) return Bilingual{"below normal", "normalin altında"}(l);
  return "normal";
}

FiguresRow figuresRow(const NightReport& night, const NightFormat& f, NightSource source) {
  const Language l = f.language();
  FiguresRow row;
  row.asleep = {f.duration(night.duration()), Bilingual{"asleep", "uyudu"}(l)};
  row.darkWakes = {std::to_string(night.darkWakeCount), Bilingual{"dark wakes", "karanlıkta uyanma"}(l)};
  if (night.awakeSeconds > 0) {
    row.awakeLine = l == Language::turkish ? "karanlıkta uyanık (" + f.duration(night.awakeSeconds) + ")"
                                           : "awake in the dark (" + f.duration(night.awakeSeconds) + ")";
  }
  const BatteryTrend& b = night.battery;
  const BatteryState state = batteryState(b, source);
  if (state != BatteryState::measured) {
    const Bilingual& caption = state == BatteryState::onCharger     ? kOnChargerTile
                               : state == BatteryState::notRecorded ? kNotRecordedTile
                                                                    : kTooShortTile;
    row.battery.figure = {"—", caption(l)};
    return row;
  }
  row.battery.figure = {dropText(*b.drop), Bilingual{"battery points", "pil puanı"}(l)};
  if (b.perHour) {
    row.battery.perHour =
        l == Language::turkish ? "saatte " + f.decimal(*b.perHour, 1) : f.decimal(*b.perHour, 1) + " an hour";
  }
  if (night.ratio) {
    row.battery.ratio = ratioText(*night.ratio, f);
    row.battery.band = ratioBand(*night.ratio);
  }
  return row;
}

std::string compactBattery(const NightReport& night, const NightFormat& f, NightSource source) {
  return compact(batteryState(night.battery, source), night.battery.drop, night.battery.perHour, f);
}

std::string compactBattery(const ArchivedNight& night, const NightFormat& f, NightSource source) {
  return compact(batteryState(night, source), night.drop, night.perHour, f);
}

PopoverFigures popoverFigures(const NightReport& night, const NightFormat& f, NightSource source) {
  const Language l = f.language();
  const BatteryState state = batteryState(night.battery, source);
  Figure battery{state == BatteryState::measured ? dropText(*night.battery.drop) : stateWord(state, l),
                 Bilingual{"battery", "pil"}(l)};
  // The words are too wide for a figure's value: a dash over them.
  if (state == BatteryState::notRecorded) battery = {"—", kNotRecordedShort(l)};
  return {{std::to_string(night.darkWakeCount), Bilingual{"wakes", "uyanma"}(l)},
          {f.duration(night.awakeSeconds), Bilingual{"awake", "uyanık"}(l)},
          battery};
}

std::string startLabel(const std::string& sleepReason, Language l) {
  if (sleepReason == "Clamshell Sleep") return Bilingual{"lid closed", "kapak kapandı"}(l);
  if (sleepReason == "Idle Sleep") return Bilingual{"dozed off", "uyuyakaldı"}(l);
  if (sleepReason == "Software Sleep" || sleepReason == "Sleep Menu") return Bilingual{"put to sleep", "uyutuldu"}(l);
  return Bilingual{"fell asleep", "uykuya daldı"}(l);
}

std::string endLabel(const std::optional<WakeReason>& wokeBy, Language l) {
  if (!wokeBy) return Bilingual{"still asleep", "hâlâ uyuyor"}(l);
  switch (wokeBy->category) {
    case WakeCategory::lid: return Bilingual{"lid opened", "kapak açıldı"}(l);
    case WakeCategory::user: return Bilingual{"woken by you", "sen uyandırdın"}(l);
    case WakeCategory::power:
    case WakeCategory::notification: return Bilingual{"charger plugged in", "şarj takıldı"}(l);
    default: return Bilingual{"woke up", "uyandı"}(l);
  }
}

std::string requesterTitle(const RequesterGroup& requester, Language l) {
  const auto friendly = ActivityNames::friendly(requester.activity, l);
  return (friendly ? std::string(*friendly) : requester.activity) + " ×" + std::to_string(requester.count);
}

std::string holderLine(const HolderGroup& holder, Language l) {
  if (holder.origin == HolderOrigin::userTool) {
    return Bilingual{"You or a script asked for this · ", "Bunu ya sen ya da bir betik istedi · "}(l) + holder.type;
  }
  return holder.type + " · " + holder.name;
}

bool keepsMacAwake(const HolderGroup& holder) {
  return holder.origin == HolderOrigin::app && holder.type == "PreventSystemSleep";
}

std::optional<std::string> perHourText(const std::optional<double>& perHour, const NightFormat& f) {
  if (!perHour) return std::nullopt;
  return f.decimal(*perHour, 1) + kPerHourUnit(f.language());
}

std::string trayTooltip(const NightReport* latest, const NightFormat& format) {
  if (latest == nullptr) return "Snoozlet";
  const Language l = format.language();
  return "Snoozlet — " + std::string(mood::title(latest->mood, l)) + " · " + std::to_string(latest->darkWakeCount) +
         Bilingual{" dark wakes · ", " karanlık uyanma · "}(l) + format.duration(latest->duration());
}

std::string reasonFigure(const ReasonGroup& group, const NightFormat& format) {
  return std::to_string(group.count) + " · " + format.duration(group.awakeSeconds);
}

}  // namespace snoozlet::presentation
