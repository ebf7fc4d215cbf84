#pragma once

// Synthetic power-log text for demonstrations and tests. A short description
// of nights goes in; lines in exactly the format the log scanner reads come
// out, so the text can run through the ordinary pipeline (reader, session
// builder, analyzer) without touching the machine's own log:
//
//   Night list → per night: dark-wake instants from a seeded generator,
//   sorted → lines (display off, sleep, holder, request/dark wake/sleep per
//   wake, full wake, display on) → one text.
//
// The output is deterministic: the generator is seeded afresh in every call.

#include "analysis/Mood.h"
#include "common/TimeZone.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::DemoLog {

// `count` dark wakes of one reason, each lasting about `seconds`.
struct Wake {
  std::string reason;
  int count = 0;
  double seconds = 0;
  bool operator==(const Wake&) const = default;
};

// One process holding a sleep-preventing assertion for `hours`.
struct Holder {
  std::string process;
  double hours = 0;
  bool operator==(const Holder&) const = default;
};

// One night to write.
struct Night {
  // When the machine went to sleep, read in the zone given to `text`.
  DateComponents start;
  double hours = 0;
  // Charge percentage at the start and at the end.
  int batteryFrom = 0;
  int batteryTo = 0;
  std::vector<Wake> wakes;
  std::optional<Holder> holder;
  // Hours after `start` at which the charger was connected; absent: on
  // battery all night.
  std::optional<double> chargerAt;
  // The wake reason of the full wake that ends the night.
  std::string endReason;
  bool operator==(const Night&) const = default;
};

// Wake-reason texts as the power log prints them.
inline constexpr std::string_view lid =
    "smc.sysState.Wake(0x70070000) lid SMC.OutboxNotEmpty RTP.multi-touch/HID Activity";
inline constexpr std::string_view wifi = "smc.sysState.Wake(0x70070000) wifibt SMC.OutboxNotEmpty/";
inline constexpr std::string_view task = "NUB.SPMI0.SW3 nub-spmi0.0x02 rtc/SleepService";
inline constexpr std::string_view maintenance = "NUB.SPMI0.SW3 nub-spmi0.0x02 rtc/Maintenance";
inline constexpr std::string_view plug =
    "smc.sysState.Wake(0x70070000) USB-C_plug SMC.OutboxNotEmpty nub-spmi-a0.0x3F/";

// The infos of the background-task wake requests, drawn at random per wake.
inline constexpr std::array<std::string_view, 3> backgroundTaskInfos = {
    "com.apple.dasd:501:com.apple.fileproviderd.background-download",
    "com.apple.dasd:501:com.apple.filevault.healthanalytics",
    "com.apple.dasd:501:com.apple.searchd.heartbeat",
};

// The log text of the nights, in list order: lines separated by line feeds,
// with a final line feed. Nights whose start is not a date, or whose length
// is not a positive number of hours, are left out.
std::string text(const std::vector<Night>& nights, const TimeZone& timeZone);

// Seven nights ending the night before `endingOn` (its day; 1 when it has
// none; other components are kept), the last one of the given mood. Day
// numbers below 1 roll back into the previous month.
std::vector<Night> week(const DateComponents& endingOn, Mood last);

}  // namespace snoozlet::DemoLog
