#include "LogTraffic.h"

#include "TrafficTables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace snoozlet::bench {

namespace {

// "hh:mm:ss" of a whole number of seconds.
void appendAge(std::string& out, double seconds) {
  const auto s = static_cast<long long>(std::max(0.0, seconds));
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  out += buffer;
}

void appendHex(std::string& out, std::uint64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%llx", static_cast<unsigned long long>(value));
  out += buffer;
}

std::vector<double> weightsOf(std::span<const tables::AssertionKind> kinds) {
  std::vector<double> weights;
  for (const auto& kind : kinds) weights.push_back(kind.weight);
  return weights;
}

}  // namespace

void BatteryCurve::add(double at, int percent) {
  const auto it =
      std::lower_bound(points_.begin(), points_.end(), at, [](const Point& p, double t) { return p.at < t; });
  points_.insert(it, {at, percent});
}

std::pair<BatteryCurve::Point, BatteryCurve::Point> BatteryCurve::around(double at) const {
  if (points_.empty()) return {{at, 80}, {at, 80}};
  const auto it =
      std::lower_bound(points_.begin(), points_.end(), at, [](const Point& p, double t) { return p.at < t; });
  if (it == points_.begin()) return {*it, *it};
  if (it == points_.end()) return {points_.back(), points_.back()};
  return {*(it - 1), *it};
}

int BatteryCurve::percentAt(double at) const {
  const auto [a, b] = around(at);
  if (b.at <= a.at) return a.percent;
  // Truncated as DemoLog truncates, so both agree on the charge at every instant.
  const double f = std::clamp((at - a.at) / (b.at - a.at), 0.0, 1.0);
  return static_cast<int>(std::trunc(a.percent + f * (b.percent - a.percent)));
}

bool BatteryCurve::onAC(double at) const {
  const auto [a, b] = around(at);
  return b.percent > a.percent;
}

TrafficWriter::TrafficWriter(LineBuffer& lines, Random& random, const BatteryCurve& battery, TrafficRates rates)
    : lines_(lines), random_(random), battery_(battery), rates_(rates) {}

std::string TrafficWriter::processName(std::string_view pattern) {
  std::string name;
  for (char c : pattern) {
    if (c == '#') {
      name += std::to_string(random_.integer(2, 480));
    } else {
      name.push_back(c);
    }
  }
  return name;
}

std::string_view TrafficWriter::systemFlags() { return random_.pick(tables::kSystemFlags); }

void TrafficWriter::assertionLine(double at, int pid, std::string_view process, std::string_view action,
                                  std::string_view type, std::string_view name, double age, std::uint64_t id) {
  scratch_.clear();
  scratch_ += "PID ";
  scratch_ += std::to_string(pid);
  scratch_ += '(';
  scratch_ += process;
  scratch_ += ") ";
  scratch_ += action;
  scratch_ += ' ';
  scratch_ += type;
  scratch_ += " \"";
  scratch_ += name;
  scratch_ += "\" ";
  appendAge(scratch_, age);
  scratch_ += "  id:0x0x";
  appendHex(scratch_, id);
  scratch_ += ' ';
  scratch_ += systemFlags();
  lines_.add(at, "Assertions", scratch_, Tail::blank10);
}

void TrafficWriter::summaryLine(double at) {
  scratch_.assign("Summary- ");
  scratch_ += systemFlags();
  const int percent = battery_.percentAt(at);
  scratch_ += battery_.onAC(at) ? " Using AC(Charge: " : " Using Batt(Charge: ";
  scratch_ += std::to_string(percent);
  scratch_ += ')';
  lines_.add(at, "Assertions", scratch_, Tail::blank10);
}

void TrafficWriter::episode(double at, double until, std::vector<Active>& active) {
  static const std::vector<double> weights = weightsOf(tables::kDaytime);
  const std::size_t index = random_.weighted(weights);
  const tables::AssertionKind& kind = tables::kDaytime[index];
  const double length = random_.logUniform(kind.minSeconds, kind.maxSeconds);
  const double ends = std::min(at + length, until - random_.uniform(1, 20));
  if (ends <= at) return;
  const int pid = kind.pid + bootEpoch_ * 17;
  const std::uint64_t id = (static_cast<std::uint64_t>(index % 12 + 1) << 32) | nextId_++;
  const std::string name = processName(kind.name);
  assertionLine(at, pid, kind.process, "Created", kind.type, name, 0, id);
  if (random_.chance(0.08)) assertionLine(at + 0.1, pid, kind.process, "TurnedOn", kind.type, name, 0, id);
  const std::string_view end = kind.timesOut ? "TimedOut" : (random_.chance(0.02) ? "ClientDied" : "Released");
  assertionLine(ends, pid, kind.process, end, kind.type, name, ends - at, id);
  if (random_.chance(0.3)) summaryLine(ends + 0.01);
  active.push_back({index, pid, name, id, at, ends});
}

void TrafficWriter::displayCycle(double off, double on, const std::vector<Active>& active) {
  lines_.add(off, "Notification", "Display is turned off", Tail::durationColumn);
  int summaries = 0;
  for (const Active& a : active) {
    if (a.created < off && a.ends > off && summaries < 5) {
      const tables::AssertionKind& kind = tables::kDaytime[a.kind];
      assertionLine(off + 0.01, a.pid, kind.process, "Summary", kind.type, a.name, off - a.created, a.id);
      ++summaries;
    }
  }
  lines_.add(off + 0.02, "Assertions", "Kernel Idle sleep preventers: -None-", Tail::blank10);
  lines_.add(on, "Notification", "Display is turned on", Tail::durationColumn);
  lines_.add(on + 0.01, "Assertions", "Kernel Idle sleep preventers: IODisplayWrangler", Tail::blank10);
}

