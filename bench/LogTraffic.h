#pragma once

// The traffic a real power log carries besides the sleep and wake lines:
// assertions created and released by many processes while the Mac is in use,
// display on/off notifications, the acknowledgement, wake-detail and
// wake-time lines around every wake, wake-request lists after every sleep,
// and the occasional sleep failure and restart. The session lines themselves
// come from DemoLog; this writer adds what happens around and between them.

#include "LogLines.h"
#include "sessions/WakeCategory.h"

#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::bench {

// The charge over time: straight lines between known points (the start and
// end of every night and nap); rising stretches are on the charger.
class BatteryCurve {
 public:
  void add(double at, int percent);
  int percentAt(double at) const;
  bool onAC(double at) const;

 private:
  struct Point {
    double at;
    int percent;
  };
  // The points before and after `at` (the nearest one twice at the ends).
  std::pair<Point, Point> around(double at) const;
  std::vector<Point> points_;
};

// How busy a machine is. The defaults are an ordinary laptop in daily use.
struct TrafficRates {
  // Assertion episodes (a create and its release) per awake hour.
  double assertionsPerHour = 14;
  // Mean minutes between two display sleeps while awake.
  double displayCycleMinutes = 20;
  // Chances of each companion line around a dark wake.
  double wakeAcks = 0.4;
  double wakeDetails = 0.75;
  double wakeTime = 0.9;
  double sleepAcks = 0.3;
  double wakeRequests = 0.75;
  double darkWakeAssertions = 0.35;
  // Longest kernel acknowledgement line, in brackets of about 70 bytes.
  int maxAckBrackets = 48;
};

class TrafficWriter {
 public:
  TrafficWriter(LineBuffer& lines, Random& random, const BatteryCurve& battery, TrafficRates rates);

  // Daytime use between `from` and `to`: assertion churn of many processes,
  // display sleeps, inactivity-window notifications.
  void awake(double from, double to);
  // Around the display turning off before a night or nap.
  void displayOffBeforeSleep(double at);
  // After the line that puts the machine to sleep for a night or nap.
  void afterSessionSleep(double at);
  // Around a dark wake of `seconds` that began at `at`.
  void darkWake(double at, double seconds, WakeCategory category);
  // After the line of the maintenance sleep that ends a dark wake.
  void afterMaintenanceSleep(double at);
  // After the full wake that ends a night or nap.
  void fullWake(double at);
  // A restart: the shutdown line, the header block powerd writes when it
  // starts again, and the first lines after boot. New process ids follow.
  void restart(double at);
  // A sleep failure reported right after a sleep attempt.
  void sleepFailure(double at);
  // The column header and UUID line at the top of the log.
  void header(double at, bool firstBoot);

 private:
  struct Active {
    std::size_t kind;
    int pid;
    std::string name;
    std::uint64_t id;
    double created;
    double ends;
  };

  void assertionLine(double at, int pid, std::string_view process, std::string_view action, std::string_view type,
                     std::string_view name, double age, std::uint64_t id);
  void summaryLine(double at);
  void episode(double at, double until, std::vector<Active>& active);
  void displayCycle(double off, double on, const std::vector<Active>& active);
  void kernelAcks(double at, std::string_view what, int maxBrackets);
  void pmAcks(double at, std::string_view what);
  void wakeRequestLine(double at);
  void wakeDetailsLine(double at, WakeCategory category);
  void wakeTimeLine(double at);
  void inactivityWindow(double at);
  std::string processName(std::string_view pattern);
  std::string_view systemFlags();
  int pidOf(std::size_t process) const;

  LineBuffer& lines_;
  Random& random_;
  const BatteryCurve& battery_;
  TrafficRates rates_;
  std::uint64_t nextId_ = 0x80a0;
  int bootEpoch_ = 0;
  std::string scratch_;
};

}  // namespace snoozlet::bench
