#include "sessions/WakeClassifier.h"

#include "common/Text.h"

#include <array>

namespace snoozlet::WakeClassifier {

namespace {

// What a rule looks at and how. `lower` is the whole text lower-cased, `tail`
// the raw text after the first "/", `words` the lower-cased space-separated
// words before it.
enum class Test {
  lowerContains,
  lowerEquals,
  lowerBeginsWith,
  tailContains,
  tailEquals,
  wordsHas,
  someWordBeginsWith,
};

struct Rule {
  Test test;
  std::string_view text;
  WakeCategory category;
};

using C = WakeCategory;

// Tested strictly in order; the first rule that holds decides. The order
// matters: a sleep-service RTC wake is a background task before any "rtc" is
// maintenance, Wi-Fi/Bluetooth evidence beats keyboard and Siri evidence, and
// USB is tried only after everything else that can name a device. Text no
// rule matches is unknown.
constexpr std::array<Rule, 41> kRules{{
    {Test::lowerContains, "rtc/sleepservice", C::backgroundTask},
    {Test::tailContains, "SleepService", C::backgroundTask},
    {Test::lowerContains, "rtc/maintenance", C::maintenance},
    {Test::lowerContains, "rtc (maintenance)", C::maintenance},
    {Test::tailEquals, "Maintenance", C::maintenance},
    {Test::lowerContains, "rtc/alarm", C::scheduled},
    {Test::lowerContains, "rtc (alarm)", C::scheduled},
    {Test::lowerContains, "rtc/userwake", C::scheduled},
    {Test::tailContains, "UserWake", C::scheduled},
    {Test::wordsHas, "usb-c_plug", C::power},
    {Test::lowerContains, "acattach", C::power},
    {Test::lowerContains, "ac attach", C::power},
    {Test::wordsHas, "ac", C::power},
    {Test::wordsHas, "lid", C::lid},
    {Test::lowerContains, "lidopen", C::lid},
    {Test::lowerContains, "lid open", C::lid},
    {Test::wordsHas, "wifibt", C::network},
    {Test::wordsHas, "arpt", C::network},
    {Test::wordsHas, "wlan", C::network},
    {Test::lowerContains, "wifi", C::network},
    {Test::wordsHas, "bt", C::network},
    {Test::lowerContains, "bluetooth", C::network},
    {Test::tailContains, "HID Activity", C::user},
    {Test::tailContains, "UserActivity", C::user},
    {Test::lowerContains, "multi-touch", C::user},
    {Test::lowerContains, "pwrb", C::user},
    {Test::lowerContains, "hid activity", C::user},
    {Test::lowerContains, "useractivity", C::user},
    {Test::lowerContains, "voice_trigger", C::siri},
    {Test::lowerContains, "siri", C::siri},
    {Test::lowerContains, "gige", C::networkAccess},
    {Test::lowerContains, "magic packet", C::networkAccess},
    {Test::lowerContains, "en0/", C::networkAccess},
    {Test::lowerContains, "network wake", C::networkAccess},
    // One rule: a word beginning with any of the three controller prefixes.
    {Test::someWordBeginsWith, "xhc", C::usb},
    {Test::someWordBeginsWith, "ehc", C::usb},
    {Test::someWordBeginsWith, "usb", C::usb},
    {Test::lowerEquals, "notification", C::notification},
    {Test::tailContains, "Notification", C::notification},
    {Test::lowerBeginsWith, "notification", C::notification},
    {Test::lowerContains, "rtc", C::maintenance},
}};

// Calls `visit` on each non-empty space-separated word until it returns true.
template <typename Visit>
bool anyWord(std::string_view head, Visit&& visit) {
  std::size_t start = 0;
  while (start <= head.size()) {
    std::size_t end = head.find(' ', start);
    if (end == std::string_view::npos) end = head.size();
    if (end > start && visit(head.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

struct Views {
  std::string_view lower;
  std::string_view lowerHead;
  std::string_view tail;
};

bool holds(const Rule& rule, const Views& v) {
  switch (rule.test) {
    case Test::lowerContains: return v.lower.find(rule.text) != std::string_view::npos;
    case Test::lowerEquals: return v.lower == rule.text;
    case Test::lowerBeginsWith: return v.lower.starts_with(rule.text);
    case Test::tailContains: return v.tail.find(rule.text) != std::string_view::npos;
    case Test::tailEquals: return v.tail == rule.text;
    case Test::wordsHas: return anyWord(v.lowerHead, [&](std::string_view word) { return word == rule.text; });
    case Test::someWordBeginsWith:
      return anyWord(v.lowerHead, [&](std::string_view word) { return word.starts_with(rule.text); });
  }
  return false;
}

}  // namespace

WakeCategory classify(std::string_view raw) {
  // Lower-cased once. Lower-casing never makes or removes a "/" or a space,
  // so the lower-cased text's part before its first "/" is the lower-cased
  // head, and its words are the head's words lower-cased.
  const std::string lower = text::toLower(raw);
  const std::size_t rawSlash = raw.find('/');
  const std::size_t lowerSlash = lower.find('/');
  Views views;
  views.lower = lower;
  views.lowerHead = std::string_view(lower).substr(0, lowerSlash);
  views.tail = rawSlash == std::string_view::npos ? std::string_view() : raw.substr(rawSlash + 1);

  for (const Rule& rule : kRules)
    if (holds(rule, views)) return rule.category;
  return WakeCategory::unknown;
}

}  // namespace snoozlet::WakeClassifier
