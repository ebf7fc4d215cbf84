#include "LogGenerator.h"

#include "common/Text.h"
#include "demo/DemoLog.h"
#include "log/LogScanner.h"
#include "sessions/WakeClassifier.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace snoozlet::bench {

namespace {

struct Span {
  double start;
  double end;
};

// The nights of one week: DemoLog's week, varied so that no two weeks are alike.
std::vector<DemoLog::Night> weekNights(LogShape shape, const DateComponents& endingOn, Random& random) {
  if (shape == LogShape::storm) {
    std::vector<DemoLog::Night> nights = DemoLog::week(endingOn, Mood::sleepless);
    for (DemoLog::Night& night : nights) {
      for (DemoLog::Wake& wake : night.wakes) {
        if (wake.reason == DemoLog::wifi) {
          wake.count = random.integer(1600, 1800);
          wake.seconds = 4;
        } else if (wake.reason != DemoLog::plug) {
          wake.count *= 3;
        }
      }
      night.batteryTo = std::max(1, night.batteryFrom - random.integer(20, 30));
    }
    return nights;
  }
  const double roll = random.uniform();
  const Mood mood = roll < 0.7 ? Mood::soundAsleep : roll < 0.92 ? Mood::restless : Mood::sleepless;
  std::vector<DemoLog::Night> nights = DemoLog::week(endingOn, mood);
  for (DemoLog::Night& night : nights) {
    night.start.minute = night.start.minute.value_or(0) + random.integer(-20, 20);
    night.hours *= random.uniform(0.93, 1.07);
    for (DemoLog::Wake& wake : night.wakes) {
      if (wake.reason == DemoLog::plug) continue;
      const int varied = static_cast<int>(std::lround(wake.count * random.uniform(0.8, 1.2)));
      // Stay on the same side of 100, where DemoLog crowds wifi wakes into the middle of the night.
      wake.count = wake.count > 100 ? std::max(101, varied) : std::clamp(varied, 1, 100);
    }
    const int shift = random.integer(-8, 8);
    night.batteryFrom = std::clamp(night.batteryFrom + shift, 15, 100);
    night.batteryTo = std::clamp(night.batteryTo + shift, 5, night.batteryFrom);
  }
  return nights;
}

DateComponents componentsOf(const GregorianCalendar& calendar, double at) {
  const CivilTime civil = calendar.civil(at);
  return {civil.year, civil.month, civil.day, civil.hour, civil.minute, std::nullopt};
}

// The wake reason of a dark-wake message: between "due to " and " Using ".
std::string_view reasonOf(std::string_view message) {
  const auto due = message.find("due to ");
  if (due == std::string_view::npos) return message;
  std::string_view rest = message.substr(due + 7);
  return rest.substr(0, rest.find(" Using "));
}

// Splits "… 45 secs" into the text before the duration and the seconds.
std::pair<std::string_view, std::optional<long long>> splitDuration(std::string_view message) {
  if (!message.ends_with(" secs")) return {message, std::nullopt};
  const std::string_view head = message.substr(0, message.size() - 5);
  const auto space = head.rfind(' ');
  if (space == std::string_view::npos) return {message, std::nullopt};
  const auto seconds = text::parseInteger(head.substr(space + 1));
  if (!seconds) return {message, std::nullopt};
  return {head.substr(0, space), seconds};
}

class WeekWriter {
 public:
  WeekWriter(const LogPlan& plan, const TimeZone& zone, const GregorianCalendar& calendar, Random& random)
      : plan_(plan), zone_(zone), calendar_(calendar), random_(random), lines_(zone) {
    if (plan.shape == LogShape::storm) {
      rates_.wakeAcks = 0.5;
      rates_.maxAckBrackets = 60;
    }
  }

  // Writes the week that ends with `nights`; returns where it stopped.
  double write(std::vector<DemoLog::Night> nights, std::optional<double> from, bool last,
               const std::function<void(std::string_view)>& sink) {
    std::vector<Span> spans = spansOf(nights);
    const double start = from ? *from : spans.front().start - random_.uniform(12, 16) * 3600;
    const double stop = spans.back().end + (last ? random_.uniform(2, 3) * 3600 : 0);
    for (std::size_t i = 0; i < nights.size(); ++i) {
      battery_.add(spans[i].start, nights[i].batteryFrom);
      battery_.add(spans[i].end, nights[i].batteryTo);
    }
    addNaps(nights, spans, start, stop);
    TrafficWriter traffic(lines_, random_, battery_, rates_);
    if (!from) traffic.header(start - 1, true);
    relayDemoText(DemoLog::text(nights, zone_), traffic);
    writeAwakeTraffic(spans, start, stop, traffic);
    if (random_.chance(0.5)) {
      const Span& session = spans[static_cast<std::size_t>(random_.integer(0, static_cast<int>(spans.size()) - 1))];
      traffic.sleepFailure(session.start + 1.7);
    }
    lines_.flush(sink);
    return stop;
  }

