#include "demo/DemoLog.h"

#include "common/CivilDate.h"
#include "sessions/WakeClassifier.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace snoozlet::DemoLog {

namespace {

// Instants further than this from 1970 (about 300,000 years) are not written:
// their milliseconds would not fit the integer arithmetic of the stamps.
constexpr double kFarthestInstant = 1e13;
constexpr std::size_t kDomainWidth = 20;

// The 64-bit linear congruential generator every demo text is drawn from.
class Generator {
 public:
  double next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;  // 2^53
  }

 private:
  std::uint64_t state_ = 0x5EED;
};

using civil::floorDiv;

void appendInt(std::string& out, long long value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

using civil::appendPadded;

// Writes the civil time of an instant the way a date formatter with the
// POSIX locale does ("yyyy-MM-dd HH:mm:ss", then " Z" as "+0300"): the
// instant is cut to whole milliseconds and sub-second parts are dropped,
// never rounded.
class StampWriter {
 public:
  explicit StampWriter(const TimeZone& zone) : zone_(zone) {}

  // The zone's offset at the whole second that holds the instant.
  int offsetAt(Instant instant) const { return zone_.offsetAt(static_cast<double>(wholeSecond(instant))); }

  // The wall time of the instant at the given offset, with that offset
  // appended when asked.
  void append(std::string& out, Instant instant, int offset, bool withOffset) const {
    civil::appendDateTime(out, wholeSecond(instant) + offset);
    if (withOffset) appendOffset(out, offset);
  }

 private:
  static std::int64_t wholeSecond(Instant instant) {
    return floorDiv(static_cast<std::int64_t>(std::floor(instant * 1000.0)), 1000);
  }

  // "+hhmm", with seconds appended only for offsets that have them.
  static void appendOffset(std::string& out, int offset) {
    out.push_back(' ');
    out.push_back(offset < 0 ? '-' : '+');
    const int magnitude = offset < 0 ? -offset : offset;
    appendPadded(out, magnitude / 3600, 2);
    appendPadded(out, magnitude / 60 % 60, 2);
    if (magnitude % 60 != 0) appendPadded(out, magnitude % 60, 2);
  }

  const TimeZone& zone_;
};

// Appends whole lines: stamp, space, domain padded or cut to 20 characters,
// tab, message.
class LineWriter {
 public:
  explicit LineWriter(const TimeZone& zone) : stamps_(zone) {}

  // Starts a line; the caller appends the message to the returned text and
  // ends it with `end()`.
  std::string& begin(Instant at, std::string_view domain) {
    stamps_.append(out_, at, stamps_.offsetAt(at), true);
    out_.push_back(' ');
    const std::string_view cut = domain.substr(0, std::min(domain.size(), kDomainWidth));
    out_.append(cut);
    out_.append(kDomainWidth - cut.size(), ' ');
    out_.push_back('\t');
    return out_;
  }
  void end() { out_.push_back('\n'); }

  void line(Instant at, std::string_view domain, std::string_view message) {
    begin(at, domain).append(message);
    end();
  }

  // The wall time of `at` without offset, read at the offset in force at
  // `lineAt`: the line's own offset is the one its times are read in.
  void appendWallTime(Instant at, Instant lineAt) { stamps_.append(out_, at, stamps_.offsetAt(lineAt), false); }

  std::string take() { return std::move(out_); }

 private:
  StampWriter stamps_;
  std::string out_;
};

// One dark wake to write.
struct DarkWake {
  Instant at = 0;
  std::size_t wake = 0;  // index into the night's wakes
  long long length = 0;
};

// The instants and lengths of a night's dark wakes, sorted by instant (equal
// instants keep their order).
std::vector<DarkWake> drawDarkWakes(const Night& night, Instant start, double length, Generator& random) {
  std::vector<DarkWake> result;
  for (std::size_t index = 0; index < night.wakes.size(); ++index) {
    const Wake& wake = night.wakes[index];
    for (int i = 0; i < wake.count; ++i) {
      double f = (random.next() + i) / wake.count;
      if (wake.reason == wifi && wake.count > 100) f = f * 0.7 + 0.15 + (random.next() - 0.5) * 0.1;
      if (wake.reason == plug) f = 0.97;
      const Instant at = start + (length - 240) * f + 120;
      double seconds = std::trunc((random.next() + 0.5) * wake.seconds);
      // At least one second; a length that is not a number counts as one.
      if (!(seconds >= 1)) seconds = 1;
      result.push_back({at, index, static_cast<long long>(std::min(seconds, kFarthestInstant))});
    }
  }
  std::stable_sort(result.begin(), result.end(), [](const DarkWake& a, const DarkWake& b) { return a.at < b.at; });
  return result;
}

// Writes the lines of one night that starts at `start` and lasts `length` seconds.
class NightWriter {
 public:
  NightWriter(const Night& night, Instant start, double length, LineWriter& lines, Generator& random)
      : night_(night), start_(start), length_(length), end_(start + length), lines_(lines), random_(random) {}

  void write() {
    const std::vector<DarkWake> darkWakes = drawDarkWakes(night_, start_, length_, random_);
    lines_.line(start_ - 60, "Notification", "Display is turned off");
    std::string& sleep = lines_.begin(start_, "Sleep");
    sleep += "Entering Sleep state due to 'Clamshell Sleep':TCPKeepAlive=active Using Batt (Charge:";
    appendInt(sleep, percentAt(start_));
    sleep += "%) 120 secs";
    lines_.end();
    if (night_.holder) writeHolder(*night_.holder);

    std::vector<WakeCategory> categories;
    for (const Wake& wake : night_.wakes) categories.push_back(WakeClassifier::classify(wake.reason));
    for (const DarkWake& darkWake : darkWakes) writeDarkWake(darkWake, categories[darkWake.wake]);

    std::string& wake = lines_.begin(end_, "Wake");
    wake += "Wake from Deep Idle [CDNVA] : due to ";
    wake += night_.endReason;
    appendPower(wake, end_);
    wake += ')';
    lines_.end();
    lines_.line(end_, "Notification", "Display is turned on");
  }

 private:
  // The charge at an instant, moving evenly from the first to the last value.
  int percentAt(Instant t) const {
    const double f = std::clamp((t - start_) / length_, 0.0, 1.0);
    return static_cast<int>(std::trunc(night_.batteryFrom + f * (night_.batteryTo - night_.batteryFrom)));
  }

  // " Using BATT (Charge:76%" — the caller closes the parenthesis.
  void appendPower(std::string& out, Instant t) const {
    const bool onBattery = !night_.chargerAt || t - start_ < *night_.chargerAt * 3600;
    out += onBattery ? " Using BATT (Charge:" : " Using AC (Charge:";
    appendInt(out, percentAt(t));
    out += '%';
  }

  // Created at a fifth of the night; released after its nominal time, or
  // 30 seconds before the night ends when it would outlast it. The release
  // line always prints the nominal time.
  void writeHolder(const Holder& holder) {
    const double nominal = holder.hours * 3600;
    const long long held = nominal > 0 ? static_cast<long long>(std::trunc(std::min(nominal, kFarthestInstant))) : 0;
    const Instant created = start_ + 0.2 * length_;
    std::string& create = lines_.begin(created, "Assertions");
    create += "PID 812(" + holder.process;
    create +=
        ") Created PreventSystemSleep \"Updating\" 00:00:00  id:0x0x100 [System: DeclUser SRPrevSleep kCPU kDisp]";
    lines_.end();

    char age[64];
    std::snprintf(age, sizeof age, "%02lld:%02lld:%02lld", held / 3600, held % 3600 / 60, held % 60);
    const Instant released = std::min(created + static_cast<double>(held), end_ - 30);
    std::string& release = lines_.begin(released, "Assertions");
    release += "PID 812(" + holder.process;
    release += ") Released PreventSystemSleep \"Updating\" ";
    release += age;
    release += "  id:0x0x100 [System: DeclUser kCPU kDisp]";
    lines_.end();
  }

  void writeDarkWake(const DarkWake& darkWake, WakeCategory category) {
    const std::string& reason = night_.wakes[darkWake.wake].reason;
    if (category == WakeCategory::backgroundTask || category == WakeCategory::maintenance) {
      const bool background = category == WakeCategory::backgroundTask;
      std::string& request = lines_.begin(darkWake.at - 600, "Wake Requests");
      request += background ? "[*process=dasd request=SleepService" : "[*process=mDNSResponder request=Maintenance";
      request += " deltaSecs=600 wakeAt=";
      // Written at the request line's offset, not the offset at the wake:
      // across a clock change the two differ, and the reader would place the
      // wake an hour off and lose its request.
      lines_.appendWallTime(darkWake.at, darkWake.at - 600);
      request += " info=\"";
      if (background) {
        const auto pick = std::min<std::size_t>(static_cast<std::size_t>(random_.next() * 3), 2);
        request += backgroundTaskInfos[pick];
      } else {
        request += "DHCP lease renewal";
      }
      request += "\"]";
      lines_.end();
    }

    std::string& dark = lines_.begin(darkWake.at, "DarkWake");
    dark += "DarkWake from Deep Idle [CDNP] : due to ";
    dark += reason;
    appendPower(dark, darkWake.at);
    dark += ") ";
    appendInt(dark, darkWake.length);
    dark += " secs";
    lines_.end();

    std::string& back = lines_.begin(darkWake.at + static_cast<double>(darkWake.length), "Sleep");
    back += "Entering Sleep state due to 'Maintenance Sleep':TCPKeepAlive=active";
    appendPower(back, darkWake.at);
    back += ") 300 secs";
    lines_.end();
  }

  const Night& night_;
  const Instant start_;
  const double length_;
  const Instant end_;
  LineWriter& lines_;
  Generator& random_;
};

bool writable(Instant instant) { return std::isfinite(instant) && std::fabs(instant) < kFarthestInstant; }

}  // namespace

