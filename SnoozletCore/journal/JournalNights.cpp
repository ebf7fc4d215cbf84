#include "journal/JournalNights.h"

#include "common/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace snoozlet {

namespace {

// What asked for a sleep is its reason when the sleep starts this soon after.
constexpr double kTriggerWindow = 120;
// A failure line written late (the kernel's) still belongs to an attempt that
// failed this long before.
constexpr double kLateFailureWindow = 60;
// The charger explains a wake when it was plugged in this close to it.
constexpr double kChargerWindow = 60;
// The reading after a session's end that still tells its level on waking.
constexpr double kReadingAfterEnd = 600;

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

std::string lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
  return out;
}

// Syslog copies keep the kernel's "[ 4418.792164] " in the message.
std::string_view withoutKernelClock(std::string_view message) {
  if (message.empty() || message.front() != '[') return message;
  const auto close = message.find("] ");
  if (close == std::string_view::npos || close > 20) return message;
  return message.substr(close + 2);
}

// "suspend requested from client PID 1234 ('gnome-shell')" → "gnome-shell".
std::optional<std::string> requester(std::string_view message) {
  if (!contains(message, "requested from client PID")) return std::nullopt;
  const auto open = message.find("('");
  const auto close = message.rfind("')");
  if (open == std::string_view::npos || close == std::string_view::npos || close <= open + 2) return std::string("?");
  return std::string(message.substr(open + 2, close - open - 2));
}

}  // namespace

std::vector<BatteryPoint> parseUPowerHistory(std::string_view text) {
  std::vector<BatteryPoint> points;
  while (!text.empty()) {
    const auto newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    const auto tab1 = line.find('\t');
    const auto tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos) continue;
    long long seconds = 0;
    const std::string_view time = line.substr(0, tab1);
    if (auto [end, error] = std::from_chars(time.data(), time.data() + time.size(), seconds);
        error != std::errc() || end != time.data() + time.size() || seconds <= 0) {
      continue;
    }
    const auto value = text::parseDouble(line.substr(tab1 + 1, tab2 - tab1 - 1));
    if (!value || !std::isfinite(*value) || *value < 0 || *value > 999) continue;
    std::string_view state = line.substr(tab2 + 1);
    while (!state.empty() && (state.back() == '\r' || state.back() == ' ')) state.remove_suffix(1);
    const bool onAC = state != "discharging" && state != "unknown";
    points.push_back({static_cast<Instant>(seconds), static_cast<int>(std::lround(*value)), onAC});
  }
  std::stable_sort(points.begin(), points.end(),
                   [](const BatteryPoint& a, const BatteryPoint& b) { return a.date < b.date; });
  return points;
}

WakeCategory classifyLinuxWake(std::string_view text) {
  struct Rule {
    std::string_view part;
    WakeCategory category;
  };
  // Checked in order: the first part found in the lower-cased text decides.
  static constexpr std::array<Rule, 22> kRules{{
      {"lid", WakeCategory::lid},
      {"pnp0c0d", WakeCategory::lid},
      {"power key", WakeCategory::user},
      {"power button", WakeCategory::user},
      {"pnp0c0c", WakeCategory::user},
      {"keyboard", WakeCategory::user},
      {"i8042", WakeCategory::user},
      {"charger", WakeCategory::power},
      {"acpi0003", WakeCategory::power},
      {"ac adapter", WakeCategory::power},
      {"rtc", WakeCategory::scheduled},
      {"alarm", WakeCategory::scheduled},
      {"timer", WakeCategory::scheduled},
      {"wake-on-lan", WakeCategory::networkAccess},
      {"magic packet", WakeCategory::networkAccess},
      {"wol", WakeCategory::networkAccess},
      {"wlan", WakeCategory::network},
      {"wifi", WakeCategory::network},
      {"iwlwifi", WakeCategory::network},
      {"bluetooth", WakeCategory::network},
      {"xhci", WakeCategory::usb},
      {"usb", WakeCategory::usb},
  }};
  const std::string text_ = lower(text);
  for (const Rule& rule : kRules) {
    if (contains(text_, rule.part)) return rule.category;
  }
  return WakeCategory::unknown;
}

