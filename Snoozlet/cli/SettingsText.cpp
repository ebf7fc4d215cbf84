#include "cli/SettingsText.h"

#include "cli/JsonWriter.h"
#include "cli/TerminalText.h"
#include "settings/FixCatalog.h"
#include "settings/PmsetCommand.h"

#include <algorithm>

namespace snoozlet::settings_text {

namespace {

constexpr std::size_t kMarkWidth = 12;

std::string mark(SettingStatus status, Language language) {
  return "[" + presentation::statusWord(status, language) + "]";
}

std::string findingBlock(const FindingRow& row, Language language) {
  const SettingFinding& f = row.finding;
  const std::string indent(kMarkWidth, ' ');
  std::string out = terminal::padded(mark(f.status, language), kMarkWidth) + f.title + ": " + f.value + "\n";
  out += indent + f.summary + "\n";
  if (f.tradeOff) out += indent + Bilingual{"Trade-off: ", "Bedeli: "}(language) + *f.tradeOff + "\n";
  if (row.fix) {
    out += indent + Bilingual{"Fix: ", "Düzeltme: "}(language) + row.fix->title(language) + " (snoozlet fix " +
           std::string(toString(row.fix->id)) + ")\n";
  }
  if (row.systemFix) {
    out += indent + Bilingual{"Fix: ", "Düzeltme: "}(language) + row.systemFixTitle + " (snoozlet fix " +
           row.systemFix->id() + ")\n";
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
  for (const SystemChange& c : record.system) {
    json.beginObject()
        .member("fix", toString(c.fix))
        .member("file", c.file)
        .member("previous", c.previous)
        .member("target", c.target)
        .member("keepFile", c.keepFile)
        .member("keepLine", c.keepLine)
        .endObject();
  }
  json.endArray().endObject();
}

}  // namespace

std::string changes(const FixJournal& journal, const NightFormat& format) {
  const presentation::ChangesList list = presentation::changesList(journal, format);
  std::string out = list.title + "\n";
  if (list.unreadable) out += "  " + *list.unreadable + "\n";
  if (list.empty) return out + "  " + *list.empty + "\n";
  for (const presentation::ChangeEntry& entry : list.entries) {
    out += "  " + entry.recordId + "  " + entry.heading + "\n";
    for (const std::string& change : entry.changes) out += "    " + change + "\n";
    out += "    " + Bilingual{"Undo: ", "Geri al: "}(format.language()) + "snoozlet undo " + entry.recordId + "\n";
  }
  return out;
}

std::string page(const std::vector<FindingRow>& rows, const FixJournal& journal, const NightFormat& format,
                 NightSource source) {
  const Language language = format.language();
  const presentation::SettingsHeading heading = presentation::settingsHeading(language, source);
  std::string out = heading.title + "\n" + heading.subtitle + "\n" + heading.line + "\n\n";
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
    } else if (row.systemFix) {
      json.beginObject().member("id", row.systemFix->id()).member("title", row.systemFixTitle).endObject();
    } else {
      json.null();
    }
    json.endObject();
  }
  json.endArray();
  json.key("changes").beginArray();
  for (const FixRecord& record : presentation::listedRecords(journal)) recordJson(json, record);
  json.endArray().endObject();
  json.flush();
  out << "\n";
}

}  // namespace snoozlet::settings_text