 private:
  std::vector<Span> spansOf(const std::vector<DemoLog::Night>& nights) const {
    std::vector<Span> spans;
    for (const DemoLog::Night& night : nights) {
      const double start = calendar_.instant(night.start).value_or(0);
      spans.push_back({start, start + night.hours * 3600});
    }
    return spans;
  }

  // Two to four naps in every long enough stretch between two sessions:
  // the lid closed for lunch, a meeting, the commute.
  void addNaps(std::vector<DemoLog::Night>& nights, std::vector<Span>& spans, double start, double stop) {
    std::vector<Span> gaps;
    double previous = start;
    for (const Span& span : spans) {
      gaps.push_back({previous, span.start});
      previous = span.end;
    }
    gaps.push_back({previous, stop});
    for (const Span& gap : gaps) {
      const double from = gap.start + 1.5 * 3600;
      const double to = gap.end - 1.5 * 3600;
      if (to - from < 3 * 3600) continue;
      const int count = random_.integer(2, 4);
      const double slice = (to - from) / count;
      for (int i = 0; i < count; ++i) {
        const double hours = random_.logUniform(0.25, std::min(2.5, slice * 0.6 / 3600));
        const double at = from + slice * i + random_.uniform(0, slice - hours * 3600);
        nights.push_back(nap(at, hours));
        spans.push_back(spansOf({nights.back()}).front());
      }
    }
    std::vector<std::size_t> order(nights.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return spans[a].start < spans[b].start; });
    std::vector<DemoLog::Night> sortedNights;
    std::vector<Span> sortedSpans;
    for (std::size_t i : order) {
      sortedNights.push_back(nights[i]);
      sortedSpans.push_back(spans[i]);
    }
    nights = std::move(sortedNights);
    spans = std::move(sortedSpans);
  }

  DemoLog::Night nap(double at, double hours) {
    DemoLog::Night night;
    night.start = componentsOf(calendar_, at);
    night.hours = hours;
    const double start = calendar_.instant(night.start).value_or(at);
    night.batteryFrom = std::clamp(battery_.percentAt(start), 10, 100);
    night.batteryTo = std::max(5, night.batteryFrom - std::max(1, static_cast<int>(std::lround(hours * 1.5))));
    const auto wakes = [&](std::string_view reason, double perHour, double seconds) {
      const int count = static_cast<int>(std::lround(hours * perHour * random_.uniform(0.6, 1.4)));
      if (count > 0) night.wakes.push_back({std::string(reason), count, seconds});
    };
    wakes(DemoLog::wifi, 5, 15);
    wakes(DemoLog::task, 2.5, 8);
    wakes(DemoLog::maintenance, 1, 12);
    night.endReason = std::string(DemoLog::lid);
    battery_.add(start, night.batteryFrom);
    battery_.add(start + hours * 3600, night.batteryTo);
    return night;
  }

  // DemoLog's lines, laid out as powerd lays them out, each with the traffic
  // that surrounds it in a real log. Session lines sort at their second + 0.5.
  void relayDemoText(const std::string& text, TrafficWriter& traffic) {
    std::size_t position = 0;
    while (position < text.size()) {
      std::size_t end = text.find('\n', position);
      if (end == std::string::npos) end = text.size();
      relayLine(std::string_view(text).substr(position, end - position), traffic);
      position = end + 1;
    }
  }

  void relayLine(std::string_view line, TrafficWriter& traffic) {
    const auto stamp = LogScanner::timestamp(line);
    const auto tab = line.find('\t', 26);
    if (!stamp || tab == std::string_view::npos) return;
    const double at = stamp->first;
    const double key = at + 0.5;
    const std::string_view domain = text::trimBlanks(line.substr(26, tab - 26));
    const std::string_view message = line.substr(tab + 1);
    if (domain == "Notification") {
      lines_.add(key, domain, message, Tail::durationColumn);
      if (message == "Display is turned off") traffic.displayOffBeforeSleep(at);
    } else if (domain == "Sleep") {
      const auto [body, seconds] = splitDuration(message);
      lines_.addWithDuration(key, domain, body, seconds);
      if (body.find("'Maintenance Sleep'") != std::string_view::npos) {
        traffic.afterMaintenanceSleep(at);
      } else {
        traffic.afterSessionSleep(at);
      }
    } else if (domain == "DarkWake") {
      const auto [body, seconds] = splitDuration(message);
      lines_.addWithDuration(key, domain, body, seconds);
      traffic.darkWake(at, static_cast<double>(seconds.value_or(1)), categoryOf(reasonOf(body)));
    } else if (domain == "Wake") {
      lines_.addWithDuration(key, domain, message, std::nullopt);
      traffic.fullWake(at);
    } else if (domain == "Assertions") {
      lines_.add(key, domain, message, Tail::blank10);
    } else {
      lines_.add(key, domain, message, Tail::blank11);
    }
  }