std::string text(const std::vector<Night>& nights, const TimeZone& timeZone) {
  GregorianCalendar calendar(timeZone);
  LineWriter lines(timeZone);
  Generator random;
  for (const Night& night : nights) {
    const std::optional<Instant> start = calendar.instant(night.start);
    const double length = night.hours * 3600;
    if (!start || !(length > 0) || !writable(*start) || !writable(*start + length)) continue;
    NightWriter(night, *start, length, lines, random).write();
  }
  std::string out = lines.take();
  // Lines are joined with line feeds and one more ends the text, so even a
  // text without nights is a single line feed.
  if (out.empty()) out.push_back('\n');
  return out;
}

namespace {

// One row of the week: the day relative to `endingOn`, the time of going to
// sleep, the length, the charge, the wifi/task/maintenance wakes and an
// optional holder.
struct WeekRow {
  int dayOffset;
  int hour, minute;
  double hours;
  int batteryFrom, batteryTo;
  std::array<std::pair<int, double>, 3> wakes;
  bool plugged;
  const char* holder;
  double holderHours;
};

// The second, fifth and sixth nights began after midnight: they are the
// evenings of days −6, −3 and −2.
constexpr WeekRow kWeek[] = {
    {-7, 23, 12, 7.6, 81, 78, {{{31, 22}, {14, 9}, {6, 12}}}, false, nullptr, 0},
    {-5, 0, 5, 7.1, 64, 62, {{{22, 20}, {12, 8}, {5, 12}}}, false, nullptr, 0},
    {-5, 23, 48, 8.2, 92, 89, {{{40, 24}, {16, 9}, {7, 13}}}, false, nullptr, 0},
    {-4, 23, 31, 8.3, 32, 22, {{{288, 9}, {40, 9}, {16, 14}}}, true, "ShipIt", 0.45},
    {-2, 0, 20, 6.9, 70, 68, {{{26, 21}, {11, 8}, {5, 12}}}, false, nullptr, 0},
    {-1, 1, 2, 7.4, 88, 85, {{{34, 22}, {13, 9}, {6, 13}}}, false, nullptr, 0},
};

// The last night, quiet, restless or sleepless.
constexpr WeekRow kSoundAsleep = {-1, 23, 40, 7.7, 78, 75, {{{27, 21}, {10, 9}, {4, 12}}}, false, nullptr, 0};
constexpr WeekRow kRestless = {-1, 23, 31, 8.0, 64, 55, {{{301, 11}, {38, 9}, {15, 14}}}, false, "ShipIt", 0.4};
constexpr WeekRow kSleepless = {-1, 23, 55, 7.8, 91, 72, {{{412, 14}, {52, 10}, {18, 15}}}, false, "zoom.us", 3.2};

const WeekRow& lastNightRow(Mood mood) {
  switch (mood) {
    case Mood::soundAsleep: return kSoundAsleep;
    case Mood::restless: return kRestless;
    case Mood::sleepless: return kSleepless;
  }
  return kSoundAsleep;
}

Night nightOf(const WeekRow& row, const DateComponents& endingOn, int day) {
  Night night;
  night.start = endingOn;
  night.start.day = day + row.dayOffset;
  night.start.hour = row.hour;
  night.start.minute = row.minute;
  night.hours = row.hours;
  night.batteryFrom = row.batteryFrom;
  night.batteryTo = row.batteryTo;
  const std::string_view reasons[] = {wifi, task, maintenance};
  for (std::size_t i = 0; i < row.wakes.size(); ++i)
    night.wakes.push_back({std::string(reasons[i]), row.wakes[i].first, row.wakes[i].second});
  if (row.plugged) night.wakes.push_back({std::string(plug), 1, 1});
  if (row.holder) night.holder = Holder{row.holder, row.holderHours};
  night.endReason = std::string(lid);
  return night;
}

}  // namespace

std::vector<Night> week(const DateComponents& endingOn, Mood last) {
  const int day = endingOn.day.value_or(1);
  std::vector<Night> nights;
  for (const WeekRow& row : kWeek) nights.push_back(nightOf(row, endingOn, day));
  nights.push_back(nightOf(lastNightRow(last), endingOn, day));
  return nights;
}

}  // namespace snoozlet::DemoLog