void JournalNights::add(const JournalEntry& entry) {
  if (!coveredFrom_) coveredFrom_ = entry.date;
  coveredTo_ = std::max(coveredTo_.value_or(entry.date), entry.date);

  if (!entry.bootId.empty() && !bootId_.empty() && entry.bootId != bootId_) {
    // A new boot: a sleep that had resumed ended then; one that had not never
    // came back, and lasted until the machine started again.
    if (open_ && open_->resumed) {
      closeResumed();
    } else if (open_) {
      open_->session.end = std::max(open_->session.start, entry.date);
      open_->session.ending = SessionEnd::shutdown();
      closed_.push_back(std::move(open_->session));
      open_.reset();
    }
    trigger_.reset();
    pendingFailures_.clear();
    activeWakeSource_.reset();
  }
  if (!entry.bootId.empty()) bootId_ = entry.bootId;

  const std::string_view message = entry.message;
  if (entry.messageId == kSleepStartId) {
    start(entry, trigger_ && entry.date - trigger_->first <= kTriggerWindow ? trigger_->second : "?", true);
  } else if (entry.messageId == kSleepStopId) {
    if (fromOtherProcess(entry)) {
      // An end whose start was never seen: neither it nor the open sleep
      // tells when that sleep ended.
      endUnseen();
      if (startsWith(message, "Failed")) {
        failedAttempts_.push_back({entry.date, entry.message});
        pendingFailures_.push_back({entry.date, entry.message});
      }
    } else if (startsWith(message, "Failed")) {
      fail(entry, entry.message);
    } else {
      resume(entry);
    }
  } else if (entry.kernel) {
    const std::string_view text = withoutKernelClock(message);
    if (contains(text, "Woke up from IRQ") || contains(text, "Triggering wakeup from IRQ")) {
      noteCause(std::string(text), classifyLinuxWake(text));
    } else if (startsWith(text, "PM: active wakeup source: ")) {
      activeWakeSource_ = std::string(text.substr(26));
      noteCause(std::string(text), classifyLinuxWake(*activeWakeSource_));
      // Printed just after "Wakeup pending, aborting suspend": it names what
      // stopped the attempt.
      if (!failedAttempts_.empty() && entry.date - failedAttempts_.back().date <= kLateFailureWindow) {
        for (std::vector<SleepFailure>* list : {&failedAttempts_, &pendingFailures_}) {
          for (SleepFailure& failure : *list) {
            if (contains(failure.message, "Wakeup pending") && !contains(failure.message, "wakeup source")) {
              failure.message += " (active wakeup source: " + *activeWakeSource_ + ")";
            }
          }
        }
      }
    } else if (contains(text, "Wakeup pending, aborting suspend")) {
      fail(entry, activeWakeSource_ ? std::string(text) + " (active wakeup source: " + *activeWakeSource_ + ")"
                                    : std::string(text));
    } else if (startsWith(text, "PM: suspend entry") || startsWith(text, "PM: hibernation entry")) {
      // Only for a journal without systemd-sleep's or logind's start: the
      // kernel's own stamp is the best there is then.
      if (!open_) start(entry, trigger_ ? trigger_->second : "?", false);
    } else if (startsWith(text, "PM: suspend exit") || startsWith(text, "PM: hibernation exit")) {
      if (open_ && !open_->resumed && !open_->fromSleepd) resume(entry);
    }
  } else if (entry.identifier == "systemd-logind") {
    if (message == "Lid closed.") {
      trigger_ = {entry.date, "Lid closed"};
    } else if (startsWith(message, "Suspend key pressed") || startsWith(message, "Hibernate key pressed")) {
      trigger_ = {entry.date, std::string(message.substr(0, message.find(" key"))) + " key pressed"};
    } else if (auto name = requester(message)) {
      trigger_ = {entry.date, "Requested by " + *name};
    } else if (contains(message, "System is idle") || contains(message, "System idle")) {
      trigger_ = {entry.date, "Idle"};
    } else if (message == "Suspending..." || message == "Hibernating..." ||
               startsWith(message, "The system will suspend") || startsWith(message, "The system will hibernate")) {
      start(entry, trigger_ && entry.date - trigger_->first <= kTriggerWindow ? trigger_->second : "?", false);
    } else if (message == "Lid opened.") {
      noteCause("Lid opened", WakeCategory::lid);
      if (open_) open_->userSeen = true;
      if (open_ && !open_->resumed && !open_->fromSleepd) resume(entry);
    } else if (startsWith(message, "Power key pressed")) {
      noteCause("Power key pressed", WakeCategory::user);
      if (open_) open_->userSeen = true;
      if (open_ && !open_->resumed && !open_->fromSleepd) resume(entry);
    } else if (startsWith(message, "Operation 'sleep' finished") ||
               startsWith(message, "Operation 'suspend' finished")) {
      if (open_ && !open_->resumed && !open_->fromSleepd) resume(entry);
    }
  }
}