void TrafficWriter::inactivityWindow(double at) {
  for (std::string_view which : {"immediate", "largest"}) {
    scratch_.assign("Next ");
    scratch_ += which;
    scratch_ += " inactivity window start:'";
    const double start = at + random_.uniform(3, 9) * 3600;
    lines_.appendStamp(scratch_, start);
    scratch_ += "' end:'";
    lines_.appendStamp(scratch_, start + random_.uniform(6, 14) * 3600);
    scratch_ += '\'';
    lines_.add(at, "Notification", scratch_);
  }
}

void TrafficWriter::awake(double from, double to) {
  if (to - from < 60) return;
  std::vector<Active> active;
  const double meanGap = 3600 / rates_.assertionsPerHour;
  for (double t = from + random_.exponential(meanGap); t < to - 30; t += random_.exponential(meanGap)) {
    episode(t, to, active);
  }
  // Display sleeps: the screen goes dark after a few idle minutes and comes back.
  double t = from + random_.exponential(rates_.displayCycleMinutes * 60);
  while (t < to - 600) {
    const double on = std::min(t + random_.uniform(60, 1500), to - 120);
    displayCycle(t, on, active);
    t = on + random_.exponential(rates_.displayCycleMinutes * 60);
  }
  for (double w = from + random_.exponential(5 * 3600); w < to; w += random_.exponential(5 * 3600)) {
    inactivityWindow(w);
  }
}

void TrafficWriter::kernelAcks(double at, std::string_view what, int maxBrackets) {
  scratch_.assign("Delays to ");
  scratch_ += what;
  scratch_ += " notifications:";
  const int brackets = static_cast<int>(random_.logUniform(2, maxBrackets + 1));
  for (int i = 0; i < brackets; ++i) {
    scratch_ += " [";
    scratch_ += random_.pick(tables::kDrivers);
    scratch_ += " driver is slow(msg: ";
    scratch_ += random_.pick(tables::kDriverMessages);
    scratch_ += " to ";
    scratch_ += std::to_string(random_.integer(0, 3));
    scratch_ += ")(";
    scratch_ += std::to_string(random_.integer(50, 1500));
    scratch_ += " ms)]";
  }
  lines_.add(at, "Kernel Client Acks", scratch_, Tail::blank11);
}

void TrafficWriter::pmAcks(double at, std::string_view what) {
  scratch_.assign("Delays to ");
  scratch_ += what;
  scratch_ += " notifications:";
  const int brackets = static_cast<int>(random_.logUniform(1, 9));
  for (int i = 0; i < brackets; ++i) {
    scratch_ += " [";
    scratch_ += random_.pick(tables::kClients);
    if (random_.chance(0.1)) {
      scratch_ += " timed out(28001 ms)]";
    } else {
      scratch_ += " is slow(";
      scratch_ += std::to_string(random_.integer(900, 6000));
      scratch_ += " ms)]";
    }
  }
  lines_.add(at, "PM Client Acks", scratch_, Tail::blank11);
}

void TrafficWriter::wakeRequestLine(double at) {
  // The scheduled wakes as powerd lists them after going to sleep; none of
  // them has fired yet, so none carries the "*".
  scratch_.clear();
  const int count = random_.integer(2, 5);
  for (int i = 0; i < count; ++i) {
    if (i > 0) scratch_ += ' ';
    const int choice = i == 0 ? 0 : random_.integer(1, 4);
    const char* process = choice == 0 ? "dasd" : choice == 1 ? "mDNSResponder" : "powerd";
    const char* request = choice == 0   ? "SleepService"
                          : choice == 1 ? "Maintenance"
                          : choice == 2 ? "TCPKATurnOff"
                          : choice == 3 ? "CSPNEvaluation"
                                        : "UserWake";
    const int delta = choice == 2 ? random_.integer(200000, 270000) : random_.integer(300, 9000);
    scratch_ += "[process=";
    scratch_ += process;
    scratch_ += " request=";
    scratch_ += request;
    scratch_ += " deltaSecs=";
    scratch_ += std::to_string(delta);
    scratch_ += " wakeAt=";
    lines_.appendWallTime(scratch_, at + delta, at);
    if (choice == 0) {
      scratch_ += " info=\"com.apple.dasd:501:";
      scratch_ += random_.pick(tables::kActivities);
      scratch_ += '"';
    } else if (choice == 1) {
      scratch_ += " info=\"upkeep wake\"";
    } else if (choice == 4) {
      scratch_ += " info=\"com.apple.alarm.user-invisible-com.apple.calaccessd.alarmEngine.alarm.name,597\"";
    }
    scratch_ += ']';
  }
  lines_.add(at, "Wake Requests", scratch_, Tail::blank11);
}

void TrafficWriter::wakeDetailsLine(double at, WakeCategory category) {
  scratch_.assign("DriverReason:");
  if (category == WakeCategory::backgroundTask || category == WakeCategory::maintenance) {
    scratch_ += "rtc";
  } else {
    scratch_ += random_.pick(tables::kDriverReasons);
  }
  scratch_ += " - DriverDetails:";
  lines_.add(at, "WakeDetails", scratch_, Tail::padded);
}

void TrafficWriter::wakeTimeLine(double at) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "WakeTime: %.3f sec", random_.uniform(0.2, 1.4));
  lines_.add(at, "WakeTime", buffer, Tail::durationColumn);
}

}  // namespace snoozlet::bench
