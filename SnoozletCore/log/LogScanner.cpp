#include "log/LogScanner.h"

#include "common/CivilDate.h"
#include "common/Text.h"

#include <algorithm>

namespace snoozlet {

namespace {

// Reads `count` ASCII digits at `p`; false on any other byte.
inline bool digits(const char* p, int count, long long& value) {
  long long v = 0;
  for (int i = 0; i < count; ++i) {
    const unsigned d = static_cast<unsigned char>(p[i]) - static_cast<unsigned>('0');
    if (d > 9) return false;
    v = v * 10 + d;
  }
  value = v;
  return true;
}

// The domain of a printable-ASCII column that is none of the seven named
// ones, by the rules of LogDomain::fromColumn.
LogDomain::Kind asciiOtherDomain(std::string_view column) {
  using K = LogDomain::Kind;
  constexpr std::string_view kFailure = "failure";
  for (std::size_t at = 0; at + kFailure.size() <= column.size(); ++at) {
    std::size_t i = 0;
    while (i < kFailure.size() && (column[at + i] | 0x20) == kFailure[i]) ++i;
    if (i == kFailure.size()) return K::failure;
  }
  if (column == "Start" || column.starts_with("Start ")) return K::boot;
  if (column.starts_with("Shutdown") || column == "Restart") return K::shutdown;
  return K::other;
}

}  // namespace

std::optional<std::pair<Instant, int>> LogScanner::timestamp(std::string_view bytes, std::size_t start) {
  if (start > bytes.size() || bytes.size() - start < 26) return std::nullopt;
  const char* p = bytes.data() + start;
  long long year, month, day, hour, minute, second, offsetHours, offsetMinutes;
  if (!digits(p, 4, year) || !digits(p + 5, 2, month) || !digits(p + 8, 2, day) || !digits(p + 11, 2, hour) ||
      !digits(p + 14, 2, minute) || !digits(p + 17, 2, second) || !digits(p + 21, 2, offsetHours) ||
      !digits(p + 23, 2, offsetMinutes)) {
    return std::nullopt;
  }
  const long long sign = p[20] == '-' ? -1 : 1;
  const long long offset = sign * (offsetHours * 3600 + offsetMinutes * 60);
  const long long seconds = civil::daysFromCivil(year, static_cast<int>(month), static_cast<int>(day)) * 86400 + hour * 3600 + minute * 60 + second - offset;
  return std::pair<Instant, int>(static_cast<Instant>(seconds), static_cast<int>(offset));
}

bool LogScanner::readStamp(std::string_view line, Instant& date, int& offset) {
  if (line.size() < 28) return false;
  const char* p = line.data();
  if (p[4] != '-' || p[7] != '-' || p[10] != ' ' || p[13] != ':' || p[19] != ' ' || p[25] != ' ') return false;
  long long days;
  if (std::memcmp(p, dayText_, 10) == 0) {
    days = dayNumber_;
  } else {
    long long year, month, day;
    if (!digits(p, 4, year) || !digits(p + 5, 2, month) || !digits(p + 8, 2, day)) return false;
    days = civil::daysFromCivil(year, static_cast<int>(month), static_cast<int>(day));
    std::memcpy(dayText_, p, 10);
    dayNumber_ = days;
  }
  long long hour, minute, second, offsetHours, offsetMinutes;
  if (!digits(p + 11, 2, hour) || !digits(p + 14, 2, minute) || !digits(p + 17, 2, second) ||
      !digits(p + 21, 2, offsetHours) || !digits(p + 23, 2, offsetMinutes)) {
    return false;
  }
  const long long sign = p[20] == '-' ? -1 : 1;
  const long long seconds = sign * (offsetHours * 3600 + offsetMinutes * 60);
  date = static_cast<Instant>(days * 86400 + hour * 3600 + minute * 60 + second - seconds);
  offset = static_cast<int>(seconds);
  return true;
}

LogDomain LogScanner::scannerDomain(std::string_view column) {
  using K = LogDomain::Kind;
  // The usual layout pads the column to 20 characters: the named domains are
  // then recognised whole, without trimming the padding a byte at a time.
  if (column.size() == 20) {
    switch (column[0]) {
      case 'A':
        if (column == "Assertions          ") return K::assertions;
        break;
      case 'D':
        if (column == "DarkWake            ") return K::darkWake;
        break;
      case 'N':
        if (column == "Notification        ") return K::notification;
        break;
      case 'S':
        if (column == "Sleep               ") return K::sleep;
        break;
      case 'W':
        if (column == "Wake Requests       ") return K::wakeRequests;
        if (column == "WakeDetails         ") return K::wakeDetails;
        if (column == "Wake                ") return K::wake;
        break;
      default:
        break;
    }
  }
  while (!column.empty() && column.front() == ' ') column.remove_prefix(1);
  while (!column.empty() && column.back() == ' ') column.remove_suffix(1);
  switch (column.size()) {
    case 4:
      if (column == "Wake") return K::wake;
      break;
    case 5:
      if (column == "Sleep") return K::sleep;
      break;
    case 8:
      if (column == "DarkWake") return K::darkWake;
      break;
    case 10:
      if (column == "Assertions") return K::assertions;
      break;
    case 11:
      if (column == "WakeDetails") return K::wakeDetails;
      break;
    case 12:
      if (column == "Notification") return K::notification;
      break;
    case 13:
      if (column == "Wake Requests") return K::wakeRequests;
      break;
    default:
      break;
  }
  // The other columns of real logs (WakeTime, Kernel Client Acks, …) are
  // printable ASCII: sorted here by the same rules as LogDomain::fromColumn,
  // without building the column's text or folding its case.
  if (std::all_of(column.begin(), column.end(), [](char c) { return c >= 0x20 && c <= 0x7E; })) {
    return asciiOtherDomain(column);
  }
  const LogDomain mapped = LogDomain::fromColumn(text::decodeUtf8(column));
  if (mapped.kind() == K::other) return K::other;
  return mapped;
}


void LogScanner::buildMessage(std::string_view bytes, std::string& out) {
  // Messages are padded with spaces: ASCII white space (tabs included, which
  // become spaces below) is dropped before copying; what is left at the ends
  // is trimmed as Unicode white space after.
  while (bytes.size() >= 8 && std::memcmp(bytes.data() + bytes.size() - 8, "        ", 8) == 0) bytes.remove_suffix(8);
  while (!bytes.empty() && text::isAsciiSpace(bytes.back())) bytes.remove_suffix(1);
  while (!bytes.empty() && text::isAsciiSpace(bytes.front())) bytes.remove_prefix(1);
  out.clear();
  text::appendUtf8(out, bytes);
  for (char* tab = static_cast<char*>(std::memchr(out.data(), '\t', out.size())); tab != nullptr;
       tab = static_cast<char*>(std::memchr(tab, '\t', out.size() - static_cast<std::size_t>(tab - out.data())))) {
    *tab = ' ';
  }
  // ASCII ends are not white space any more; only other ends need a look.
  if (out.empty() || (static_cast<unsigned char>(out.front()) < 0x80 && static_cast<unsigned char>(out.back()) < 0x80)) {
    return;
  }
  const std::string_view trimmed = text::trimWhitespace(out);
  if (trimmed.size() != out.size()) {
    const std::size_t begin = static_cast<std::size_t>(trimmed.data() - out.data());
    const std::size_t length = trimmed.size();
    out.erase(0, begin);
    out.resize(length);
  }
}

}  // namespace snoozlet
