#include "cli/SettingsText.h"

#include "cli/JsonWriter.h"
#include "cli/TerminalText.h"
#include "settings/FixCatalog.h"
#include "settings/PmsetCommand.h"

#include <algorithm>

namespace snoozlet::settings_text {

namespace {

using terminal::Words;

constexpr std::size_t kMarkWidth = 12;

std::string mark(SettingStatus status, Language language) {
  switch (status) {
    case SettingStatus::fine: return Words{"[fine]", "[iyi]"}(language);
    case SettingStatus::info: return Words{"[info]", "[bilgi]"}(language);
    case SettingStatus::consider: return Words{"[consider]", "[göz at]"}(language);
    case SettingStatus::attention: return Words{"[attention]", "[dikkat]"}(language);
  }
  return "";
}

std::string scopeName(PowerScope scope, Language language) {
  switch (scope) {
    case PowerScope::battery: return Words{"battery", "pil"}(language);
    case PowerScope::charger: return Words{"charger", "şarj"}(language);
    case PowerScope::all: return Words{"all profiles", "tüm profiller"}(language);
  }
  return "";
}

std::string findingBlock(const FindingRow& row, Language language) {
  const SettingFinding& f = row.finding;
  const std::string indent(kMarkWidth, ' ');
  std::string out = terminal::padded(mark(f.status, language), kMarkWidth) + f.title + ": " + f.value + "\n";
  out += indent + f.summary + "\n";
  if (f.tradeOff) out += indent + Words{"Trade-off: ", "Bedeli: "}(language) + *f.tradeOff + "\n";
  if (row.fix) {
    out += indent + Words{"Fix: ", "Düzeltme: "}(language) + row.fix->title(language) + " (snoozlet fix " +
           std::string(toString(row.fix->id)) + ")\n";
  }
  return out;
}

void fixJson(JsonWriter& json, const Fix& fix, Language language, std::string_view pmsetPath) {
  const auto command = PmsetCommand::line(fix.scope, fix.key, fix.target, pmsetPath);
  json.beginObject()
      .member("id", toString(fix.id))
      .member("title", fix.title(language))
      .member("key", fix.key)
      .member("scope", toString(fix.scope))
      .member("target", fix.target)
      .member("risk", toString(fix.risk))
      .member("whatChanges", fix.whatChanges(language))
      .member("giveUp", fix.giveUp(language));
  json.key("command");
  if (command) {
    json.value(command.value());
  } else {
    json.null();
  }
  json.endObject();
}

void recordJson(JsonWriter& json, const FixRecord& record) {
  json.beginObject().member("id", record.id).member("date", record.date).member("dryRun", record.dryRun);
  json.key("changes").beginArray();
  for (const PlannedChange& c : record.changes) {
    json.beginObject()
        .member("fix", toString(c.fix))
        .member("key", c.key)
        .member("scope", toString(c.scope))
        .member("previous", c.previous)
        .member("target", c.target)
        .endObject();
  }
  json.endArray().endObject();
}

}  // namespace

std::vector<FixRecord> listedRecords(const FixJournal& journal) {
  std::vector<FixRecord> listed;
  for (auto it = journal.records.rbegin(); it != journal.records.rend(); ++it) {
    if (!it->undoneAt) listed.push_back(*it);
  }
  return listed;
}

std::string recordDate(Instant date, const NightFormat& format) {
  return format.longDay(date) + " " + format.clock(date);
}

std::string changeText(const PlannedChange& change, Language language) {
  return change.key + " " + change.previous + " → " + change.target + " (" + scopeName(change.scope, language) + ")";
}

std::string changes(const FixJournal& journal, const NightFormat& format) {
  const Language language = format.language();
  std::string out = Words{"Changed by Snoozlet", "Snoozlet’in değiştirdikleri"}(language) + "\n";
  const auto listed = listedRecords(journal);
  if (listed.empty()) {
    return out + "  " +
           Words{"Nothing yet. Every change I make is listed here with the value it replaced, so you can put it back.",
                 "Henüz bir şey yok. Yaptığım her değişiklik, yerine geçtiği değerle burada listelenir; böylece "
                 "geri alabilirsin."}(language) +
           "\n";
  }
  for (const FixRecord& record : listed) {
    out += "  " + record.id + "  " + recordDate(record.date, format);
    if (record.dryRun) out += "  (" + Words{"dry run, nothing changed", "deneme, hiçbir şey değişmedi"}(language) + ")";
    out += "\n";
    for (const PlannedChange& change : record.changes) {
      out += "    " + FixCatalog::title(change.fix, language) + ": " + changeText(change, language) + "\n";
    }
    out += "    " + Words{"Undo: ", "Geri al: "}(language) + "snoozlet undo " + record.id + "\n";
  }
  return out;
}

std::string page(const std::vector<FindingRow>& rows, const FixJournal& journal, const NightFormat& format) {
  const Language language = format.language();
  std::string out = Words{"Sleep settings", "Uyku ayarları"}(language) + "\n" +
                    Words{"This Mac · read from pmset", "Bu Mac · pmset’ten okundu"}(language) + "\n" +
                    Words{"What each setting does to my nights, and what you’d give up by changing it.",
                          "Her ayar gecelerime ne yapıyor, değiştirirsen nelerden vazgeçersin."}(language) +
                    "\n\n";
  for (const FindingRow& row : rows) out += findingBlock(row, language) + "\n";
  return out + changes(journal, format);
}

void json(std::ostream& out, const std::vector<FindingRow>& rows, const FixJournal& journal, Language language,
          std::string_view pmsetPath) {
  JsonWriter json(out);
  json.beginObject().member("language", toString(language));
  json.key("findings").beginArray();
  for (const FindingRow& row : rows) {
    const SettingFinding& f = row.finding;
    json.beginObject()
        .member("key", f.key)
        .member("title", f.title)
        .member("value", f.value)
        .member("status", toString(f.status))
        .member("summary", f.summary)
        .member("tradeOff", f.tradeOff);
    json.key("fix");
    if (row.fix) {
      fixJson(json, *row.fix, language, pmsetPath);
    } else {
      json.null();
    }
    json.endObject();
  }
  json.endArray();
  json.key("changes").beginArray();
  for (const FixRecord& record : listedRecords(journal)) recordJson(json, record);
  json.endArray().endObject();
  json.flush();
  out << "\n";
}

}  // namespace snoozlet::settings_text
