#include "sessions/Language.h"

#include <cstdlib>

namespace snoozlet {

std::string_view toString(Language language) { return language == Language::turkish ? "tr" : "en"; }

std::optional<Language> languageFromString(std::string_view raw) {
  if (raw == "en") return Language::english;
  if (raw == "tr") return Language::turkish;
  return std::nullopt;
}

namespace language {

Language fromLocaleName(std::string_view name) {
  const auto colon = name.find(':');
  const std::string_view first = name.substr(0, colon);
  return first.substr(0, 2) == "tr" ? Language::turkish : Language::english;
}

Language preferred() {
  for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return fromLocaleName(value);
  }
  return Language::english;
}

}  // namespace language

}  // namespace snoozlet