  WakeCategory categoryOf(std::string_view reason) {
    auto it = categories_.find(std::string(reason));
    if (it == categories_.end()) it = categories_.emplace(reason, WakeClassifier::classify(reason)).first;
    return it->second;
  }

  // Use of the machine between sessions; in an ordinary week, sometimes a restart.
  void writeAwakeTraffic(const std::vector<Span>& spans, double start, double stop, TrafficWriter& traffic) {
    std::vector<Span> awake;
    double previous = start;
    for (const Span& span : spans) {
      // The display goes off a minute before the sleep line.
      if (span.start - 75 > previous) awake.push_back({previous, span.start - 75});
      previous = std::max(previous, span.end + 1);
    }
    if (stop > previous) awake.push_back({previous, stop});
    std::optional<std::size_t> restartIn;
    if (plan_.shape == LogShape::week && random_.chance(0.45)) {
      const auto index = static_cast<std::size_t>(random_.integer(0, static_cast<int>(awake.size()) - 1));
      if (awake[index].end - awake[index].start > 3 * 3600) restartIn = index;
    }
    for (std::size_t i = 0; i < awake.size(); ++i) {
      if (restartIn == i) {
        const double at = awake[i].start + random_.uniform(3600, awake[i].end - awake[i].start - 3600);
        traffic.awake(awake[i].start, at);
        traffic.restart(at);
        traffic.awake(at + 200, awake[i].end);
      } else {
        traffic.awake(awake[i].start, awake[i].end);
      }
    }
  }

  const LogPlan& plan_;
  const TimeZone& zone_;
  const GregorianCalendar& calendar_;
  Random& random_;
  LineBuffer lines_;
  BatteryCurve battery_;
  TrafficRates rates_;
  std::unordered_map<std::string, WakeCategory> categories_;
};

}  // namespace

LogPlan ordinaryWeek() { return LogPlan{}; }

LogPlan stormWeek() {
  LogPlan plan;
  plan.shape = LogShape::storm;
  return plan;
}

LogPlan ordinaryWeeks(int count) {
  LogPlan plan;
  plan.weeks = count;
  return plan;
}

bool writeLog(const LogPlan& plan, const std::function<void(std::string_view)>& sink) {
  const std::optional<TimeZone> zone = TimeZone::named(plan.timeZone);
  if (!zone) return false;
  const GregorianCalendar calendar(*zone);
  const std::optional<Instant> lastMorning = calendar.instant(plan.endingOn);
  if (!lastMorning) return false;
  std::optional<double> from;
  for (int week = 0; week < plan.weeks; ++week) {
    const auto morning = calendar.addingDays(*lastMorning, -7 * (plan.weeks - 1 - week));
    if (!morning) return false;
    // Each week draws from its own stream, seeded by the seed and the week.
    Random random(plan.seed ^ (0x9E3779B97F4A7C15ULL * static_cast<std::uint64_t>(week + 1)));
    const std::vector<DemoLog::Night> nights = weekNights(plan.shape, componentsOf(calendar, *morning), random);
    WeekWriter writer(plan, *zone, calendar, random);
    from = writer.write(nights, from, week == plan.weeks - 1, sink);
  }
  return true;
}

std::string makeLog(const LogPlan& plan) {
  std::string log;
  writeLog(plan, [&](std::string_view block) { log.append(block); });
  return log;
}

void LogCensus::add(std::string_view text) {
  std::size_t position = 0;
  while (position < text.size()) {
    std::size_t end = text.find('\n', position);
    const std::size_t length = (end == std::string_view::npos ? text.size() : end + 1) - position;
    const std::string_view line = text.substr(position, length);
    std::string domain = "(undated)";
    const auto tab = line.size() > 26 ? line.find('\t', 26) : std::string_view::npos;
    if (tab != std::string_view::npos && LogScanner::timestamp(line)) {
      domain = std::string(text::trimBlanks(line.substr(26, tab - 26)));
    }
    ++lines;
    bytes += length;
    ++linesByDomain[domain];
    bytesByDomain[domain] += length;
    position += length;
  }
}

}  // namespace snoozlet::bench