void JournalNights::start(const JournalEntry& entry, std::string reason, bool fromSleepd) {
  if (open_ && open_->resumed) {
    const double gap = entry.date - *open_->resumed;
    if (gap <= kDarkWakeGap && !open_->userSeen) {
      // Back to sleep without anyone opening the lid: a dark wake.
      DarkWakeEvent wake;
      wake.date = *open_->resumed;
      wake.duration = std::max(0.0, gap);
      wake.reason = *open_->wokeUp().reason();
      open_->session.darkWakes.push_back(std::move(wake));
      // The next end comes from the process that starts this sleep: this
      // one, or for logind's start the systemd-sleep entry that follows it.
      open_->fromSleepd = fromSleepd;
      open_->pid = fromSleepd ? entry.pid : 0;
      open_->resumed.reset();
      open_->cause.reset();
      open_->causeCategory.reset();
      trigger_.reset();
      return;
    }
    closeResumed();
  } else if (open_ && fromSleepd && open_->fromSleepd && (open_->pid == 0 || open_->pid != entry.pid)) {
    // A second systemd-sleep process started a sleep: the machine was awake
    // to begin it, so the open sleep ended unseen.
    endUnseen();
  } else if (open_) {
    // logind's "Suspending..." comes a moment before systemd-sleep's entry,
    // which dates the sleep.
    if (fromSleepd && !open_->fromSleepd) {
      if (open_->session.darkWakes.empty()) open_->session.start = open_->session.end = entry.date;
      open_->fromSleepd = true;
      open_->pid = entry.pid;
    }
    return;
  }
  Open next;
  next.session.start = entry.date;
  next.session.end = entry.date;
  next.session.sleepReason = std::move(reason);
  next.session.failures = std::move(pendingFailures_);
  pendingFailures_.clear();
  next.fromSleepd = fromSleepd;
  if (fromSleepd) next.pid = entry.pid;
  open_ = std::move(next);
  trigger_.reset();
  activeWakeSource_.reset();
}

void JournalNights::resume(const JournalEntry& entry) {
  // An end with no start (the journal begins mid-sleep) tells nothing usable.
  if (!open_ || open_->resumed) return;
  // Clocks can step back (a time sync after resume): never before the start.
  open_->resumed = open_->session.end = std::max(open_->session.start, entry.date);
}

