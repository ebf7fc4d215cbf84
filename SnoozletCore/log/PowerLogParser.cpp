#include "log/PowerLogParser.h"

#include "common/Text.h"
#include "log/LinePatterns.h"

#include <cstring>
#include <string>

namespace snoozlet::PowerLogParser {

namespace {

// Byte classes of the patterns: RE2's \d, \w and \s are ASCII.
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isWord(char c) { return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
inline bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

// The end of the run of characters from `i` that satisfy `test`.
template <typename Test>
std::size_t runEnd(std::string_view s, std::size_t i, Test test) {
  while (i < s.size() && test(s[i])) ++i;
  return i;
}

bool startsAt(std::string_view s, std::size_t i, std::string_view literal) {
  return i <= s.size() && s.substr(i).starts_with(literal);
}

// One of "AC", "BATT", "Batt", "UPS" at `i`: its length, or 0.
std::size_t powerSource(std::string_view s, std::size_t i) {
  for (std::string_view source : {"AC", "BATT", "Batt", "UPS"})
    if (startsAt(s, i, source)) return source.size();
  return 0;
}

// The bracket "[*process=… request=… deltaSecs=… wakeAt=… info="…"]" that
// begins at `at`; its end (one past "]") or npos.
std::size_t wakeRequestAt(std::string_view m, std::size_t at, const LogEvent& event, WakeRequest* out) {
  std::size_t i = at + 1;
  const bool fired = i < m.size() && m[i] == '*';
  if (fired) ++i;
  if (!startsAt(m, i, "process=")) return std::string_view::npos;
  const std::size_t processStart = i + 8;
  i = runEnd(m, processStart, [](char c) { return !isSpace(c); });
  if (i == processStart || !startsAt(m, i, " request=")) return std::string_view::npos;
  const std::size_t processEnd = i, kindStart = i + 9;
  i = runEnd(m, kindStart, [](char c) { return !isSpace(c); });
  if (i == kindStart || !startsAt(m, i, " deltaSecs=")) return std::string_view::npos;
  const std::size_t kindEnd = i, deltaStart = i + 11;
  i = runEnd(m, deltaStart, isDigit);
  if (i == deltaStart || !startsAt(m, i, " wakeAt=")) return std::string_view::npos;
  const std::size_t dateStart = i + 8;
  if (m.size() - std::min(m.size(), dateStart) < 19) return std::string_view::npos;
  static constexpr char kShape[] = "dddd-dd-dd dd:dd:dd";
  for (std::size_t k = 0; k < 19; ++k) {
    const char c = m[dateStart + k];
    if (kShape[k] == 'd' ? !isDigit(c) : c != kShape[k]) return std::string_view::npos;
  }
  i = dateStart + 19;
  std::optional<std::string_view> info;
  if (startsAt(m, i, " info=\"")) {
    const std::size_t infoStart = i + 7;
    const std::size_t quote = m.find('"', infoStart);
    if (quote != std::string_view::npos && quote + 1 < m.size() && m[quote + 1] == ']') {
      info = m.substr(infoStart, quote - infoStart);
      i = quote + 1;
    }
  }
  if (i >= m.size() || m[i] != ']') return std::string_view::npos;
  if (out == nullptr) return i + 1;
  out->fired = fired;
  out->process.assign(m.substr(processStart, processEnd - processStart));
  out->kind.assign(m.substr(kindStart, kindEnd - kindStart));
  out->info = info ? std::optional<std::string>(std::string(*info)) : std::nullopt;
  out->wakeAt = wakeDate(m.substr(dateStart, 19), event.utcOffset);
  return i + 1;
}

// Position of the last `" <digits>:<dd>:<dd>` (the quote), or npos.
std::size_t lastTimedQuote(std::string_view m) {
  for (std::size_t q = m.rfind('"'); q != std::string_view::npos; q = q == 0 ? std::string_view::npos : m.rfind('"', q - 1)) {
    std::size_t i = q + 1;
    if (i >= m.size() || m[i] != ' ') continue;
    const std::size_t hours = runEnd(m, i + 1, isDigit);
    if (hours == i + 1 || hours + 6 > m.size()) continue;
    if (m[hours] == ':' && isDigit(m[hours + 1]) && isDigit(m[hours + 2]) && m[hours + 3] == ':' &&
        isDigit(m[hours + 4]) && isDigit(m[hours + 5])) {
      return q;
    }
  }
  return std::string_view::npos;
}

// A run of ASCII digits as a number: exact integer arithmetic for up to 15
// digits, the usual conversion beyond (the same value either way).
std::optional<double> digitsValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 15) return text::parseDouble(digits);
  long long value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return static_cast<double>(value);
}

constexpr std::string_view kActions[] = {"Created",    "Released",  "TimedOut",  "Summary",
                                         "ClientDied", "Restarted", "TurnedOff", "TurnedOn"};

}  // namespace

