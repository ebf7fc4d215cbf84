// The JSON form of the fix journal. Decoding is strict: any record with a
// missing member, a member of the wrong type, an unknown fix or scope, a bad
// date or a bad id makes the whole text unreadable.

#include <uuid/uuid.h>

#include <nlohmann/json.hpp>

#include "settings/FixJournal.h"
#include "settings/InternetDate.h"

namespace snoozlet {

namespace {

using nlohmann::json;

// The deepest nesting a journal needs is five levels; anything far deeper is
// not a journal, and refusing it early keeps a hostile file from building a
// huge tree of nested arrays.
constexpr int kMaxDepth = 32;

bool nestingWithin(std::string_view text, int limit) {
  int depth = 0;
  bool inString = false;
  bool escaped = false;
  for (char c : text) {
    if (inString) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (++depth > limit) return false;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return true;
}

std::optional<std::string> canonicalId(const std::string& text) {
  if (text.size() != 36) return std::nullopt;
  uuid_t uuid;
  if (uuid_parse(text.c_str(), uuid) != 0) return std::nullopt;
  char out[37];
  uuid_unparse_upper(uuid, out);
  return std::string(out);
}

const json* member(const json& object, const char* name) {
  const auto it = object.find(name);
  return it == object.end() ? nullptr : &*it;
}

std::optional<std::string> stringMember(const json& object, const char* name) {
  const json* value = member(object, name);
  if (value == nullptr || !value->is_string()) return std::nullopt;
  return value->get<std::string>();
}

std::optional<PlannedChange> decodeChange(const json& object) {
  if (!object.is_object()) return std::nullopt;
  const auto fix = stringMember(object, "fix");
  const auto key = stringMember(object, "key");
  const auto previous = stringMember(object, "previous");
  const auto scope = stringMember(object, "scope");
  const auto target = stringMember(object, "target");
  if (!fix || !key || !previous || !scope || !target) return std::nullopt;
  const auto fixID = fixIDFromString(*fix);
  const auto powerScope = powerScopeFromString(*scope);
  if (!fixID || !powerScope) return std::nullopt;
  return PlannedChange{*fixID, *key, *powerScope, *previous, *target};
}

// A Linux laptop's change; every member a string, the device's facts
// optional (deep sleep has none).
std::optional<SystemChange> decodeSystemChange(const json& object) {
  if (!object.is_object()) return std::nullopt;
  const auto fix = stringMember(object, "fix");
  const auto kind = fix ? systemFixKindFromString(*fix) : std::nullopt;
  SystemChange change;
  const std::pair<const char*, std::string*> required[] = {{"file", &change.file},
                                                           {"previous", &change.previous},
                                                           {"target", &change.target},
                                                           {"keepFile", &change.keepFile},
                                                           {"keepLine", &change.keepLine}};
  if (!kind) return std::nullopt;
  change.fix = *kind;
  for (const auto& [name, field] : required) {
    auto value = stringMember(object, name);
    if (!value) return std::nullopt;
    *field = std::move(*value);
  }
  const std::pair<const char*, std::string*> optional[] = {{"device", &change.device},
                                                           {"driver", &change.driver},
                                                           {"pciClass", &change.pciClass},
                                                           {"acpiName", &change.acpiName}};
  for (const auto& [name, field] : optional) {
    const json* value = member(object, name);
    if (value == nullptr || value->is_null()) continue;
    if (!value->is_string()) return std::nullopt;
    *field = value->get<std::string>();
  }
  return change;
}

std::optional<FixRecord> decodeRecord(const json& object) {
  if (!object.is_object()) return std::nullopt;
  FixRecord record;
  const json* changes = member(object, "changes");
  const json* dryRun = member(object, "dryRun");
  const auto date = stringMember(object, "date");
  const auto id = stringMember(object, "id");
  if (changes == nullptr || !changes->is_array() || dryRun == nullptr || !dryRun->is_boolean() || !date || !id) {
    return std::nullopt;
  }
  const auto canonical = canonicalId(*id);
  const auto instant = InternetDate::parse(*date);
  if (!canonical || !instant) return std::nullopt;
  record.id = *canonical;
  record.date = *instant;
  record.dryRun = dryRun->get<bool>();
  for (const json& item : *changes) {
    auto change = decodeChange(item);
    if (!change) return std::nullopt;
    record.changes.push_back(std::move(*change));
  }
  // A null "undoneAt" counts as absent, as when the member is left out.
  if (const json* undone = member(object, "undoneAt"); undone != nullptr && !undone->is_null()) {
    if (!undone->is_string()) return std::nullopt;
    const auto when = InternetDate::parse(undone->get<std::string>());
    if (!when) return std::nullopt;
    record.undoneAt = *when;
  }
  if (const json* system = member(object, "system"); system != nullptr && !system->is_null()) {
    if (!system->is_array()) return std::nullopt;
    for (const json& item : *system) {
      auto change = decodeSystemChange(item);
      if (!change) return std::nullopt;
      record.system.push_back(std::move(*change));
    }
  }
  if (const json* pending = member(object, "pending"); pending != nullptr && !pending->is_null()) {
    if (!pending->is_string()) return std::nullopt;
    const std::string what = pending->get<std::string>();
    if (what == "change") {
      record.pending = FixRecord::Pending::change;
    } else if (what == "undo") {
      record.pending = FixRecord::Pending::undo;
    } else {
      return std::nullopt;
    }
  }
  return record;
}

json encodeChange(const PlannedChange& change) {
  json object = json::object();
  object["fix"] = std::string(toString(change.fix));
  object["key"] = change.key;
  object["previous"] = change.previous;
  object["scope"] = std::string(toString(change.scope));
  object["target"] = change.target;
  return object;
}

json encodeSystemChange(const SystemChange& change) {
  json object = json::object();
  object["fix"] = std::string(toString(change.fix));
  object["file"] = change.file;
  object["previous"] = change.previous;
  object["target"] = change.target;
  object["keepFile"] = change.keepFile;
  object["keepLine"] = change.keepLine;
  for (const auto& [name, value] : {std::pair{"device", &change.device}, std::pair{"driver", &change.driver},
                                    std::pair{"pciClass", &change.pciClass}, std::pair{"acpiName", &change.acpiName}}) {
    if (!value->empty()) object[name] = *value;
  }
  return object;
}

}  // namespace

std::string FixJournal::encode() const {
  json list = json::array();
  for (const FixRecord& record : records) {
    json object = json::object();
    json changes = json::array();
    for (const PlannedChange& change : record.changes) changes.push_back(encodeChange(change));
    object["changes"] = std::move(changes);
    object["date"] = InternetDate::format(record.date);
    object["dryRun"] = record.dryRun;
    object["id"] = record.id;
    if (record.undoneAt) object["undoneAt"] = InternetDate::format(*record.undoneAt);
    // A Linux laptop's changes go in a member of their own, beside an empty
    // "changes": a reader that knows only pmset's still reads the whole file.
    if (!record.system.empty()) {
      json system = json::array();
      for (const SystemChange& change : record.system) system.push_back(encodeSystemChange(change));
      object["system"] = std::move(system);
    }
    // Written only while pending, so a settled journal reads as it always has.
    if (record.pending) object["pending"] = *record.pending == FixRecord::Pending::change ? "change" : "undo";
    list.push_back(std::move(object));
  }
  json top = json::object();
  top["records"] = std::move(list);
  // Invalid UTF-8 in a value is replaced rather than thrown on.
  return top.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::optional<FixJournal> FixJournal::decode(std::string_view text) {
  if (!nestingWithin(text, kMaxDepth)) return std::nullopt;
  try {
    const json top = json::parse(text, nullptr, false);
    if (top.is_discarded() || !top.is_object()) return std::nullopt;
    const json* list = member(top, "records");
    if (list == nullptr || !list->is_array()) return std::nullopt;
    FixJournal journal;
    journal.records.reserve(list->size());
    for (const json& item : *list) {
      auto record = decodeRecord(item);
      if (!record) return std::nullopt;
      journal.records.push_back(std::move(*record));
    }
    return journal;
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

}  // namespace snoozlet
