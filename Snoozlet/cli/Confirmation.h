#pragma once

// Asking the user to confirm on the terminal. Only a terminal is asked:
// without one (a script, a pipe) nothing is read, so a command never waits on
// input that will not come, and the caller refuses unless --yes was given.

#include "sessions/Language.h"

#include <iosfwd>
#include <string_view>

namespace snoozlet::cli {

class Confirmation {
 public:
  // `interactive`: `in` is a terminal. `assumeYes`: --yes answers every question.
  Confirmation(std::istream& in, std::ostream& out, Language language, bool interactive, bool assumeYes);

  // True when questions can be answered: --yes, or a terminal to ask.
  bool canAsk() const { return assumeYes_ || interactive_; }

  // Writes the question with its choices ("[y/N]") and reads one line; yes
  // only for an answer that means yes. With --yes the question is shown as
  // answered; without a terminal the answer is no.
  bool ask(std::string_view question);

  // "y" or "yes", and in Turkish also "e" or "evet", in any case and with
  // blanks around.
  static bool isYes(std::string_view answer, Language language);

 private:
  std::istream& in_;
  std::ostream& out_;
  Language language_;
  bool interactive_;
  bool assumeYes_;
};

}  // namespace snoozlet::cli