std::optional<BatteryPoint> battery(const LogEvent& event) {
  const std::string_view m = event.message;
  if (m.find("Charge") == std::string_view::npos) return std::nullopt;
  // The leftmost "Using <source> (Charge: <1–3 digits>%)" that matches.
  for (std::size_t u = m.find("Using "); u != std::string_view::npos; u = m.find("Using ", u + 1)) {
    std::size_t i = u + 6;
    const std::size_t source = powerSource(m, i);
    if (source == 0) continue;
    const bool onAC = source == 2;
    i += source;
    if (i < m.size() && m[i] == ' ') ++i;
    if (!startsAt(m, i, "(Charge:")) continue;
    i += 8;
    if (i < m.size() && m[i] == ' ') ++i;
    const std::size_t digitsEnd = runEnd(m, i, isDigit);
    if (digitsEnd == i || digitsEnd - i > 3) continue;
    std::size_t close = digitsEnd;
    if (close < m.size() && m[close] == '%') ++close;
    if (close >= m.size() || m[close] != ')') continue;
    const auto percent = text::parseInteger(m.substr(i, digitsEnd - i));
    if (!percent) return std::nullopt;
    return BatteryPoint{event.date, static_cast<int>(*percent), onAC};
  }
  return std::nullopt;
}

std::optional<double> seconds(const LogEvent& event) {
  const std::string_view m = event.message;
  if (!m.ends_with(" secs")) return std::nullopt;
  const std::size_t end = m.size() - 5;
  std::size_t start = end;
  while (start > 0 && isDigit(m[start - 1])) --start;
  if (start == end) return std::nullopt;
  return digitsValue(m.substr(start, end - start));
}

std::optional<SleepEntry> sleepEntry(const LogEvent& event) {
  const std::string_view m = event.message;
  for (std::size_t e = m.find("Entering "); e != std::string_view::npos; e = m.find("Entering ", e + 1)) {
    std::size_t i = e + 9;
    std::string_view kind;
    if (startsAt(m, i, "Sleep")) {
      kind = "Sleep";
    } else if (startsAt(m, i, "DarkWake")) {
      kind = "DarkWake";
    } else {
      continue;
    }
    i += kind.size();
    if (!startsAt(m, i, " state due to '")) continue;
    const std::size_t reasonStart = i + 15;
    const std::size_t quote = m.find('\'', reasonStart);
    if (quote == std::string_view::npos) continue;
    SleepEntry entry{std::string(kind), std::string(m.substr(reasonStart, quote - reasonStart)), std::nullopt};
    i = quote + 1;
    if (startsAt(m, i, ":TCPKeepAlive=")) {
      const std::size_t wordStart = i + 14, wordEnd = runEnd(m, wordStart, isWord);
      if (wordEnd > wordStart) entry.tcpKeepAlive = std::string(m.substr(wordStart, wordEnd - wordStart));
    }
    return entry;
  }
  return std::nullopt;
}

