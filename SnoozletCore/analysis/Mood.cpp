#include "analysis/Mood.h"

namespace snoozlet {

std::string_view toString(Mood mood) {
  switch (mood) {
    case Mood::soundAsleep: return "soundAsleep";
    case Mood::restless: return "restless";
    case Mood::sleepless: return "sleepless";
  }
  return "soundAsleep";
}

std::optional<Mood> moodFromString(std::string_view raw) {
  for (Mood m : kAllMoods)
    if (toString(m) == raw) return m;
  return std::nullopt;
}

namespace mood {

std::string_view title(Mood mood, Language language) {
  const bool tr = language == Language::turkish;
  switch (mood) {
    case Mood::soundAsleep: return tr ? "Mışıl mışıl" : "Sound asleep";
    case Mood::restless: return tr ? "Huzursuz" : "Restless";
    case Mood::sleepless: return tr ? "Uykusuz" : "Sleepless";
  }
  return "";
}

double moonFill(Mood mood) {
  switch (mood) {
    case Mood::soundAsleep: return 0.18;
    case Mood::restless: return 0.5;
    case Mood::sleepless: return 1.0;
  }
  return 0.18;
}

}  // namespace mood

std::string_view MoodReason::caseName() const {
  static constexpr std::string_view names[] = {"drain", "awake", "culprit", "failure"};
  return names[value.index()];
}

}  // namespace snoozlet
