#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "settings/Fix.h"
#include "settings/SystemFix.h"

namespace snoozlet {

// One thing the user could do about a night, as the night page shows it: a
// headline, the night's facts behind it and, for a setting fix, what the
// change costs.
struct Suggestion {
  // What acting on a suggestion means: apply a catalogue fix, quit an app
  // before closing the lid, nothing (information only), or apply a Linux fix.
  class Kind {
   public:
    enum class Case { fix, quitApp, info, systemFix };

    Kind() = default;
    static Kind fix(FixID id) { return Kind(Payload(std::in_place_index<0>, id)); }
    static Kind quitApp(std::string process) { return Kind(Payload(std::in_place_index<1>, std::move(process))); }
    static Kind info() { return Kind(); }
    static Kind systemFix(SystemFix fix) { return Kind(Payload(std::in_place_index<3>, std::move(fix))); }

    Case type() const { return static_cast<Case>(payload_.index()); }
    // The fix to apply; only for `fix`.
    std::optional<FixID> fixID() const;
    // The app to quit; only for `quitApp`.
    std::optional<std::string> process() const;
    // The Linux fix to apply; only for `systemFix`.
    std::optional<SystemFix> systemFix() const;
    // "fix", "quitApp", "info" or "systemFix".
    std::string_view caseName() const;

    bool operator==(const Kind&) const = default;

   private:
    // Alternatives in the order of Case.
    using Payload = std::variant<FixID, std::string, std::monostate, SystemFix>;
    explicit Kind(Payload payload) : payload_(std::move(payload)) {}
    Payload payload_{std::in_place_index<2>};
  };

  // Stable identifier: the fix's raw value or a Linux fix's id, "quit-" or
  // "tool-" + process, or "failure".
  std::string id;
  Kind kind;
  // One-line headline in the report language.
  std::string title;
  // The night's facts that led to it, in the report language.
  std::string evidence;
  // What the user gives up; only on fix suggestions.
  std::optional<std::string> tradeOff;
  // What a Linux fix changes (a Mac's fix has it from the catalogue).
  std::optional<std::string> whatChanges{};

  // The catalogue entry of a fix suggestion; nothing for the other kinds.
  std::optional<Fix> fix() const;

  bool operator==(const Suggestion&) const = default;
};

}  // namespace snoozlet

template <>
struct std::hash<snoozlet::Suggestion::Kind> {
  std::size_t operator()(const snoozlet::Suggestion::Kind& kind) const noexcept;
};
template <>
struct std::hash<snoozlet::Suggestion> {
  std::size_t operator()(const snoozlet::Suggestion& suggestion) const noexcept;
};
