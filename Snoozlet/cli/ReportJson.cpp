#include "cli/ReportJson.h"

#include "presentation/PageRows.h"

namespace snoozlet::report_json {

namespace {

void point(JsonWriter& json, const std::optional<BatteryPoint>& p) {
  if (!p) {
    json.null();
    return;
  }
  json.beginObject().member("date", p->date).member("percent", p->percent).member("onAC", p->onAC).endObject();
}

void request(JsonWriter& json, const SharedOptional<WakeRequest>& r) {
  if (!r) {
    json.null();
    return;
  }
  json.beginObject()
      .member("process", r->process)
      .member("kind", r->kind)
      .member("info", r->info)
      .member("wakeAt", r->wakeAt)
      .member("fired", r->fired)
      .endObject();
}

void reason(JsonWriter& json, const WakeReason& r) {
  json.beginObject().member("raw", r.raw.get()).member("category", toString(r.category)).endObject();
}

void holder(JsonWriter& json, const HolderGroup& h) {
  json.beginObject()
      .member("process", h.process)
      .member("type", h.type)
      .member("name", h.name)
      .member("count", h.count)
      .member("heldSeconds", h.heldSeconds)
      .member("origin", toString(h.origin))
      .endObject();
}

void moodReason(JsonWriter& json, const MoodReason& r) {
  json.beginObject().member("case", r.caseName());
  std::visit(
      [&](const auto& v) {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, MoodReason::Drain>) {
          json.member("perHour", v.perHour).member("ratio", v.ratio);
        } else if constexpr (std::is_same_v<V, MoodReason::Awake>) {
          json.member("fraction", v.fraction);
        } else if constexpr (std::is_same_v<V, MoodReason::Culprit>) {
          json.member("process", v.process).member("seconds", v.seconds);
        } else {
          json.member("count", v.count);
        }
      },
      r.value);
  json.endObject();
}

void group(JsonWriter& json, const ReasonGroup& g) {
  json.beginObject()
      .member("category", toString(g.category))
      .member("count", g.count)
      .member("awakeSeconds", g.awakeSeconds);
  json.key("times").beginArray();
  for (Instant t : g.times) json.value(t);
  json.endArray();
  json.key("rawExamples").beginArray();
  for (const auto& raw : g.rawExamples) json.value(raw);
  json.endArray().endObject();
}

void battery(JsonWriter& json, const BatteryTrend& b) {
  json.beginObject();
  json.key("first");
  point(json, b.first);
  json.key("last");
  point(json, b.last);
  json.member("drop", b.drop)
      .member("batteryHours", b.batteryHours)
      .member("perHour", b.perHour)
      .member("sawCharger", b.sawCharger)
      .endObject();
}

void darkWake(JsonWriter& json, const DarkWakeEvent& w) {
  json.beginObject().member("date", w.date).member("duration", w.duration);
  json.key("reason");
  reason(json, w.reason);
  json.key("battery");
  point(json, w.battery);
  json.key("request");
  request(json, w.request);
  json.endObject();
}

void sourceWakes(JsonWriter& json, const SourceWakes& s, Language language) {
  json.beginObject()
      .member("name", s.name)
      .member("device", s.device)
      .member("driver", s.driver)
      .member("acpiName", s.acpiName)
      .member("label", kernel_counts::label(s, language))
      .member("category", toString(kernel_counts::category(s)))
      .member("wakeups", static_cast<long long>(s.wakeups))
      .member("events", static_cast<long long>(s.events))
      .endObject();
}

// The kernel's counts around the night's sleeps, and the night's sum of them;
// null where nothing was read.
void kernel(JsonWriter& json, const NightReport& r, Language language) {
  const auto counts = kernel_counts::summarize(r.kernelSleeps);
  if (!counts) {
    json.null();
    return;
  }
  json.beginObject()
      .member("wakeups", static_cast<long long>(counts->wakeups))
      .member("hardwareSleepShare", counts->hardwareShare)
      .member("countedSeconds", counts->counted);
  json.key("sources").beginArray();
  for (const auto& s : counts->sources) sourceWakes(json, s, language);
  json.endArray();
  json.key("sleeps").beginArray();
  for (const SleepCounts& sleep : r.kernelSleeps) {
    const auto count = [](const std::optional<std::uint64_t>& v) {
      return v ? std::optional<long long>(static_cast<long long>(*v)) : std::nullopt;
    };
    json.beginObject()
        .member("slept", sleep.slept)
        .member("resumed", sleep.resumed)
        .member("memSleep", sleep.memSleep)
        .member("hardwareSleep", sleep.hardwareSleep)
        .member("suspends", count(sleep.suspends))
        .member("failures", count(sleep.failures));
    json.key("sources").beginArray();
    for (const auto& s : sleep.sources) sourceWakes(json, s, language);
    json.endArray().endObject();
  }
  json.endArray().endObject();
}

}  // namespace