void JournalNights::fail(const JournalEntry& entry, std::string message) {
  const SleepFailure failure{entry.date, std::move(message)};
  if (open_ && !open_->resumed) {
    // The attempt never slept. A session that was already asleep before it
    // (back after a dark wake) ends where the failed attempt began.
    failedAttempts_.push_back(failure);
    if (!open_->session.darkWakes.empty()) {
      open_->session.failures.push_back(failure);
      open_->resumed = open_->session.end = open_->session.darkWakes.back().date;
      open_->session.darkWakes.pop_back();
      closeResumed();
    } else {
      pendingFailures_ = std::move(open_->session.failures);
      pendingFailures_.push_back(failure);
      open_.reset();
    }
    return;
  }
  // A line written after the attempt was over (the kernel flushes late).
  if (!failedAttempts_.empty() && entry.date - failedAttempts_.back().date <= kLateFailureWindow) {
    failedAttempts_.push_back(failure);
    pendingFailures_.push_back(failure);
  }
}

SessionEnd JournalNights::Open::wokeUp() const {
  return SessionEnd::fullWake(
      WakeReason(Shared<std::string>(cause.value_or("?")), causeCategory.value_or(WakeCategory::unknown)));
}

void JournalNights::closeResumed() {
  open_->session.ending = open_->wokeUp();
  closed_.push_back(std::move(open_->session));
  open_.reset();
}

void JournalNights::endUnseen() {
  open_.reset();
  trigger_.reset();
  activeWakeSource_.reset();
}

bool JournalNights::fromOtherProcess(const JournalEntry& entry) const {
  return open_ && open_->fromSleepd && open_->pid != 0 && entry.pid != 0 && open_->pid != entry.pid;
}

void JournalNights::noteCause(std::string text, WakeCategory category) {
  if (!open_) return;
  // The lid or a key tells more than an interrupt; an interrupt with its
  // handler's name ("Woke up from IRQ 9 (ACPI SCI)") more than its number.
  const auto rank = [](std::string_view t, WakeCategory c) {
    return c != WakeCategory::unknown ? 2 : contains(t, "(") ? 1 : 0;
  };
  if (!open_->cause || rank(text, category) > rank(*open_->cause, *open_->causeCategory)) {
    open_->cause = std::move(text);
    open_->causeCategory = category;
  }
}

std::vector<SleepSession> JournalNights::sessions(const std::vector<BatteryPoint>& battery) const {
  std::vector<SleepSession> out = closed_;
  if (open_) {
    SleepSession ongoing = open_->session;
    if (open_->resumed) {
      ongoing.ending = open_->wokeUp();
    } else {
      ongoing.end = std::max(ongoing.start, coveredTo_.value_or(ongoing.start));
      ongoing.ending = SessionEnd::ongoing();
    }
    out.push_back(std::move(ongoing));
  }
  if (battery.empty()) return out;
  for (SleepSession& session : out) {
    const auto firstAfterStart = std::upper_bound(battery.begin(), battery.end(), session.start,
                                                  [](Instant t, const BatteryPoint& p) { return t < p.date; });
    if (firstAfterStart != battery.begin()) {
      BatteryPoint before = *std::prev(firstAfterStart);
      before.date = session.start;
      session.battery.push_back(before);
    }
    auto it = firstAfterStart;
    for (; it != battery.end() && it->date < session.end; ++it) session.battery.push_back(*it);
    if (session.ending.kind() == SessionEnd::Kind::fullWake && it != battery.end() &&
        it->date <= session.end + kReadingAfterEnd) {
      session.battery.push_back(*it);
    }
    // A wake nothing else explains, with the charger plugged in at that moment.
    if (session.ending.kind() == SessionEnd::Kind::fullWake &&
        session.ending.reason()->category == WakeCategory::unknown) {
      bool wasOnBattery = false;
      for (const BatteryPoint& p : battery) {
        if (p.date > session.end + kChargerWindow) break;
        if (p.date >= session.end - kChargerWindow && p.onAC && wasOnBattery) {
          session.ending =
              SessionEnd::fullWake(WakeReason(Shared<std::string>("Charger connected"), WakeCategory::power));
          break;
        }
        wasOnBattery = !p.onAC;
      }
    }
  }
  return out;
}

}  // namespace snoozlet
