#include "sessions/SessionBuilder.h"

#include "log/PowerLogParser.h"
#include "sessions/WakeClassifier.h"

#include <algorithm>
#include <cmath>

namespace snoozlet {

namespace {

bool isRequestCategory(WakeCategory category) {
  return category == WakeCategory::backgroundTask || category == WakeCategory::maintenance ||
         category == WakeCategory::scheduled;
}

}  // namespace

std::string_view toString(SessionEnd::Kind kind) {
  switch (kind) {
    case SessionEnd::Kind::fullWake: return "fullWake";
    case SessionEnd::Kind::shutdown: return "shutdown";
    case SessionEnd::Kind::ongoing: return "ongoing";
  }
  return "ongoing";
}

bool SessionBuilder::wants(const LogDomain& domain) const {
  using K = LogDomain::Kind;
  switch (domain.kind()) {
    case K::sleep:
    case K::darkWake:
    case K::wake:
    case K::wakeRequests:
    case K::failure:
    case K::boot:
    case K::shutdown:
      return true;
    case K::assertions:
      return current_.has_value();
    default:
      return false;
  }
}

void SessionBuilder::consume(const LogEvent& event) {
  lastEventDate_ = event.date;
  using K = LogDomain::Kind;
  switch (event.domain.kind()) {
    case K::sleep:
      onSleep(event);
      break;
    case K::darkWake:
      onDarkWake(event);
      break;
    case K::wake:
      if (current_) {
        WakeReason reason = reasonFor(PowerLogParser::dueReason(event));
        close(event.date, SessionEnd::fullWake(std::move(reason)), PowerLogParser::battery(event));
      }
      break;
    case K::boot:
    case K::shutdown:
      close(event.date, SessionEnd::shutdown(), std::nullopt);
      break;
    case K::wakeRequests:
      onWakeRequests(event);
      break;
    case K::failure:
      if (current_) current_->failures.push_back({event.date, event.message});
      break;
    case K::assertions:
      if (current_) onAssertion(event);
      break;
    default:
      break;
  }
}

void SessionBuilder::openDraft(Instant start, bool partial) {
  // Assigned rather than emplaced: clang cannot default-construct a nested
  // aggregate with member initializers through std::optional's constraints.
  current_ = Draft{};
  current_->start = start;
  current_->isPartial = partial;
}

void SessionBuilder::onSleep(const LogEvent& event) {
  if (!current_) {
    openDraft(event.date, false);
    if (auto entry = PowerLogParser::sleepEntry(event)) {
      current_->sleepReason = std::move(entry->reason);
      current_->tcpKeepAlive = std::move(entry->tcpKeepAlive);
    }
  }
  if (auto point = PowerLogParser::battery(event)) current_->battery.push_back(*point);
}

void SessionBuilder::onDarkWake(const LogEvent& event) {
  if (!current_) openDraft(event.date, true);
  DarkWakeEvent wake;
  wake.date = event.date;
  wake.duration = PowerLogParser::seconds(event);
  wake.reason = reasonFor(PowerLogParser::dueReason(event));
  wake.battery = PowerLogParser::battery(event);
  if (firedRequest_ && firedRequest_->wakeAt && std::fabs(*firedRequest_->wakeAt - event.date) <= kRequestWindow &&
      isRequestCategory(wake.reason.category)) {
    wake.request = std::move(firedRequest_);
    firedRequest_.reset();
  }
  if (wake.battery) current_->battery.push_back(*wake.battery);
  current_->darkWakes.push_back(std::move(wake));
}

WakeReason SessionBuilder::reasonFor(std::string raw) {
  constexpr std::size_t kRemembered = 16;
  for (std::size_t i = 0; i < recentReasons_.size(); ++i) {
    if (recentReasons_[i].raw.get() == raw) {
      std::rotate(recentReasons_.begin(), recentReasons_.begin() + static_cast<std::ptrdiff_t>(i),
                  recentReasons_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      return recentReasons_.front();
    }
  }
  WakeReason reason(std::move(raw));
  if (recentReasons_.size() == kRemembered) recentReasons_.pop_back();
  recentReasons_.insert(recentReasons_.begin(), reason);
  return reason;
}

void SessionBuilder::onWakeRequests(const LogEvent& event) {
  if (auto fired = PowerLogParser::firedRequest(event)) firedRequest_ = std::move(fired);
}

void SessionBuilder::onAssertion(const LogEvent& event) {
  if (const auto assertion = PowerLogParser::assertionView(event)) {
    current_->holders.account(*assertion, current_->start);
  } else if (event.message.starts_with("Summary-")) {
    if (auto point = PowerLogParser::battery(event)) current_->battery.push_back(*point);
  }
}

SleepSession SessionBuilder::makeSession(Draft draft, Instant end, SessionEnd ending) {
  SleepSession session;
  session.start = draft.start;
  session.end = end;
  session.ending = std::move(ending);
  session.sleepReason = std::move(draft.sleepReason);
  session.tcpKeepAlive = std::move(draft.tcpKeepAlive);
  session.battery = std::move(draft.battery);
  std::stable_sort(session.battery.begin(), session.battery.end(),
                   [](const BatteryPoint& a, const BatteryPoint& b) { return a.date < b.date; });
  session.darkWakes = std::move(draft.darkWakes);
  session.holders = draft.holders.groups(end);
  session.failures = std::move(draft.failures);
  // Closed sessions are kept for as long as the log covers them: no slack.
  session.battery.shrink_to_fit();
  session.darkWakes.shrink_to_fit();
  session.isPartial = draft.isPartial;
  return session;
}

void SessionBuilder::close(Instant at, SessionEnd ending, std::optional<BatteryPoint> battery) {
  if (!current_) return;
  if (battery) current_->battery.push_back(*battery);
  closed_.push_back(makeSession(std::move(*current_), at, std::move(ending)));
  current_.reset();
}

std::optional<SleepSession> SessionBuilder::ongoingSession() const {
  if (!current_ || !lastEventDate_) return std::nullopt;
  return makeSession(*current_, std::max(current_->start, *lastEventDate_), SessionEnd::ongoing());
}

std::vector<SleepSession> SessionBuilder::sessions() const {
  std::vector<SleepSession> out = closed_;
  if (auto ongoing = ongoingSession()) out.push_back(std::move(*ongoing));
  return out;
}

std::vector<SleepSession> SessionBuilder::takeSessions() && {
  auto ongoing = ongoingSession();
  std::vector<SleepSession> out = std::move(closed_);
  if (ongoing) out.push_back(std::move(*ongoing));
  return out;
}

void SessionBuilder::prune(Instant before) {
  std::erase_if(closed_, [before](const SleepSession& s) { return s.end < before; });
}

std::vector<SleepSession> SessionBuilder::sessions(const std::vector<LogEvent>& events) {
  SessionBuilder builder;
  for (const auto& event : events) {
    if (builder.wants(event.domain)) builder.consume(event);
  }
  return std::move(builder).takeSessions();
}

}  // namespace snoozlet
