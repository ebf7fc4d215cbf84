// The byte-level line parsers must read exactly what the regular
// expressions that define them read.

#include "log/LinePatterns.h"
#include "log/PowerLogParser.h"

#include "common/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace snoozlet {
namespace {

// Fragments that make up near-misses of every pattern.
const char* const kFragments[] = {
    "PID ", "812", "(", ")", "ShipIt", " ", "Created", "Released", "TurnedO", "TurnedOn", "Summary", " ",
    "PreventSystemSleep", "\"", "\" ", "01:02:03", "1:2:3", "00:00:00", "x", "é", "\n", "\t", "\r",
    "Using ", "AC", "BATT", "Batt", "UPS", "Mains", "(Charge:", "(Charge: ", "76", "1000", "%", " secs", "secs",
    "due to ", " Using ", "[", "]", "*", "[*process=", "[process=", "dasd", " request=", "SleepService",
    " deltaSecs=", "600", " wakeAt=", "2024-03-11 09:00:00", "2024-03-11 9:00:00", " info=\"", "a]b",
    "Entering ", "Sleep", "DarkWake", " state due to '", "'", ":TCPKeepAlive=", "active", "-", "_"};

std::string randomMessage(std::mt19937_64& random) {
  std::string m;
  const int pieces = static_cast<int>(random() % 14);
  for (int i = 0; i < pieces; ++i) m += kFragments[random() % std::size(kFragments)];
  return m;
}

// A message every pattern matches, then cut and spliced at random places.
std::string mutatedMessage(std::mt19937_64& random) {
  static const char* const kValid[] = {
      "PID 812(ShipIt) Created PreventSystemSleep \"Updating\" 01:02:03  id:0x0x100 [System: kCPU]",
      "DarkWake from Deep Idle [CDNP] : due to rtc/Maintenance Using BATT (Charge:76%) 45 secs",
      ("[process=mDNSResponder request=Maintenance deltaSecs=7200 wakeAt=2024-03-11 09:00:00 info=\"DHCP\"] "
       "[*process=dasd request=SleepService deltaSecs=600 wakeAt=2024-03-11 09:00:00]"),
      "Entering Sleep state due to 'Clamshell Sleep':TCPKeepAlive=active Using Batt (Charge:80%) 2 secs",
      "Summary- [System: DeclUser kDisp] Using Batt(Charge: 84)"};
  std::string m = kValid[random() % std::size(kValid)];
  const int mutations = static_cast<int>(random() % 4);
  for (int i = 0; i < mutations; ++i) {
    const std::size_t at = m.empty() ? 0 : random() % (m.size() + 1);
    switch (random() % 3) {
      case 0:
        m.insert(at, kFragments[random() % std::size(kFragments)]);
        break;
      case 1:
        m.erase(at, random() % 6);
        break;
      default:
        if (at < m.size()) m[at] = "\"() :[]*\n0a%'"[random() % 13];
        break;
    }
  }
  return m;
}

TEST(LinePatternsTest, ByteParsersAgreeWithThePatterns) {
  std::mt19937_64 random(0x5EED);
  std::vector<std::string> messages = {
      "PID 1(a (b)) Created T \"n\" 00:00:00",
      "PID 812(ShipIt) Released PreventSystemSleep \"Updating \"x\" now\" 01:02:03  id:0x0x100",
      "PID 1(x) Created T \" 01:02:03",
      "PID 1(x) Created T \"a\" 01:02:03 \"b\" 9:00:00",
      "[process=a request=b deltaSecs=1 wakeAt=2024-03-11 09:00:00 info=\"x\"x]]",
      "[[*process=a request=b deltaSecs=1 wakeAt=2024-03-11 09:00:00]",
      "due to x Using AC Using BATT",
      "due to \n Using AC",
      "Using BATT (Charge:1234%) Using AC (Charge:12%)",
      "Entering Sleep state due to 'a':TCPKeepAlive=",
  };
  for (int i = 0; i < 100000; ++i) messages.push_back(randomMessage(random));
  for (int i = 0; i < 100000; ++i) messages.push_back(mutatedMessage(random));
  for (const auto& message : messages) {
    const LogEvent e{.date = 1000, .utcOffset = 7200, .message = text::decodeUtf8(message)};  // always valid UTF-8
    ASSERT_EQ(PowerLogParser::battery(e), PowerLogParser::patterns::battery(e)) << message;
    ASSERT_EQ(PowerLogParser::seconds(e), PowerLogParser::patterns::seconds(e)) << message;
    ASSERT_EQ(PowerLogParser::sleepEntry(e), PowerLogParser::patterns::sleepEntry(e)) << message;
    ASSERT_EQ(PowerLogParser::dueReason(e), PowerLogParser::patterns::dueReason(e)) << message;
    const auto requests = PowerLogParser::patterns::wakeRequests(e);
    ASSERT_EQ(PowerLogParser::wakeRequests(e), requests) << message;
    const auto fired = std::find_if(requests.begin(), requests.end(), [](const WakeRequest& r) { return r.fired; });
    ASSERT_EQ(PowerLogParser::firedRequest(e), fired == requests.end() ? std::nullopt : std::optional(*fired))
        << message;
    ASSERT_EQ(PowerLogParser::assertion(e), PowerLogParser::patterns::assertion(e)) << message;
    const auto view = PowerLogParser::assertionView(e);
    ASSERT_EQ(view ? std::optional<AssertionEvent>(view->owned()) : std::nullopt, PowerLogParser::assertion(e));
  }
}

}  // namespace
}  // namespace snoozlet
