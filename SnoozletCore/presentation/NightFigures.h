#pragma once

// What every front end shows of one night's numbers, decided once: the
// battery figure (of a report and of an archived night), the drain compared
// with the normal and its colour band, the night page's row of figures, the
// popover's three figures, and the words at both ends of the ribbon.
//
// The terminal and the windows both call these; nothing else writes a
// battery figure or picks a ratio's colour.

#include "analysis/NightReport.h"
#include "archive/ArchivedNight.h"
#include "common/NightSource.h"
#include "narration/NightFormat.h"

#include <optional>
#include <string>

namespace snoozlet::presentation {

// Whether a night's battery drop can be shown. A drop needs half an hour on
// battery; without it the night either saw the charger (or had no battery
// readings at all, as on a Mac without a battery) or its time on battery was
// too short to measure. A Linux laptop's journal without any reading (a
// journal read without UPower's history) says nothing about the battery:
// its battery was not recorded.
enum class BatteryState { measured, onCharger, tooShort, notRecorded };

BatteryState batteryState(const BatteryTrend& trend, NightSource source = NightSource::pmset);
// An archived night keeps no charger flag: no measured time on battery at
// all means every stretch began on the charger; a short one is too short.
BatteryState batteryState(const ArchivedNight& night, NightSource source = NightSource::pmset);

// "−3", or "0" for a drop of 0; only for a measured state.
std::string dropText(int drop);

// How a drain compares with the normal; each band has its own colour.
enum class RatioBand { ordinary, caution, warning };

// ordinary below 1.3, caution from 1.3 to below 2.5, warning from 2.5 up.
RatioBand ratioBand(double ratio);
// "2.9× normal" from 1.3 up, "below normal" under 0.7, else "normal".
std::string ratioText(double ratio, const NightFormat& format);

// One of the page's big figures: the value over its caption.
struct Figure {
  std::string value;
  std::string caption;
  bool operator==(const Figure&) const = default;
};

// The battery tile of the night page.
struct BatteryTile {
  // "−9" over "battery points", or "—" over "on the charger" / "too short to
  // measure" / "no battery readings".
  Figure figure;
  // "1.1 an hour"; only for a measured drop with a per-hour figure.
  std::optional<std::string> perHour;
  // The comparison with the normal; only for a measured drop with a ratio.
  std::optional<std::string> ratio;
  RatioBand band = RatioBand::ordinary;
  bool operator==(const BatteryTile&) const = default;
};

// The row of figures under the morning report.
struct FiguresRow {
  // The length over "asleep".
  Figure asleep;
  // The count over "dark wakes".
  Figure darkWakes;
  // "awake in the dark (9 min)" when the night has awake time.
  std::optional<std::string> awakeLine;
  BatteryTile battery;
  bool operator==(const FiguresRow&) const = default;
};

FiguresRow figuresRow(const NightReport& night, const NightFormat& format, NightSource source = NightSource::pmset);

// The battery figure where space is short (popover, history, terminal
// table): "−3 · 0.4/h", "0", "on AC", "too short" or "no readings".
std::string compactBattery(const NightReport& night, const NightFormat& format,
                           NightSource source = NightSource::pmset);
std::string compactBattery(const ArchivedNight& night, const NightFormat& format,
                           NightSource source = NightSource::pmset);

// The popover's three figures: wakes, awake, battery.
struct PopoverFigures {
  Figure wakes;
  Figure awake;
  Figure battery;
  bool operator==(const PopoverFigures&) const = default;
};

PopoverFigures popoverFigures(const NightReport& night, const NightFormat& format,
                              NightSource source = NightSource::pmset);

// "lid closed", "dozed off", "put to sleep" or "fell asleep", from the
// session's sleep reason.
std::string startLabel(const std::string& sleepReason, Language language);
// "still asleep" (no wake reason), "lid opened", "woken by you",
// "charger plugged in" or "woke up".
std::string endLabel(const std::optional<WakeReason>& wokeBy, Language language);

// The tray icon's tooltip: "Snoozlet" before the first night, else the
// latest night's mood, dark wakes and length: "Snoozlet — Restless · 354
// dark wakes · 8 h".
std::string trayTooltip(const NightReport* latest, const NightFormat& format);

// The figure beside a row of "What woke me": how often, and how long it
// kept the machine awake ("354 · 41 min").
std::string reasonFigure(const ReasonGroup& group, const NightFormat& format);

// A row of "Who set the alarm": the activity's friendly name (or its key)
// followed by "×" and the count: "Calendar alarm ×3".
std::string requesterTitle(const RequesterGroup& requester, Language language);
// The second line of a "Who held the lamp" row: the assertion's type and
// name ("PreventUserIdleSystemSleep · Playing audio"), or for a tool the user
// started, "You or a script asked for this · " and the type.
std::string holderLine(const HolderGroup& holder, Language language);
// An application holding "PreventSystemSleep": its row is set apart.
bool keepsMacAwake(const HolderGroup& holder);

// The per-hour drain of a night row in the sidebar: "1.1/h"; nothing
// without a per-hour figure.
std::optional<std::string> perHourText(const std::optional<double>& perHour, const NightFormat& format);

}  // namespace snoozlet::presentation
