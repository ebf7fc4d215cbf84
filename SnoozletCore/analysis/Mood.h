#pragma once

#include "sessions/Language.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace snoozlet {

// A night's verdict, best to worst; later cases are worse.
enum class Mood { soundAsleep, restless, sleepless };

inline constexpr Mood kAllMoods[] = {Mood::soundAsleep, Mood::restless, Mood::sleepless};

// Raw values equal the case names.
std::string_view toString(Mood mood);
std::optional<Mood> moodFromString(std::string_view raw);

namespace mood {
// "Sound asleep" / "Mışıl mışıl", …
std::string_view title(Mood mood, Language language);
// The fraction of the mood moon drawn filled.
double moonFill(Mood mood);
}  // namespace mood

// Why a night got its mood. One case per judged aspect, in this order.
struct MoodReason {
  // Drain of `perHour` points an hour; `ratio` to the normal when known.
  struct Drain {
    double perHour = 0;
    std::optional<double> ratio;
    bool operator==(const Drain&) const = default;
  };
  // A `fraction` (0–1) of the night spent in dark wakes.
  struct Awake {
    double fraction = 0;
    bool operator==(const Awake&) const = default;
  };
  // An app held sleep off for `seconds`.
  struct Culprit {
    std::string process;
    double seconds = 0;
    bool operator==(const Culprit&) const = default;
  };
  // `count` sleep failures were logged.
  struct Failure {
    int count = 0;
    bool operator==(const Failure&) const = default;
  };

  std::variant<Drain, Awake, Culprit, Failure> value;

  static MoodReason drain(double perHour, std::optional<double> ratio) { return {Drain{perHour, ratio}}; }
  static MoodReason awake(double fraction) { return {Awake{fraction}}; }
  static MoodReason culprit(std::string process, double seconds) { return {Culprit{std::move(process), seconds}}; }
  static MoodReason failure(int count) { return {Failure{count}}; }

  // "drain", "awake", "culprit" or "failure".
  std::string_view caseName() const;

  bool operator==(const MoodReason&) const = default;
};

}  // namespace snoozlet