void report(JsonWriter& json, const NightReport& r, const Narrator& narrator) {
  const SleepSession& s = r.session;
  json.beginObject()
      .member("start", s.start)
      .member("end", s.end)
      .member("duration", r.duration())
      .member("ending", toString(s.ending.kind()))
      .member("sleepReason", s.sleepReason)
      .member("tcpKeepAlive", s.tcpKeepAlive)
      .member("isPartial", s.isPartial)
      .member("kind", toString(r.kind))
      .member("mood", toString(r.mood));
  json.key("moodReasons").beginArray();
  for (const auto& m : r.moodReasons) moodReason(json, m);
  json.endArray();
  json.member("ratio", r.ratio)
      .member("darkWakeCount", r.darkWakeCount)
      .member("awakeSeconds", r.awakeSeconds)
      .member("awakeFraction", r.awakeFraction())
      .member("darkWakesPerHour", r.darkWakesPerHour());
  json.key("battery");
  battery(json, r.battery);
  // The session's own readings (the report's "battery" is their trend).
  json.key("batteryPoints").beginArray();
  for (const auto& p : s.battery) point(json, p);
  json.endArray();
  json.key("groups").beginArray();
  for (const auto& g : r.groups) group(json, g);
  json.endArray();
  json.key("requesters").beginArray();
  for (const auto& q : r.requesters) {
    json.beginObject().member("process", q.process).member("activity", q.activity).member("count", q.count).endObject();
  }
  json.endArray();
  json.key("holders").beginArray();
  for (const auto& h : r.holders) holder(json, h);
  json.endArray();
  json.key("wokeBy");
  if (r.wokeBy) {
    reason(json, *r.wokeBy);
  } else {
    json.null();
  }
  json.key("failures").beginArray();
  for (const auto& f : s.failures) json.beginObject().member("date", f.date).member("message", f.message).endObject();
  json.endArray();
  json.key("darkWakes").beginArray();
  for (const auto& w : s.darkWakes) darkWake(json, w);
  json.endArray();
  json.key("culprit");
  if (const auto culprit = r.culprit()) {
    holder(json, *culprit);
  } else {
    json.null();
  }
  json.key("userRequested").beginArray();
  for (const auto& h : r.userRequested()) holder(json, h);
  json.endArray();
  json.key("kernel");
  kernel(json, r, narrator.format().language());
  json.member("speech", narrator.speech(r)).member("plainSummary", narrator.plainSummary(r)).endObject();
}

void batteryHealth(JsonWriter& json, const BatteryHealth& b) {
  json.beginObject()
      .member("cycleCount", b.cycleCount)
      .member("designCycleCount", b.designCycleCount)
      .member("designCapacity", b.designCapacity)
      .member("fullChargeCapacity", b.fullChargeCapacity)
      .member("nominalCapacity", b.nominalCapacity)
      .member("chargePercent", b.chargePercent)
      .member("temperatureCelsius", b.temperatureCelsius)
      .member("voltage", b.voltage)
      .member("isCharging", b.isCharging)
      .member("externalConnected", b.externalConnected)
      .member("capacityFraction", b.capacityFraction())
      .endObject();
}

void baseline(JsonWriter& json, const std::optional<Baseline>& b) {
  if (!b) {
    json.null();
    return;
  }
  json.beginObject()
      .member("percentPerHour", b->percentPerHour)
      .member("awakeFraction", b->awakeFraction)
      .member("nights", b->nights)
      .endObject();
}

void archiveProblem(JsonWriter& json, const std::optional<ArchiveProblem>& problem, Language language) {
  if (!problem) {
    json.null();
    return;
  }
  json.beginObject()
      .member("file", problem->file.string())
      .member("reason", problem->reason)
      .member("keptAside", problem->keptAside ? std::optional(problem->keptAside->string()) : std::nullopt)
      .member("message", presentation::archiveProblemSentence(*problem, language))
      .endObject();
}

void write(std::ostream& out, const SleepAnalysis& a, const Narrator& narrator,
           const std::optional<BatteryHealth>& battery, const std::optional<ArchiveProblem>& archive) {
  // One line: the document grows with the log (megabytes for months of it)
  // and is meant for programs; pipe it through a formatter to read it.
  JsonWriter json(out, JsonWriter::Style::compact);
  json.beginObject().member("coveredFrom", a.coveredFrom).member("coveredTo", a.coveredTo);
  json.key("baseline");
  baseline(json, a.baseline);
  json.member("language", toString(narrator.format().language()))
      .member("timeZone", narrator.format().timeZone().identifier());
  json.key("batteryHealth");
  if (battery) {
    batteryHealth(json, *battery);
  } else {
    json.null();
  }
  json.key("archiveProblem");
  archiveProblem(json, archive, narrator.format().language());
  json.key("reports").beginArray();
  for (const auto& r : a.reports) report(json, r, narrator);
  json.endArray().endObject();
}

}  // namespace snoozlet::report_json
