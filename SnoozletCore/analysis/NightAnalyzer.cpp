#include "analysis/NightAnalyzer.h"

#include "analysis/MoodRules.h"
#include "sessions/ActivityNames.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace snoozlet {

std::vector<NightReport> SleepAnalysis::nights() const {
  std::vector<NightReport> out;
  for (const auto& r : reports)
    if (r.kind == SleepKind::night) out.push_back(r);
  return out;
}

std::vector<NightReport> SleepAnalysis::naps() const {
  std::vector<NightReport> out;
  for (const auto& r : reports)
    if (r.kind == SleepKind::daytimeNap) out.push_back(r);
  return out;
}

const NightReport* SleepAnalysis::lastNight() const {
  for (auto it = reports.rbegin(); it != reports.rend(); ++it)
    if (it->kind == SleepKind::night) return &*it;
  return nullptr;
}

namespace NightAnalyzer {

namespace {

// The kind of a session read with a calendar of the zone; the analysis makes
// one calendar for all its sessions (making one costs more than the rule).
SleepKind kindIn(const SleepSession& session, const GregorianCalendar& calendar) {
  const Instant middle = session.start + (session.end - session.start) * 0.5;
  const int hour = calendar.hour(middle);
  if (hour < 9 || hour > 18) return SleepKind::night;

  double overlap = 0;
  Instant day = calendar.startOfDay(session.start - 86400);
  while (day < session.end) {
    const Instant windowStart = day + 3600, windowEnd = day + 18000;
    overlap += std::max(0.0, std::min(windowEnd, session.end) - std::max(windowStart, session.start));
    // Enough already; also keeps a corrupt session spanning centuries cheap.
    if (overlap >= 3600) return SleepKind::night;
    const auto next = calendar.addingDays(day, 1);
    day = (next && *next > day) ? *next : day + 86400;
  }
  return overlap < 3600 ? SleepKind::daytimeNap : SleepKind::night;
}

}  // namespace

SleepKind kind(const SleepSession& session, const TimeZone& timeZone) {
  return kindIn(session, GregorianCalendar(timeZone));
}

namespace {

std::vector<ReasonGroup> reasonGroups(const std::vector<DarkWakeEvent>& wakes) {
  std::map<WakeCategory, ReasonGroup> byCategory;
  std::map<WakeCategory, std::vector<std::pair<std::string, int>>> rawCounts;  // first-seen order
  for (const auto& wake : wakes) {
    ReasonGroup& g = byCategory[wake.reason.category];
    g.category = wake.reason.category;
    g.count += 1;
    g.awakeSeconds += wake.duration.value_or(0);
    g.times.push_back(wake.date);
    auto& counts = rawCounts[wake.reason.category];
    const std::string& raw = wake.reason.raw;
    auto found = std::find_if(counts.begin(), counts.end(), [&](const auto& c) { return c.first == raw; });
    if (found == counts.end()) {
      counts.emplace_back(raw, 1);
    } else {
      found->second += 1;
    }
  }
  std::vector<ReasonGroup> groups;
  for (auto& [category, group] : byCategory) {
    auto& counts = rawCounts[category];
    std::stable_sort(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    for (auto& [raw, n] : counts) group.rawExamples.push_back(std::move(raw));
    groups.push_back(std::move(group));
  }
  // Equal count and awake time keep the category order, for a stable display.
  std::stable_sort(groups.begin(), groups.end(), [](const ReasonGroup& a, const ReasonGroup& b) {
    if (a.count != b.count) return a.count > b.count;
    return a.awakeSeconds > b.awakeSeconds;
  });
  return groups;
}

std::vector<RequesterGroup> requesterGroups(const std::vector<DarkWakeEvent>& wakes) {
  std::vector<RequesterGroup> groups;
  std::unordered_map<std::string, std::size_t> index;
  for (const auto& wake : wakes) {
    if (!wake.request) continue;
    const WakeRequest& request = *wake.request;
    std::string activity = ActivityNames::activity(request.info).value_or(request.kind);
    std::string key = request.process + "|" + activity;
    auto [it, inserted] = index.try_emplace(std::move(key), groups.size());
    if (inserted) groups.push_back({request.process, std::move(activity), 0});
    groups[it->second].count += 1;
  }
  std::stable_sort(groups.begin(), groups.end(), [](const RequesterGroup& a, const RequesterGroup& b) {
    if (a.count != b.count) return a.count > b.count;
    return a.activity < b.activity;
  });
  return groups;
}

}  // namespace

namespace {

// Fills a report's derived figures from its session.
NightReport reportOf(SleepSession session, SleepKind kind) {
  NightReport r;
  r.session = std::move(session);
  const SleepSession& s = r.session;
  r.kind = kind;
  r.battery = BatteryTrend(s.battery);
  r.darkWakeCount = static_cast<int>(s.darkWakes.size());
  for (const auto& wake : s.darkWakes) r.awakeSeconds += wake.duration.value_or(0);
  r.groups = reasonGroups(s.darkWakes);
  r.requesters = requesterGroups(s.darkWakes);
  r.holders = s.holders;
  if (s.ending.kind() == SessionEnd::Kind::fullWake) r.wokeBy = s.ending.reason();
  return r;
}

}  // namespace

NightReport report(const SleepSession& session, SleepKind kind) { return reportOf(session, kind); }

namespace {

bool kept(const SleepSession& session, double minimum) {
  return session.end - session.start >= minimum && !session.isPartial;
}

// Baseline, ratios and moods for the reports, and the period the sessions
// cover (first start to last end, before filtering).
void judge(SleepAnalysis& analysis, const std::vector<BaselineSample>& history) {
  std::vector<BaselineSample> samples = history;
  for (const auto& r : analysis.reports)
    if (auto sample = r.baselineSample()) samples.push_back(*sample);
  analysis.baseline = Baseline::from(samples);
  for (auto& r : analysis.reports) {
    if (analysis.baseline && r.battery.perHour) r.ratio = analysis.baseline->ratio(*r.battery.perHour);
    auto [mood, reasons] = MoodRules::evaluate(r, analysis.baseline);
    r.mood = mood;
    r.moodReasons = std::move(reasons);
  }
}

}  // namespace

SleepAnalysis analyze(const std::vector<SleepSession>& sessions, const TimeZone& timeZone,
                      const std::vector<BaselineSample>& history, double minimum) {
  SleepAnalysis analysis;
  const GregorianCalendar calendar(timeZone);
  for (const auto& session : sessions) {
    if (kept(session, minimum)) analysis.reports.push_back(report(session, kindIn(session, calendar)));
  }
  judge(analysis, history);
  if (!sessions.empty()) {
    analysis.coveredFrom = sessions.front().start;
    analysis.coveredTo = sessions.back().end;
  }
  return analysis;
}

SleepAnalysis analyze(std::vector<SleepSession>&& sessions, const TimeZone& timeZone,
                      const std::vector<BaselineSample>& history, double minimum) {
  SleepAnalysis analysis;
  if (!sessions.empty()) {
    analysis.coveredFrom = sessions.front().start;
    analysis.coveredTo = sessions.back().end;
  }
  const GregorianCalendar calendar(timeZone);
  analysis.reports.reserve(static_cast<std::size_t>(
      std::count_if(sessions.begin(), sessions.end(), [minimum](const SleepSession& s) { return kept(s, minimum); })));
  for (auto& session : sessions) {
    if (!kept(session, minimum)) {
      // Released now rather than with the rest, so the reports built next
      // reuse its memory instead of adding to the peak.
      session = SleepSession{};
      continue;
    }
    const SleepKind k = kindIn(session, calendar);
    analysis.reports.push_back(reportOf(std::move(session), k));
  }
  sessions.clear();
  judge(analysis, history);
  return analysis;
}

SleepAnalysis analyze(const LogReader& reader, const TimeZone& timeZone, const std::vector<BaselineSample>& history) {
  // The reader's closed sessions are read in place; only the ongoing one is
  // made, so a long log is not copied once more on the way.
  SleepAnalysis analysis;
  const auto& closed = reader.builder().closed();
  const auto ongoing = reader.builder().ongoingSession();
  const GregorianCalendar calendar(timeZone);
  for (const auto& session : closed) {
    if (kept(session, minimumNight)) analysis.reports.push_back(report(session, kindIn(session, calendar)));
  }
  if (ongoing && kept(*ongoing, minimumNight)) {
    analysis.reports.push_back(report(*ongoing, kindIn(*ongoing, calendar)));
  }
  judge(analysis, history);
  analysis.coveredFrom = reader.coveredFrom();
  analysis.coveredTo = reader.coveredTo();
  return analysis;
}

SleepAnalysis analyze(LogReader&& reader, const TimeZone& timeZone, const std::vector<BaselineSample>& history) {
  const auto coveredFrom = reader.coveredFrom();
  const auto coveredTo = reader.coveredTo();
  SleepAnalysis analysis = analyze(std::move(reader).takeSessions(), timeZone, history, minimumNight);
  analysis.coveredFrom = coveredFrom;
  analysis.coveredTo = coveredTo;
  return analysis;
}

SleepAnalysis analyze(std::string_view log, const TimeZone& timeZone, const std::vector<BaselineSample>& history) {
  LogReader reader;
  reader.ingest(log);
  return analyze(std::move(reader), timeZone, history);
}

}  // namespace NightAnalyzer

}  // namespace snoozlet
