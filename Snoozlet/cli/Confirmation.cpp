#include "cli/Confirmation.h"

#include "common/Text.h"

#include <istream>
#include <ostream>
#include <string>

namespace snoozlet::cli {

Confirmation::Confirmation(std::istream& in, std::ostream& out, Language language, bool interactive, bool assumeYes)
    : in_(in), out_(out), language_(language), interactive_(interactive), assumeYes_(assumeYes) {}

bool Confirmation::ask(std::string_view question) {
  const bool turkish = language_ == Language::turkish;
  out_ << question << (turkish ? " [e/H] " : " [y/N] ");
  if (assumeYes_) {
    out_ << (turkish ? "evet (--yes)" : "yes (--yes)") << '\n' << std::flush;
    return true;
  }
  if (!interactive_) {
    out_ << '\n' << std::flush;
    return false;
  }
  out_ << std::flush;
  std::string answer;
  if (!std::getline(in_, answer)) {
    out_ << '\n';  // end of input: the terminal's line is still open
    return false;
  }
  return isYes(answer, language_);
}

bool Confirmation::isYes(std::string_view answer, Language language) {
  const std::string word = text::toLower(text::trimWhitespace(answer));
  if (word == "y" || word == "yes") return true;
  return language == Language::turkish && (word == "e" || word == "evet");
}

}  // namespace snoozlet::cli
