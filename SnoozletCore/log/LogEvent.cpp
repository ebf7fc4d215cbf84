#include "log/LogEvent.h"

#include "common/Text.h"

namespace snoozlet {

LogDomain LogDomain::fromColumn(std::string_view column) {
  const std::string_view c = text::trimWhitespace(column);
  if (c == "Sleep") return Kind::sleep;
  if (c == "DarkWake") return Kind::darkWake;
  if (c == "Wake") return Kind::wake;
  if (c == "WakeDetails") return Kind::wakeDetails;
  if (c == "Wake Requests") return Kind::wakeRequests;
  if (c == "Assertions") return Kind::assertions;
  if (c == "Notification") return Kind::notification;
  if (text::foldCase(c).find("failure") != std::string::npos) return Kind::failure;
  if (c == "Start" || c.starts_with("Start ")) return Kind::boot;
  if (c.starts_with("Shutdown") || c == "Restart") return Kind::shutdown;
  return other(std::string(c));
}

std::string_view toString(LogDomain::Kind kind) {
  switch (kind) {
    case LogDomain::Kind::other: return "other";
    case LogDomain::Kind::sleep: return "sleep";
    case LogDomain::Kind::darkWake: return "darkWake";
    case LogDomain::Kind::wake: return "wake";
    case LogDomain::Kind::wakeDetails: return "wakeDetails";
    case LogDomain::Kind::wakeRequests: return "wakeRequests";
    case LogDomain::Kind::assertions: return "assertions";
    case LogDomain::Kind::notification: return "notification";
    case LogDomain::Kind::failure: return "failure";
    case LogDomain::Kind::boot: return "boot";
    case LogDomain::Kind::shutdown: return "shutdown";
  }
  return "other";
}

}  // namespace snoozlet
