#pragma once

// The morning report. The mascot, asleep in a teapot, tells in the first
// person how the night went: a headline picked by the night's mood and kind,
// a sentence about the dark wakes, one about the battery, one about the app
// that kept the Mac awake, and a closing line. For users who prefer facts,
// the plain summary gives the same night in three or four dry lines. Every
// number, duration, clock time and date goes through the NightFormat, so the
// texts follow its language and time zone and never the process locale.

#include "analysis/NightReport.h"
#include "common/NightSource.h"
#include "narration/NightFormat.h"

#include <string>
#include <string_view>

namespace snoozlet {

class Narrator {
 public:
  // `source` names the machine and tells what a night without battery
  // readings means: a Mac on its charger, or a Linux laptop whose battery was
  // not recorded (then the battery sentence is left out).
  explicit Narrator(NightFormat format, NightSource source = NightSource::pmset)
      : format_(std::move(format)), source_(source) {}

  // The language and time zone of every text written.
  const NightFormat& format() const { return format_; }
  NightSource source() const { return source_; }

  // The mascot's morning speech for the night, its tone chosen by the mood.
  std::string speech(const NightReport& report) const;
  // Date and hours slept, wakes, battery and culprit, one line each, joined by spaces.
  std::string plainSummary(const NightReport& report) const;

  // The Turkish "also" particle after a name, by vowel harmony: "da" when the
  // last of its vowels is a, ı, o or u, else "de" (also for no vowel at all).
  static std::string_view alsoParticle(std::string_view name);

  bool operator==(const Narrator&) const = default;

 private:
  NightFormat format_;
  NightSource source_;
};

}  // namespace snoozlet