std::string dueReason(const LogEvent& event) {
  const std::string_view m = event.message;
  const std::size_t at = m.find("due to ");
  if (at == std::string_view::npos) return event.message;
  if (m.find('\n', at) != std::string_view::npos) return patterns::dueReason(event);
  const std::size_t start = at + 7;
  // The reason stops at the first " Using <source>", or where only white
  // space is left.
  std::size_t end = m.size();
  while (end > start && isSpace(m[end - 1])) --end;
  for (std::size_t u = m.find(" Using ", start); u != std::string_view::npos && u < end; u = m.find(" Using ", u + 1)) {
    if (powerSource(m, u + 7) != 0) {
      end = u;
      break;
    }
  }
  return std::string(text::trimWhitespace(m.substr(start, end - start)));
}

std::vector<WakeRequest> wakeRequests(const LogEvent& event) {
  std::vector<WakeRequest> requests;
  const std::string_view m = event.message;
  if (m.find("process=") == std::string_view::npos) return requests;
  WakeRequest request;
  for (std::size_t at = m.find('['); at != std::string_view::npos;) {
    const std::size_t end = wakeRequestAt(m, at, event, &request);
    if (end == std::string_view::npos) {
      at = m.find('[', at + 1);
    } else {
      requests.push_back(std::move(request));
      request = WakeRequest();
      at = m.find('[', end);
    }
  }
  return requests;
}

std::optional<WakeRequest> firedRequest(const LogEvent& event) {
  const std::string_view m = event.message;
  if (m.find("[*process=") == std::string_view::npos) return std::nullopt;
  // Brackets are read in order without overlap, as wakeRequests does; only
  // the fired one is copied out.
  WakeRequest request;
  for (std::size_t at = m.find('['); at != std::string_view::npos;) {
    const bool fired = at + 1 < m.size() && m[at + 1] == '*';
    const std::size_t end = wakeRequestAt(m, at, event, fired ? &request : nullptr);
    if (end == std::string_view::npos) {
      at = m.find('[', at + 1);
    } else if (fired) {
      return request;
    } else {
      at = m.find('[', end);
    }
  }
  return std::nullopt;
}

std::optional<AssertionEvent> assertion(const LogEvent& event) {
  const auto view = assertionView(event);
  return view ? std::optional<AssertionEvent>(view->owned()) : std::nullopt;
}

std::optional<AssertionView> assertionView(const LogEvent& event) {
  const std::string_view m = event.message;
  if (!m.starts_with("PID ")) return std::nullopt;
  if (m.find('\n') != std::string_view::npos) return patterns::assertionView(event);
  const std::size_t pidEnd = runEnd(m, 4, isDigit);
  if (pidEnd == 4 || pidEnd >= m.size() || m[pidEnd] != '(') return std::nullopt;
  // The name runs to the last quote that a space and a time follow.
  const std::size_t closeQuote = lastTimedQuote(m);
  if (closeQuote == std::string_view::npos) return std::nullopt;
  const std::size_t processStart = pidEnd + 1;
  // The process is the shortest text that the rest of the line can follow.
  for (std::size_t p = m.find(')', processStart + 1); p != std::string_view::npos; p = m.find(')', p + 1)) {
    std::size_t i = p + 1;
    if (i >= m.size() || m[i] != ' ') continue;
    ++i;
    std::string_view action;
    for (std::string_view candidate : kActions) {
      if (startsAt(m, i, candidate) && i + candidate.size() < m.size() && m[i + candidate.size()] == ' ') {
        action = candidate;
        break;
      }
    }
    if (action.empty()) continue;
    const std::size_t typeStart = i + action.size() + 1;
    const std::size_t typeEnd = runEnd(m, typeStart, isWord);
    if (typeEnd == typeStart || !startsAt(m, typeEnd, " \"")) continue;
    const std::size_t nameStart = typeEnd + 2;
    if (closeQuote < nameStart) return std::nullopt;  // later candidates start later still

    const auto pid = text::parseInteger(m.substr(4, pidEnd - 4));
    const std::size_t hoursStart = closeQuote + 2, hoursEnd = runEnd(m, hoursStart, isDigit);
    const auto h = digitsValue(m.substr(hoursStart, hoursEnd - hoursStart));
    const auto mins = digitsValue(m.substr(hoursEnd + 1, 2));
    const auto s = digitsValue(m.substr(hoursEnd + 4, 2));
    if (!pid || !h || !mins || !s) return std::nullopt;
    return AssertionView{event.date,
                         *pid,
                         m.substr(processStart, p - processStart),
                         action,
                         m.substr(typeStart, typeEnd - typeStart),
                         m.substr(nameStart, closeQuote - nameStart),
                         *h * 3600 + *mins * 60 + *s};
  }
  return std::nullopt;
}

