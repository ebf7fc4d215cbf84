// The lines around sleep and wake: what powerd, the kernel and the daemons
// write when the machine goes to sleep, wakes in the dark and wakes fully.
// Offsets below one second place a line before or after the session line it
// belongs to (session lines sort at their second + 0.5).

#include "LogTraffic.h"

#include "TrafficTables.h"

#include <algorithm>
#include <cstdio>

namespace snoozlet::bench {

namespace {

constexpr std::string_view kHeader =
    "Time stamp                Domain              \tMessage                                                    "
    "                \tDuration  \tDelay     ";
constexpr std::string_view kRule =
    "==========                ======              \t=======                                                    "
    "                \t========  \t=====     ";

constexpr std::string_view kConfigd = "PM configd - Wait for Device enumeration";
constexpr std::string_view kLinger = "com.apple.powermanagement.darkwakelinger";

}  // namespace

void TrafficWriter::displayOffBeforeSleep(double at) {
  const int windowServer = 149 + bootEpoch_ * 17;
  const int summaries = random_.integer(1, 3);
  for (int i = 0; i < summaries; ++i) {
    const auto& kind = tables::kDaytime[static_cast<std::size_t>(i % 2)];
    assertionLine(at + 0.6, windowServer, kind.process, "Summary", kind.type, kind.name, random_.uniform(0, 120),
                  (9ULL << 32) | nextId_++);
  }
  lines_.add(at + 0.61, "Assertions", "Kernel Idle sleep preventers: -None-", Tail::blank10);
  lines_.add(
      at + 0.62, "Assertions",
      "PID 0(kernel_task) Released Idle Sleep Preventer \"IODisplayWrangler\"  id:0x0x0 [System: DeclUser kDisp]",
      Tail::blank10);
  // powerd lingers a few seconds in case something else wants to run.
  const int powerd = 95 + bootEpoch_ * 17;
  const std::uint64_t id = (0xdULL << 32) | nextId_++;
  assertionLine(at + 0.63, powerd, "powerd", "Created", "InternalPreventSleep", kLinger, 0, id);
  const double linger = random_.uniform(10, 16);
  assertionLine(at + linger, powerd, "powerd", "TimedOut", "InternalPreventSleep", kLinger, linger, id);
  summaryLine(at + linger + 0.01);
}

void TrafficWriter::afterSessionSleep(double at) {
  summaryLine(at + 0.6);
  if (random_.chance(0.8)) pmAcks(at + 1.5, "Sleep");
  if (random_.chance(0.95)) wakeRequestLine(at + 1.6);
  if (random_.chance(0.4)) kernelAcks(at + 2.1, "Sleep", rates_.maxAckBrackets / 2);
}

void TrafficWriter::darkWake(double at, double seconds, WakeCategory category) {
  const double end = at + std::max(seconds, 1.0);
  const int powerd = 95 + bootEpoch_ * 17;
  const int mdns = 445 + bootEpoch_ * 17;
  if (random_.chance(0.6)) {
    const std::uint64_t id = (0xdULL << 32) | nextId_++;
    assertionLine(at + 0.2, powerd, "powerd", "Created", "InternalPreventSleep", kConfigd, 0, id);
    const double released = std::min(at + 0.6 + random_.uniform(0, 5), end + 0.2);
    assertionLine(released, powerd, "powerd", "Released", "InternalPreventSleep", kConfigd, released - at, id);
  }
  if (category == WakeCategory::maintenance || random_.chance(0.3)) {
    const std::uint64_t id = (0xdULL << 32) | nextId_++;
    assertionLine(at + 0.3, mdns, "mDNSResponder", "Created", "MaintenanceWake", "mDNSResponder:maintenance", 0, id);
    assertionLine(end + 0.1, mdns, "mDNSResponder", "Released", "MaintenanceWake", "mDNSResponder:maintenance",
                  end - at, id);
  }
  const bool window = random_.chance(category == WakeCategory::backgroundTask ? 0.9 : 0.2);
  if (window) {
    lines_.add(at + 0.35, "com.apple.sleepservices.sessionStarted",
               "SleepService: window begins with cap time=180 secs", Tail::durationColumn);
    lines_.add(end + 0.15, "com.apple.sleepservices.sessionTerminated", "SleepService: window has terminated.",
               Tail::durationColumn);
  }
  if (random_.chance(rates_.wakeDetails)) wakeDetailsLine(at + 0.6, category);
  if (random_.chance(rates_.wakeTime)) wakeTimeLine(at + 0.65);
  if (random_.chance(rates_.wakeAcks)) kernelAcks(at + 0.7, "Wake", rates_.maxAckBrackets);

  static const std::vector<double> weights = [] {
    std::vector<double> w;
    for (const auto& kind : tables::kDarkWake) w.push_back(kind.weight);
    return w;
  }();
  const int others = random_.chance(rates_.darkWakeAssertions) ? 1 : 0;
  for (int i = 0; i < others; ++i) {
    const auto& kind = tables::kDarkWake[random_.weighted(weights)];
    const double created = at + 0.8 + random_.uniform(0, std::max(0.0, seconds - 1) * 0.5);
    const double released = std::min(created + random_.uniform(kind.minSeconds, kind.maxSeconds), end + 0.3);
    const std::uint64_t id = (0xbULL << 32) | nextId_++;
    const std::string name = processName(kind.name);
    const int pid = kind.pid + bootEpoch_ * 17;
    assertionLine(created, pid, kind.process, "Created", kind.type, name, 0, id);
    assertionLine(released, pid, kind.process, "Released", kind.type, name, released - created, id);
  }
  if (random_.chance(0.3)) summaryLine(end + 0.4);
}

void TrafficWriter::afterMaintenanceSleep(double at) {
  if (random_.chance(rates_.sleepAcks)) pmAcks(at + 0.6, "Sleep");
  if (random_.chance(rates_.wakeRequests)) wakeRequestLine(at + 0.7);
}

void TrafficWriter::fullWake(double at) {
  if (random_.chance(0.8)) wakeDetailsLine(at + 0.55, WakeCategory::unknown);
  if (random_.chance(0.9)) wakeTimeLine(at + 0.56);
  if (random_.chance(0.85)) kernelAcks(at + 0.57, "Wake", rates_.maxAckBrackets);
  if (random_.chance(0.3)) pmAcks(at + 0.58, "Wake");
  lines_.add(at + 0.59, "Assertions", "Kernel Idle sleep preventers: IODisplayWrangler", Tail::blank10);
  const auto& kind = tables::kDaytime[0];
  const int pid = kind.pid + bootEpoch_ * 17;
  const std::uint64_t id = (9ULL << 32) | nextId_++;
  const std::string_view lid =
      "com.apple.iohideventsystem.queue.tickle serviceID:100000280 service:AppleACPILid product:(null) eventType:3";
  assertionLine(at + 0.6, pid, kind.process, "Created", kind.type, lid, 0, id);
  const double timeout = random_.uniform(60, 300);
  assertionLine(at + timeout, pid, kind.process, "TimedOut", kind.type, lid, timeout, id);
  summaryLine(at + timeout + 0.01);
}

void TrafficWriter::header(double at, bool firstBoot) {
  if (!firstBoot) {
    std::string since = "Sleep/Wakes since boot at ";
    lines_.appendStamp(since, at);
    since += " :0   Dark Wake Count in this sleep cycle:0";
    lines_.addRaw(at, since);
    lines_.addRaw(at, "");
  }
  lines_.addRaw(at, kHeader);
  lines_.addRaw(at, kRule);
  char uuid[64];
  std::snprintf(uuid, sizeof uuid, "UUID: %08llX-%04X-%04X-%04X-%012llX",
                static_cast<unsigned long long>(random_.next() & 0xFFFFFFFFULL),
                static_cast<unsigned>(random_.integer(0, 0xFFFF)), static_cast<unsigned>(random_.integer(0, 0xFFFF)),
                static_cast<unsigned>(random_.integer(0, 0xFFFF)),
                static_cast<unsigned long long>(random_.next() & 0xFFFFFFFFFFFFULL));
  lines_.addRaw(at, firstBoot ? std::string_view(uuid) : std::string_view("UUID: (null)"));
}

void TrafficWriter::restart(double at) {
  lines_.add(at, "Shutdown Cause", "Cause:5", Tail::durationColumn);
  ++bootEpoch_;
  const double boot = at + random_.uniform(40, 180);
  header(boot, false);
  lines_.add(boot + 0.01, "Start", "powerd process is started", Tail::durationColumn);
  summaryLine(boot + 0.02);
  lines_.add(boot + random_.uniform(2, 8), "Assertions", "Kernel Idle sleep preventers: IODisplayWrangler",
             Tail::blank10);
}

void TrafficWriter::sleepFailure(double at) {
  char message[64];
  std::snprintf(message, sizeof message, "Sleep Failure [code:0x%llX]:",
                static_cast<unsigned long long>(0x111050000000000ULL | (random_.next() & 0xFFFFFFFFFULL)));
  lines_.add(at, "Failure", message);
}

}  // namespace snoozlet::bench
