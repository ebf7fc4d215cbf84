#pragma once

// The vocabulary of wakes: twelve categories with their titles, explanations
// and in-sentence phrases in English and Turkish, and the wake reason that
// pairs a logged text with its category.

#include "common/NightSource.h"
#include "common/Shared.h"
#include "sessions/Language.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace snoozlet {

enum class WakeCategory {
  network,
  backgroundTask,
  maintenance,
  scheduled,
  power,
  lid,
  user,
  usb,
  siri,
  notification,
  networkAccess,
  unknown,
};

inline constexpr WakeCategory kAllWakeCategories[] = {
    WakeCategory::network, WakeCategory::backgroundTask, WakeCategory::maintenance, WakeCategory::scheduled,
    WakeCategory::power,   WakeCategory::lid,            WakeCategory::user,        WakeCategory::usb,
    WakeCategory::siri,    WakeCategory::notification,   WakeCategory::networkAccess, WakeCategory::unknown,
};

// The raw value stored in the archive: the case name ("backgroundTask").
std::string_view toString(WakeCategory category);
// Exactly one of the twelve raw values (case-sensitive), else nothing.
std::optional<WakeCategory> wakeCategoryFromString(std::string_view raw);

namespace wake_category {

// Short title ("Wi-Fi & Bluetooth").
std::string_view title(WakeCategory category, Language language);
// One-sentence explanation shown under the title, in a Mac's words or, for
// the journal source, a Linux laptop's.
std::string_view explanation(WakeCategory category, Language language, NightSource source = NightSource::pmset);
// Lower-case phrase for use inside a sentence ("macOS background chores").
std::string_view cause(WakeCategory category, Language language);
// True for the lid and the keyboard/trackpad: wakes the user caused.
bool isUserInitiated(WakeCategory category);

}  // namespace wake_category

// A logged wake reason and its category (always the classifier's verdict on
// `raw`, so the two can never disagree). The text is shared between copies:
// a night repeats a handful of reasons hundreds of times.
struct WakeReason {
  Shared<std::string> raw;
  WakeCategory category = WakeCategory::unknown;

  WakeReason() = default;
  // Classifies the text.
  explicit WakeReason(std::string rawText);
  // For a reason whose category is already known (read back from storage, or
  // the classifier's verdict on the same text).
  WakeReason(Shared<std::string> rawText, WakeCategory knownCategory)
      : raw(std::move(rawText)), category(knownCategory) {}

  bool operator==(const WakeReason&) const = default;
};

}  // namespace snoozlet

template <>
struct std::hash<snoozlet::WakeReason> {
  std::size_t operator()(const snoozlet::WakeReason& r) const noexcept {
    return std::hash<std::string>()(r.raw.get()) * 31 + static_cast<std::size_t>(r.category);
  }
};
