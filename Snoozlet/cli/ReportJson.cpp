#include "cli/ReportJson.h"

namespace snoozlet::report_json {

namespace {

using nlohmann::json;

template <typename T>
json orNull(const std::optional<T>& value) {
  return value ? json(*value) : json(nullptr);
}

json point(const std::optional<BatteryPoint>& p) {
  if (!p) return nullptr;
  return {{"date", p->date}, {"percent", p->percent}, {"onAC", p->onAC}};
}

json request(const std::optional<WakeRequest>& r) {
  if (!r) return nullptr;
  return {{"process", r->process}, {"kind", r->kind},     {"info", orNull(r->info)},
          {"wakeAt", orNull(r->wakeAt)}, {"fired", r->fired}};
}

json reason(const WakeReason& r) { return {{"raw", r.raw}, {"category", toString(r.category)}}; }

json holder(const HolderGroup& h) {
  return {{"process", h.process}, {"type", h.type},
          {"name", h.name},       {"count", h.count},
          {"heldSeconds", h.heldSeconds}, {"origin", toString(h.origin)}};
}

json moodReason(const MoodReason& r) {
  json out = {{"case", r.caseName()}};
  std::visit(
      [&](const auto& v) {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, MoodReason::Drain>) {
          out["perHour"] = v.perHour;
          out["ratio"] = orNull(v.ratio);
        } else if constexpr (std::is_same_v<V, MoodReason::Awake>) {
          out["fraction"] = v.fraction;
        } else if constexpr (std::is_same_v<V, MoodReason::Culprit>) {
          out["process"] = v.process;
          out["seconds"] = v.seconds;
        } else {
          out["count"] = v.count;
        }
      },
      r.value);
  return out;
}

json groups(const std::vector<ReasonGroup>& groups) {
  json out = json::array();
  for (const auto& g : groups) {
    out.push_back({{"category", toString(g.category)},
                   {"count", g.count},
                   {"awakeSeconds", g.awakeSeconds},
                   {"times", g.times},
                   {"rawExamples", g.rawExamples}});
  }
  return out;
}

}  // namespace

json report(const NightReport& r, const Narrator& narrator) {
  const SleepSession& s = r.session;
  json out;
  out["start"] = s.start;
  out["end"] = s.end;
  out["duration"] = r.duration();
  out["ending"] = toString(s.ending.kind());
  out["sleepReason"] = s.sleepReason;
  out["tcpKeepAlive"] = orNull(s.tcpKeepAlive);
  out["isPartial"] = s.isPartial;
  out["kind"] = toString(r.kind);
  out["mood"] = toString(r.mood);
  out["moodReasons"] = json::array();
  for (const auto& reasonOfMood : r.moodReasons) out["moodReasons"].push_back(moodReason(reasonOfMood));
  out["ratio"] = orNull(r.ratio);
  out["darkWakeCount"] = r.darkWakeCount;
  out["awakeSeconds"] = r.awakeSeconds;
  out["awakeFraction"] = r.awakeFraction();
  out["darkWakesPerHour"] = r.darkWakesPerHour();
  out["battery"] = {{"first", point(r.battery.first)},     {"last", point(r.battery.last)},
                    {"drop", orNull(r.battery.drop)},      {"batteryHours", r.battery.batteryHours},
                    {"perHour", orNull(r.battery.perHour)}, {"sawCharger", r.battery.sawCharger}};
  // The session's own readings (the report's "battery" is their trend).
  out["batteryPoints"] = json::array();
  for (const auto& p : s.battery) out["batteryPoints"].push_back(point(p));
  out["groups"] = groups(r.groups);
  out["requesters"] = json::array();
  for (const auto& q : r.requesters)
    out["requesters"].push_back({{"process", q.process}, {"activity", q.activity}, {"count", q.count}});
  out["holders"] = json::array();
  for (const auto& h : r.holders) out["holders"].push_back(holder(h));
  out["wokeBy"] = r.wokeBy ? reason(*r.wokeBy) : json(nullptr);
  out["failures"] = json::array();
  for (const auto& f : s.failures) out["failures"].push_back({{"date", f.date}, {"message", f.message}});
  out["darkWakes"] = json::array();
  for (const auto& w : s.darkWakes) {
    out["darkWakes"].push_back({{"date", w.date},
                                {"duration", orNull(w.duration)},
                                {"reason", reason(w.reason)},
                                {"battery", point(w.battery)},
                                {"request", request(w.request)}});
  }
  const auto culprit = r.culprit();
  out["culprit"] = culprit ? holder(*culprit) : json(nullptr);
  out["userRequested"] = json::array();
  for (const auto& h : r.userRequested()) out["userRequested"].push_back(holder(h));
  out["speech"] = narrator.speech(r);
  out["plainSummary"] = narrator.plainSummary(r);
  return out;
}

json batteryHealth(const BatteryHealth& b) {
  return {{"cycleCount", orNull(b.cycleCount)},
          {"designCycleCount", orNull(b.designCycleCount)},
          {"designCapacity", orNull(b.designCapacity)},
          {"fullChargeCapacity", orNull(b.fullChargeCapacity)},
          {"nominalCapacity", orNull(b.nominalCapacity)},
          {"chargePercent", orNull(b.chargePercent)},
          {"temperatureCelsius", orNull(b.temperatureCelsius)},
          {"voltage", orNull(b.voltage)},
          {"isCharging", b.isCharging},
          {"externalConnected", b.externalConnected},
          {"capacityFraction", orNull(b.capacityFraction())}};
}

namespace {

json header(const SleepAnalysis& a, const Narrator& narrator) {
  json out;
  out["coveredFrom"] = orNull(a.coveredFrom);
  out["coveredTo"] = orNull(a.coveredTo);
  if (a.baseline) {
    out["baseline"] = {{"percentPerHour", a.baseline->percentPerHour},
                       {"awakeFraction", a.baseline->awakeFraction},
                       {"nights", a.baseline->nights}};
  } else {
    out["baseline"] = nullptr;
  }
  out["language"] = toString(narrator.format().language());
  out["timeZone"] = narrator.format().timeZone().identifier();
  return out;
}

// A pretty-printed value nested `depth` levels deep.
std::string nested(const json& value, int depth) {
  const std::string text = value.dump(2);
  const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    out.push_back(c);
    if (c == '\n') out.append(indent);
  }
  return out;
}

}  // namespace

json analysis(const SleepAnalysis& a, const Narrator& narrator) {
  json out = header(a, narrator);
  out["reports"] = json::array();
  for (const auto& r : a.reports) out["reports"].push_back(report(r, narrator));
  return out;
}

void write(std::ostream& out, const SleepAnalysis& a, const Narrator& narrator, const json& extra) {
  json top = header(a, narrator);
  for (const auto& [key, value] : extra.items()) top[key] = value;
  out << "{\n";
  for (const auto& [key, value] : top.items()) out << "  " << json(key).dump() << ": " << nested(value, 1) << ",\n";
  out << "  \"reports\": [";
  for (std::size_t i = 0; i < a.reports.size(); ++i) {
    out << (i == 0 ? "\n    " : ",\n    ") << nested(report(a.reports[i], narrator), 2);
  }
  out << (a.reports.empty() ? "]\n}\n" : "\n  ]\n}\n");
}

}  // namespace snoozlet::report_json
