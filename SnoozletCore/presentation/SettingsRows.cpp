#include "presentation/SettingsRows.h"

#include "settings/FixCatalog.h"
#include "settings/PmsetCommand.h"
#include "settings/SystemFixes.h"

#include <algorithm>

namespace snoozlet::presentation {

namespace {

std::string scopeName(PowerScope scope, Language l) {
  switch (scope) {
    case PowerScope::battery: return Bilingual{"battery", "pil"}(l);
    case PowerScope::charger: return Bilingual{"charger", "şarj"}(l);
    case PowerScope::all: return Bilingual{"all profiles", "tüm profiller"}(l);
  }
  return "";
}

template <typename T>
std::string orError(const Result<T>& result) {
  return result ? result.value() : result.error().description();
}

}  // namespace

SettingsHeading settingsHeading(Language l, NightSource source) {
  SettingsHeading h{Bilingual{"Sleep settings", "Uyku ayarları"}(l),
                    Bilingual{"This Mac · read from pmset", "Bu Mac · pmset’ten okundu"}(l),
                    Bilingual{"What each setting does to my nights, and what you’d give up by changing it.",
                              "Her ayar gecelerime ne yapıyor, değiştirirsen nelerden vazgeçersin."}(l)};
  if (source == NightSource::journal) {
    h.subtitle = Bilingual{"This laptop · read from the kernel and logind", "Bu dizüstü · çekirdekten ve logind’den okundu"}(l);
  }
  return h;
}

std::string statusWord(SettingStatus status, Language l) {
  switch (status) {
    case SettingStatus::fine: return Bilingual{"fine", "iyi"}(l);
    case SettingStatus::info: return Bilingual{"info", "bilgi"}(l);
    case SettingStatus::consider: return Bilingual{"consider", "göz at"}(l);
    case SettingStatus::attention: return Bilingual{"attention", "dikkat"}(l);
  }
  return "";
}

std::vector<FixRecord> listedRecords(const FixJournal& journal) {
  std::vector<FixRecord> listed;
  for (auto it = journal.records.rbegin(); it != journal.records.rend(); ++it) {
    if (!it->undoneAt && it->pending != FixRecord::Pending::change) listed.push_back(*it);
  }
  return listed;
}

std::string recordDate(Instant date, const NightFormat& f) { return f.longDay(date) + " " + f.clock(date); }

std::string changeText(const PlannedChange& change, Language l) {
  return change.key + " " + change.previous + " → " + change.target + " (" + scopeName(change.scope, l) + ")";
}

std::string changeText(const SystemChange& change, Language l) {
  return change.file + " " + change.previous + " → " + change.target +
         (l == Language::turkish ? ", " + change.keepFile + " ile kalıcı" : ", kept by " + change.keepFile);
}

ChangesList changesList(const FixJournal& journal, const NightFormat& f) {
  const Language l = f.language();
  ChangesList list;
  list.title = Bilingual{"Changed by Snoozlet", "Snoozlet’in değiştirdikleri"}(l);
  list.undoLabel = Bilingual{"Undo…", "Geri Al…"}(l);
  for (const FixRecord& record : listedRecords(journal)) {
    ChangeEntry entry{record.id, recordDate(record.date, f), std::nullopt, {}, {}};
    if (record.dryRun) entry.dryRunMark = Bilingual{"dry run, nothing changed", "deneme, hiçbir şey değişmedi"}(l);
    entry.heading = entry.dryRunMark ? entry.date + " · " + *entry.dryRunMark : entry.date;
    for (const PlannedChange& change : record.changes) {
      entry.changes.push_back(FixCatalog::title(change.fix, l) + ": " + changeText(change, l));
    }
    for (const SystemChange& change : record.system) {
      entry.changes.push_back(SystemFixes::texts(change, l).title + ": " + changeText(change, l));
    }
    list.entries.push_back(std::move(entry));
  }
  if (const auto& problem = journal.problem()) {
    list.unreadable = journalProblemSentence(*problem, l);
  } else if (list.entries.empty()) {
    list.empty =
        Bilingual{"Nothing yet. Every change I make is listed here with the value it replaced, so you can put it back.",
                  "Henüz bir şey yok. Yaptığım her değişiklik, yerine geçtiği değerle burada listelenir; böylece geri "
                  "alabilirsin."}(l);
  }
  return list;
}

std::string journalProblemSentence(const JournalProblem& p, Language l) {
  const std::string reason =
      p.kind == JournalProblem::Kind::unreadable
          ? p.systemMessage
          : Bilingual{"it isn’t a journal Snoozlet can read", "Snoozlet’in okuyabildiği bir günlük değil"}(l);
  return l == Language::turkish
             ? "Önceki değişikliklerin listesi okunamıyor: " + p.file.string() + " (" + reason +
                   "). Bir sonraki değişiklikte dosya, hiçbir şey kaybolmasın diye yanına ayrılıp saklanacak."
             : "The list of earlier changes can’t be read: " + p.file.string() + " (" + reason +
                   "). At the next change the file will be kept aside, beside it, so nothing in it is lost.";
}

namespace {

// The review of one Linux change: what its file gets now, what keeps it after
// a restart (or goes, in an undo), and how it is put back.
ReviewBlock systemBlock(const SystemChange& change, const ReviewContext& c) {
  const Language l = c.language;
  const SystemFixes::Texts texts = SystemFixes::texts(change, l);
  ReviewBlock block;
  block.title = texts.title;
  block.runs = {Bilingual{"Now", "Şimdi"}(l), change.target + " → " + change.file};
  const std::string afterRestart = Bilingual{"After a restart", "Yeniden başlayınca"}(l);
  if (c.undo) {
    block.keeps = LabelledText{afterRestart,
                               l == Language::turkish
                                   ? change.keepFile + " dosyasından silinir: " + change.keepLine
                                   : "removed from " + change.keepFile + ": " + change.keepLine};
    block.undo = {Bilingual{"Back to", "Dönülen değer"}(l), change.target};
  } else {
    block.keeps = LabelledText{afterRestart,
                               l == Language::turkish ? change.keepFile + " dosyasına yazılır: " + change.keepLine
                                                      : change.keepFile + " gets: " + change.keepLine};
    block.undo = {Bilingual{"Undo", "Geri alma"}(l),
                  l == Language::turkish ? change.previous + " → " + change.file + "; satır " + change.keepFile +
                                               " dosyasından silinir"
                                         : change.previous + " → " + change.file + "; the line leaves " +
                                               change.keepFile};
  }
  block.giveUp = {Bilingual{"What you give up", "Vazgeçtiğin şey"}(l), texts.giveUp};
  return block;
}

bool deepSleepIn(const FixPlan& plan) {
  return std::any_of(plan.system.begin(), plan.system.end(), [](const SystemChange& change) {
    return SystemFixes::risk(change.fix) == Fix::Risk::notable;
  });
}

}  // namespace

std::string reviewHeading(std::size_t n, const ReviewContext& c) {
  const Language l = c.language;
  const std::string count = std::to_string(n);
  if (c.undo) {
    return n == 1                   ? Bilingual{"Put one setting back", "Bir ayarı geri koy"}(l)
           : l == Language::turkish ? count + " ayarı geri koy"
                                    : "Put " + count + " settings back";
  }
  return n == 1                   ? Bilingual{"Change one setting", "Bir ayarı değiştir"}(l)
         : l == Language::turkish ? count + " ayarı değiştir"
                                  : "Change " + count + " settings";
}

bool needsAcknowledgement(const FixPlan& plan, bool undo) {
  if (undo) return false;
  return deepSleepIn(plan) || std::any_of(plan.changes.begin(), plan.changes.end(), [](const PlannedChange& change) {
           return FixCatalog::fix(change.fix).risk == Fix::Risk::notable;
         });
}

ReviewSheet reviewSheet(const FixPlan& plan, const ReviewContext& c) {
  const Language l = c.language;
  ReviewSheet sheet;
  if (c.undo) {
    sheet.title = Bilingual{"Undo a change", "Bir değişikliği geri al"}(l);
    sheet.subtitle = Bilingual{"These settings go back to what they were before Snoozlet changed them.",
                               "Bu ayarlar, Snoozlet değiştirmeden önceki hâllerine döner."}(l);
  } else {
    sheet.title = Bilingual{"Review before changing", "Değiştirmeden önce gözden geçir"}(l);
    sheet.subtitle =
        !c.asksPassword && !c.dryRun
            ? Bilingual{"Nothing changes until you confirm. No password is needed: Snoozlet can already change these "
                        "settings.",
                        "Sen onaylamadan hiçbir şey değişmez. Parola gerekmez: Snoozlet bu ayarları zaten "
                        "değiştirebiliyor."}(l)
        : c.source == NightSource::journal
            ? Bilingual{"Nothing changes until you confirm. Your system will ask for an administrator password.",
                        "Sen onaylamadan hiçbir şey değişmez. Sistemin yönetici parolasını soracak."}(l)
            : Bilingual{"Nothing changes until you confirm. macOS will ask for an administrator password.",
                        "Sen onaylamadan hiçbir şey değişmez. macOS yönetici parolasını soracak."}(l);
  }
  sheet.heading = reviewHeading(plan.changes.size() + plan.system.size(), c);
  for (const PlannedChange& change : plan.changes) {
    ReviewBlock block;
    block.title = FixCatalog::title(change.fix, l);
    block.runs = {Bilingual{"Runs", "Çalıştırır"}(l),
                  orError(PmsetCommand::line(change.scope, change.key, change.target, c.pmsetPath))};
    // In an undo the setting returns to the value it had before Snoozlet.
    block.undo =
        c.undo ? LabelledText{Bilingual{"Back to", "Dönülen değer"}(l), change.target}
               : LabelledText{Bilingual{"Undo", "Geri alma"}(l),
                              orError(PmsetCommand::line(change.scope, change.key, change.previous, c.pmsetPath))};
    block.giveUp = {Bilingual{"What you give up", "Vazgeçtiğin şey"}(l), FixCatalog::giveUp(change.fix, l)};
    sheet.blocks.push_back(std::move(block));
  }
  for (const SystemChange& change : plan.system) sheet.blocks.push_back(systemBlock(change, c));
  if (needsAcknowledgement(plan, c.undo)) {
    sheet.acknowledgement =
        deepSleepIn(plan)
            ? Bilingual{"I understand: some laptops don’t wake from deep sleep properly; then I press the power button "
                        "and undo it.",
                        "Anlıyorum: bazı dizüstüler derin uykudan düzgün uyanamaz; öyle olursa güç düğmesine basıp "
                        "geri alırım."}(l)
            : Bilingual{"I understand: Find My may not locate this Mac while it sleeps on battery.",
                        "Anlıyorum: Bul, pilde uyuyan bu Mac’i bulamayabilir."}(l);
  }
  if (c.dryRun) {
    sheet.dryRunNote =
        c.source == NightSource::journal
            ? Bilingual{"Dry run: this build only shows what it would do. No setting on this laptop will change.",
                        "Deneme: bu sürüm yalnızca ne yapacağını gösterir. Bu dizüstünde hiçbir ayar değişmez."}(l)
            : Bilingual{"Dry run: this build only shows what it would do. No setting on this Mac will change.",
                        "Deneme: bu sürüm yalnızca ne yapacağını gösterir. Bu Mac’te hiçbir ayar değişmez."}(l);
  }
  if (c.journalProblem) sheet.journalNote = journalProblemSentence(*c.journalProblem, l);
  sheet.cancelLabel = Bilingual{"Cancel", "Vazgeç"}(l);
  sheet.confirmLabel = c.dryRun          ? Bilingual{"Simulate", "Prova Et"}(l)
                       : !c.asksPassword ? (c.undo ? Bilingual{"Undo", "Geri Al"}(l) : Bilingual{"Change", "Değiştir"}(l))
                       : c.undo          ? Bilingual{"Undo with Password…", "Parolayla geri al…"}(l)
                                         : Bilingual{"Change with Password…", "Parolayla değiştir…"}(l);
  return sheet;
}

std::optional<std::string> outcomeNotice(const ChangeOutcome& o, Language l, NightSource source) {
  using Kind = ChangeOutcome::Kind;
  std::string text;
  switch (o.kind) {
    case Kind::declined: return std::nullopt;
    case Kind::applied:
      // An undo has nothing left to undo: it says where the settings are now.
      text = o.undo ? Bilingual{"Done. These settings are back to what they were before Snoozlet changed them.",
                                "Tamam. Bu ayarlar, Snoozlet değiştirmeden önceki hâllerine döndü."}(l)
                    : Bilingual{"Done. Snoozlet kept the previous values; you can undo this in Sleep settings.",
                                "Tamam. Snoozlet önceki değerleri sakladı; bunu Uyku ayarlarından geri alabilirsin."}(l);
      break;
    case Kind::didNotTake:
      text = source == NightSource::journal
                 ? Bilingual{"The system didn’t accept every change. Nothing else was touched.",
                             "Sistem her değişikliği kabul etmedi. Başka hiçbir şeye dokunulmadı."}(l)
                 : Bilingual{"macOS didn’t accept every change. Nothing else was touched.",
                             "macOS her değişikliği kabul etmedi. Başka hiçbir şeye dokunulmadı."}(l);
      break;
    case Kind::cancelled:
      text = Bilingual{"Cancelled. Nothing was changed.", "İptal edildi. Hiçbir şey değişmedi."}(l);
      break;
    case Kind::failed: text = o.reason; break;
    case Kind::simulated:
      text = Bilingual{"Dry run: nothing was changed. It would have run: ",
                       "Deneme çalıştırması: hiçbir şey değişmedi. Şunu çalıştıracaktı: "}(l) +
             o.commands;
      break;
    case Kind::notRecorded:
      text =
          Bilingual{
              "Nothing was changed: Snoozlet couldn’t write the change down first, so it couldn’t be "
              "undone. ",
              "Hiçbir şey değişmedi: Snoozlet değişikliği önce kaydedemedi, bu yüzden geri alınamazdı. "}(l) +
          o.reason;
      break;
  }
  if (o.journalError) {
    text += Bilingual{" Snoozlet couldn’t record this change: ", " Snoozlet bu değişikliği kaydedemedi: "}(l) +
            *o.journalError;
  }
  return text;
}

}  // namespace snoozlet::presentation
