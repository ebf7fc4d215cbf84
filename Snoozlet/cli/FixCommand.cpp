// `snoozlet fix` and `snoozlet undo`: the review, apply and undo flow of the
// change controller in the terminal. The review is shown as the review window
// shows it, confirmed on the terminal (or with --yes), then applied; the
// outcome is worded as the windows word it.

#include "cli/Confirmation.h"
#include "cli/ModelCommands.h"
#include "cli/ModelSession.h"
#include "cli/ReviewText.h"
#include "cli/SettingsText.h"
#include "cli/TerminalText.h"
#include "common/Text.h"
#include "settings/FixPlanner.h"
#include "settings/PmsetCommand.h"

#include <algorithm>
#include <cctype>
#include <istream>
#include <ostream>

namespace snoozlet::cli {

namespace {

std::string fixList() {
  std::vector<std::string> names;
  for (FixID id : kAllFixIDs) names.emplace_back(toString(id));
  return text::join(names, ", ");
}

// Shows the review, asks for confirmation and applies it. The exit status:
// 0 when the change took effect, 1 when it was declined, could not be
// confirmed, failed or did not take.
int confirmAndApply(ModelSession& session, const CommandLine& line, const Terminal& t, std::string_view name) {
  AppModel& model = session.model();
  ChangeController& changes = session.changes();
  const Review review = *changes.review();
  const Language language = model.language();
  const review_text::Context context = changes.reviewContext();
  const presentation::ReviewSheet sheet = presentation::reviewSheet(review.plan, context);
  t.out << review_text::render(sheet);
  const SystemSettings* system = model.systemSettings() ? &*model.systemSettings() : nullptr;
  if (const std::string skipped = review_text::skipped(review.plan, language, system); !skipped.empty()) {
    t.out << "\n" << Bilingual{"Left as they are:", "Olduğu gibi kalanlar:"}(language) << "\n" << skipped;
  }
  t.out << "\n";
  // Command text that cannot be built safely would be refused by the runner:
  // say so now instead of asking for a confirmation that cannot succeed.
  if (const auto commands = PmsetCommand::shellText(review.plan, context.pmsetPath); !commands) {
    changes.declineReview();
    t.err << "snoozlet " << name << ": nothing was changed: " << commands.error().description() << "\n";
    return 1;
  }

  Confirmation confirmation(t.in, t.out, language, t.interactive, line.has("--yes"));
  if (!confirmation.canAsk()) {
    changes.declineReview();
    t.err << "snoozlet " << name
          << ": nothing was changed: standard input is not a terminal, so I can’t ask. Add --yes to confirm.\n";
    return 1;
  }
  bool confirmed = confirmation.ask(review_text::question(context));
  if (confirmed && sheet.acknowledgement) confirmed = confirmation.ask(*sheet.acknowledgement);
  if (!confirmed) {
    changes.declineReview();
    t.out << Bilingual{"Nothing was changed.", "Hiçbir şey değişmedi."}(language) << "\n";
    return 1;
  }

  session.apply();
  const auto& outcome = changes.lastOutcome();
  const bool ok = outcome && outcome->succeeded();
  const auto notice = outcome ? presentation::outcomeNotice(*outcome, language, model.nightSource()) : std::nullopt;
  (ok ? t.out : t.err) << notice.value_or("") << "\n";
  return ok ? 0 : 1;
}

// Canonical ids are upper case; one typed in lower case is the same id.
std::string canonicalId(std::string_view id) {
  std::string upper(id);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return upper;
}

}  // namespace

int runFix(const CommandLine& line, const Terminal& t) {
  const ModelCommand& self = *findModelCommand("fix");
  if (line.help()) {
    t.out << self.help();
    return 0;
  }
  if (line.operands.empty()) {
    t.err << "snoozlet fix: name at least one fix: " << fixList() << "\nTry 'snoozlet fix --help'.\n";
    return 2;
  }
  std::vector<FixID> fixes;
  std::vector<SystemFix> system;
  for (const std::string& operand : line.operands) {
    if (const auto id = fixIDFromString(operand)) {
      if (std::find(fixes.begin(), fixes.end(), *id) == fixes.end()) fixes.push_back(*id);
    } else if (const auto fix = SystemFix::fromId(operand)) {
      if (std::find(system.begin(), system.end(), *fix) == system.end()) system.push_back(*fix);
    } else {
      t.err << "snoozlet fix: unknown fix '" << operand << "' (one of: " << fixList()
            << "; on a Linux laptop deepSleep or wakeupOff:DEVICE)\n";
      return 2;
    }
  }

  const auto session = startSession(line, line.has("--dry-run"));
  if (!refreshFor(*session, "fix", t.err)) return 1;
  AppModel& model = session->model();
  if (!system.empty() && !model.systemSettings()) {
    t.err << "snoozlet fix: " << system.front().id() << " is a Linux laptop's fix; these nights come from "
          << (model.nightSource() == NightSource::journal ? "a laptop whose settings could not be read" : "a Mac")
          << "\n";
    return 2;
  }
  session->changes().reviewFixes(fixes, system);
  if (!session->changes().review()) {
    // The settings are known after a refresh: every fix was skipped.
    const Language language = model.language();
    const auto plan = session->changes().planFixes(fixes, system);
    t.out << Bilingual{"Nothing to change:", "Değiştirilecek bir şey yok:"}(language) << "\n"
          << (plan ? review_text::skipped(*plan, language, model.systemSettings() ? &*model.systemSettings() : nullptr)
                   : std::string());
    return 0;
  }
  return confirmAndApply(*session, line, t, "fix");
}

int runUndo(const CommandLine& line, const Terminal& t) {
  const ModelCommand& self = *findModelCommand("undo");
  if (line.help()) {
    t.out << self.help();
    return 0;
  }
  if (line.operands.size() > 1) {
    t.err << "snoozlet undo: one change at a time; unexpected '" << line.operands[1] << "'\n";
    return 2;
  }
  // The journal is all an undo needs: no refresh.
  const auto session = startSession(line);
  AppModel& model = session->model();
  ChangeController& changes = session->changes();
  // A change a previous run left unfinished is settled first, from the values in force.
  changes.settlePending();
  const NightFormat format = formatOf(model);
  if (line.operands.empty()) {
    t.out << settings_text::changes(changes.journal(), format);
    return 0;
  }

  const std::string id = canonicalId(line.operands.front());
  changes.reviewUndo(id);
  if (!changes.review()) {
    const auto& records = changes.journal().records;
    const auto record = std::find_if(records.begin(), records.end(), [&](const FixRecord& r) { return r.id == id; });
    if (record == records.end()) {
      t.err << "snoozlet undo: no change with the id " << id << " (run 'snoozlet undo' to list them)\n";
      return 2;
    }
    // A record without an undo plan has been undone.
    const std::string when = presentation::recordDate(record->undoneAt.value_or(record->date), format);
    t.out << (model.language() == Language::turkish ? "Bu değişiklik " + when + " tarihinde zaten geri alındı.\n"
                                                    : "That change was already put back on " + when + ".\n");
    return 0;
  }
  return confirmAndApply(*session, line, t, "undo");
}

}  // namespace snoozlet::cli
