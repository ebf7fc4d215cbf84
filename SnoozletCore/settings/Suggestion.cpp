#include "settings/Suggestion.h"

#include "settings/FixCatalog.h"

namespace snoozlet {

std::optional<FixID> Suggestion::Kind::fixID() const {
  if (const auto* id = std::get_if<0>(&payload_)) return *id;
  return std::nullopt;
}

std::optional<std::string> Suggestion::Kind::process() const {
  if (const auto* process = std::get_if<1>(&payload_)) return *process;
  return std::nullopt;
}

std::optional<SystemFix> Suggestion::Kind::systemFix() const {
  if (const auto* fix = std::get_if<3>(&payload_)) return *fix;
  return std::nullopt;
}

std::string_view Suggestion::Kind::caseName() const {
  switch (type()) {
    case Case::fix: return "fix";
    case Case::quitApp: return "quitApp";
    case Case::info: return "info";
    case Case::systemFix: return "systemFix";
  }
  return "info";
}

std::optional<Fix> Suggestion::fix() const {
  if (const auto id = kind.fixID()) return FixCatalog::fix(*id);
  return std::nullopt;
}

}  // namespace snoozlet

std::size_t std::hash<snoozlet::Suggestion::Kind>::operator()(const snoozlet::Suggestion::Kind& kind) const noexcept {
  std::size_t h = static_cast<std::size_t>(kind.type());
  if (const auto id = kind.fixID()) h = h * 31 + static_cast<std::size_t>(*id);
  if (const auto process = kind.process()) h = h * 31 + std::hash<std::string>()(*process);
  if (const auto fix = kind.systemFix()) h = h * 31 + std::hash<std::string>()(fix->id());
  return h;
}

std::size_t std::hash<snoozlet::Suggestion>::operator()(const snoozlet::Suggestion& suggestion) const noexcept {
  const std::hash<std::string> text;
  std::size_t h = text(suggestion.id);
  h = h * 31 + std::hash<snoozlet::Suggestion::Kind>()(suggestion.kind);
  h = h * 31 + text(suggestion.title);
  h = h * 31 + text(suggestion.evidence);
  return h * 31 + (suggestion.tradeOff ? text(*suggestion.tradeOff) + 1 : 0);
}
