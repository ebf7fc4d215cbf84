#include "presentation/RemedyRows.h"

namespace snoozlet::presentation {

RemedyList remedyList(const NightReport& night, const std::vector<Suggestion>& suggestions, NightSource source,
                      Language l) {
  RemedyList list;
  list.title = Bilingual{"What you can do", "Neler yapabilirsin"}(l);
  for (const Suggestion& suggestion : suggestions) {
    RemedyRow row{suggestion, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    if (const auto fix = suggestion.fix()) {
      row.whatChanges = fix->whatChanges(l);
      if (suggestion.tradeOff) row.giveUpLabel = Bilingual{"What you give up", "Vazgeçtiğin şey"}(l);
      row.reviewLabel = Bilingual{"Review Change…", "Değişikliği Gözden Geçir…"}(l);
      list.reviewAll.push_back(fix->id);
    } else if (const auto system = suggestion.kind.systemFix()) {
      row.whatChanges = suggestion.whatChanges;
      if (suggestion.tradeOff) row.giveUpLabel = Bilingual{"What you give up", "Vazgeçtiğin şey"}(l);
      row.reviewLabel = Bilingual{"Review Change…", "Değişikliği Gözden Geçir…"}(l);
      list.reviewAllSystem.push_back(*system);
    } else if (const auto process = suggestion.kind.process()) {
      row.app = Bilingual{"App: ", "Uygulama: "}(l) + *process;
    }
    list.rows.push_back(std::move(row));
  }
  if (suggestions.empty()) {
    if (night.mood != Mood::soundAsleep) {
      list.nothing = Bilingual{"Nothing I can change from here; the reasons are below.",
                               "Buradan değiştirebileceğim bir şey yok; nedenleri aşağıda."}(l);
    } else if (source == NightSource::journal) {
      list.nothing = Bilingual{"Nothing to fix: this was a normal night for this laptop.",
                               "Düzeltilecek bir şey yok: bu dizüstü için olağan bir geceydi."}(l);
    } else {
      list.nothing = Bilingual{"Nothing to fix: this was a normal night for this Mac.",
                               "Düzeltilecek bir şey yok: bu Mac için olağan bir geceydi."}(l);
    }
  }
  if (const std::size_t fixes = list.reviewAll.size() + list.reviewAllSystem.size(); fixes >= 2) {
    const std::string count = std::to_string(fixes);
    list.reviewAllLabel = l == Language::turkish ? count + " Değişikliği Gözden Geçir" : "Review All " + count;
  } else {
    list.reviewAll.clear();
    list.reviewAllSystem.clear();
  }
  return list;
}

}  // namespace snoozlet::presentation