std::optional<Instant> wakeDate(std::string_view text, int utcOffset) {
  if (text.size() != 19) return std::nullopt;
  char stamp[26];
  std::memcpy(stamp, text.data(), 19);
  std::memcpy(stamp + 19, " +0000 ", 7);
  const auto read = LogScanner::timestamp(std::string_view(stamp, 26), 0);
  if (!read) return std::nullopt;
  return read->first - utcOffset;
}

std::optional<MatchGroups> firstMatch(const Pattern& pattern, std::string_view message) {
  return pattern.firstMatch(message);
}

std::vector<MatchGroups> allMatches(const Pattern& pattern, std::string_view message) {
  return pattern.allMatches(message);
}

namespace {

// Splits a text into lines at \n, \r\n, \r, U+0085, U+2028 and U+2029.
template <typename Visit>
void forEachLine(std::string_view text, Visit&& visit) {
  std::size_t start = 0, i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    const char c = text[i];
    std::size_t terminator = 0;
    if (c == '\n') {
      terminator = 1;
    } else if (c == '\r') {
      terminator = (i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
    } else if (c == '\xC2' && i + 1 < n && text[i + 1] == '\x85') {
      terminator = 2;
    } else if (c == '\xE2' && i + 2 < n && text[i + 1] == '\x80' && (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
      terminator = 3;
    }
    if (terminator == 0) {
      ++i;
      continue;
    }
    visit(text.substr(start, i - start));
    i += terminator;
    start = i;
  }
  if (start < n) visit(text.substr(start));
}

}  // namespace

std::vector<LogEvent> parse(std::string_view input) {
  // The text is expected to be UTF-8; anything else is repaired first so that
  // every message is valid text.
  std::string repaired;
  std::string_view text = input;
  if (!text::isValidUtf8(input)) {
    repaired = text::decodeUtf8(input);
    text = repaired;
  }
  std::vector<LogEvent> events;
  events.reserve(text.size() / 140);
  forEachLine(text, [&](std::string_view line) {
    bool isEvent = false;
    if (line.size() >= 26 && line[4] == '-' && line[7] == '-' && line[10] == ' ' && line[13] == ':' &&
        line[19] == ' ' && line[25] == ' ') {
      if (const auto stamp = LogScanner::timestamp(line, 0)) {
        const std::size_t tab = line.find('\t', 26);
        if (tab != std::string_view::npos) {
          LogEvent event;
          event.date = stamp->first;
          event.utcOffset = stamp->second;
          event.domain = LogDomain::fromColumn(line.substr(26, tab - 26));
          LogScanner::buildMessage(line.substr(tab + 1), event.message);
          events.push_back(std::move(event));
          isEvent = true;
        }
      }
    }
    if (!isEvent && line.starts_with("DriverReason:") && !events.empty()) {
      events.back().details.emplace_back(text::trimWhitespace(line));
    }
  });
  return events;
}

}  // namespace snoozlet::PowerLogParser
