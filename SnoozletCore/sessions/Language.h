#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace snoozlet {

// The language of every text the core writes.
enum class Language { english, turkish };

inline constexpr Language kAllLanguages[] = {Language::english, Language::turkish};

// One text of the core in both languages.
struct Bilingual {
  std::string_view english;
  std::string_view turkish;

  constexpr std::string_view in(Language language) const { return language == Language::turkish ? turkish : english; }
  std::string operator()(Language language) const { return std::string(in(language)); }
};

// Raw values "en" and "tr".
std::string_view toString(Language language);
// Exactly "en" or "tr"; anything else gives nothing.
std::optional<Language> languageFromString(std::string_view raw);

namespace language {

// Turkish when the first entry of the user's language list begins with "tr",
// else English. The list is the first non-empty of LANGUAGE (a colon-separated
// list), LC_ALL, LC_MESSAGES and LANG.
Language preferred();

// The same rule applied to one locale or language-list text ("tr_TR.UTF-8",
// "tr:en"); an empty text gives English.
Language fromLocaleName(std::string_view name);

}  // namespace language

}  // namespace snoozlet
