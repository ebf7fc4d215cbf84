#include "cli/ReviewText.h"

#include "cli/TerminalText.h"
#include "settings/FixCatalog.h"
#include "settings/SystemFixes.h"

namespace snoozlet::review_text {

namespace {

constexpr std::size_t kLabelWidth = 20;

std::string row(const presentation::LabelledText& text) {
  return "  " + terminal::padded(text.label, kLabelWidth) + text.text + "\n";
}

std::string skipReason(FixPlan::Skip skip, Language language, bool laptop = false) {
  switch (skip) {
    case FixPlan::Skip::notSupported:
      return laptop ? Bilingual{"not possible on this laptop", "bu dizüstünde mümkün değil"}(language)
                    : Bilingual{"not supported on this Mac", "bu Mac’te desteklenmiyor"}(language);
    case FixPlan::Skip::alreadySet: return Bilingual{"already set", "zaten ayarlı"}(language);
    case FixPlan::Skip::unknownCurrentValue:
      return Bilingual{"its current value is unknown", "şimdiki değeri bilinmiyor"}(language);
  }
  return "";
}

}  // namespace

std::string render(const presentation::ReviewSheet& sheet) {
  std::string out = sheet.title + "\n" + sheet.subtitle + "\n\n" + sheet.heading + "\n";
  for (const presentation::ReviewBlock& block : sheet.blocks) {
    out += "\n" + block.title + "\n" + row(block.runs) + (block.keeps ? row(*block.keeps) : "") + row(block.undo) +
           row(block.giveUp);
  }
  if (sheet.dryRunNote) out += "\n" + *sheet.dryRunNote + "\n";
  if (sheet.journalNote) out += "\n" + *sheet.journalNote + "\n";
  return out;
}

std::string skipped(const FixPlan& plan, Language language, const SystemSettings* settings) {
  std::string out;
  for (const auto& [fix, skip] : plan.skipped) {
    out += "  " + FixCatalog::title(fix, language) + ": " + skipReason(skip, language) + "\n";
  }
  for (const auto& [id, skip] : plan.systemSkipped) {
    const auto fix = SystemFix::fromId(id);
    const std::string title = fix && settings != nullptr ? SystemFixes::texts(*fix, *settings, language).title : id;
    out += "  " + title + ": " + skipReason(skip, language, true) + "\n";
  }
  return out;
}

std::string question(const Context& c) {
  if (c.dryRun) return Bilingual{"Simulate this?", "Bunun provasını yapayım mı?"}(c.language);
  if (c.undo) return Bilingual{"Put these settings back?", "Bu ayarları geri koyayım mı?"}(c.language);
  return Bilingual{"Change these settings?", "Bu ayarları değiştireyim mi?"}(c.language);
}

}  // namespace snoozlet::review_text
