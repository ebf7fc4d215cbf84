#include "cli/ReviewText.h"

#include "cli/TerminalText.h"
#include "settings/FixCatalog.h"
#include "settings/PmsetCommand.h"

#include <algorithm>

namespace snoozlet::review_text {

namespace {

using terminal::Words;

constexpr std::size_t kLabelWidth = 20;

std::string row(const std::string& label, const std::string& value) {
  return "  " + terminal::padded(label, kLabelWidth) + value + "\n";
}

template <typename T>
std::string orError(const Result<T>& result) {
  return result ? result.value() : result.error().description();
}

std::string skipReason(FixPlan::Skip skip, Language language) {
  switch (skip) {
    case FixPlan::Skip::notSupported: return Words{"not supported on this Mac", "bu Mac’te desteklenmiyor"}(language);
    case FixPlan::Skip::alreadySet: return Words{"already set", "zaten ayarlı"}(language);
    case FixPlan::Skip::unknownCurrentValue:
      return Words{"its current value is unknown", "şimdiki değeri bilinmiyor"}(language);
  }
  return "";
}

}  // namespace

std::string heading(std::size_t n, const Context& c) {
  const Language l = c.language;
  const std::string count = std::to_string(n);
  if (c.undo) {
    return n == 1                   ? Words{"Put one setting back", "Bir ayarı geri koy"}(l)
           : l == Language::turkish ? count + " ayarı geri koy"
                                    : "Put " + count + " settings back";
  }
  return n == 1                   ? Words{"Change one setting", "Bir ayarı değiştir"}(l)
         : l == Language::turkish ? count + " ayarı değiştir"
                                  : "Change " + count + " settings";
}

std::string render(const FixPlan& plan, const Context& c) {
  const Language l = c.language;
  std::string out;
  if (c.undo) {
    out += Words{"Undo a change", "Bir değişikliği geri al"}(l) + "\n";
    out += Words{"These settings go back to what they were before Snoozlet changed them.",
                 "Bu ayarlar, Snoozlet değiştirmeden önceki hâllerine döner."}(l) +
           "\n\n";
  } else {
    out += Words{"Review before changing", "Değiştirmeden önce gözden geçir"}(l) + "\n";
    out += Words{"Nothing changes until you confirm. macOS will ask for an administrator password.",
                 "Sen onaylamadan hiçbir şey değişmez. macOS yönetici parolasını soracak."}(l) +
           "\n\n";
  }
  out += heading(plan.changes.size(), c) + "\n";
  for (const PlannedChange& change : plan.changes) {
    out += "\n" + FixCatalog::title(change.fix, l) + "\n";
    out += row(Words{"Runs", "Çalıştırır"}(l),
               orError(PmsetCommand::line(change.scope, change.key, change.target, c.pmsetPath)));
    if (c.undo) {
      // The value the setting returns to: the one it had before Snoozlet.
      out += row(Words{"Back to", "Dönülen değer"}(l), change.target);
    } else {
      out += row(Words{"Undo", "Geri alma"}(l),
                 orError(PmsetCommand::line(change.scope, change.key, change.previous, c.pmsetPath)));
    }
    out += row(Words{"What you give up", "Neden vazgeçersin"}(l), FixCatalog::giveUp(change.fix, l));
  }
  if (c.dryRun) {
    out += "\n" +
           Words{"Dry run: this build only shows what it would do. No setting on this Mac will change.",
                 "Deneme: bu sürüm yalnızca ne yapacağını gösterir. Bu Mac’te hiçbir ayar değişmez."}(l) +
           "\n";
  }
  return out;
}

std::string skipped(const FixPlan& plan, Language language) {
  std::string out;
  for (const auto& [fix, skip] : plan.skipped) {
    out += "  " + FixCatalog::title(fix, language) + ": " + skipReason(skip, language) + "\n";
  }
  return out;
}

bool needsAcknowledgement(const FixPlan& plan, bool undo) {
  if (undo) return false;
  return std::any_of(plan.changes.begin(), plan.changes.end(), [](const PlannedChange& change) {
    return FixCatalog::fix(change.fix).risk == Fix::Risk::notable;
  });
}

std::string acknowledgement(Language language) {
  return Words{"I understand: Find My may not locate this Mac while it sleeps on battery.",
               "Anlıyorum: Bul, pilde uyuyan bu Mac’i bulamayabilir."}(language);
}

std::string question(const Context& c) {
  if (c.dryRun) return Words{"Simulate this?", "Bunu deneyeyim mi?"}(c.language);
  if (c.undo) return Words{"Put these settings back?", "Bu ayarları geri koyayım mı?"}(c.language);
  return Words{"Change these settings?", "Bu ayarları değiştireyim mi?"}(c.language);
}

}  // namespace snoozlet::review_text
