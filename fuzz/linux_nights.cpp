// A Linux laptop's nights from journal entries and UPower history that a
// broken or hostile system might hold: entries of every kind in any order,
// clocks that step back, boots that change mid-sleep, starts and ends of other processes, history lines of any
// shape. Every session starts before it ends, and nothing reads out of range.
//
// Input: UPower history text, a NUL, then entries: a kind byte, a date step
// byte, a boot byte, a process byte and the message up to the next NUL.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <string>

#include "FuzzCheck.h"
#include "journal/JournalNights.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace snoozlet;
  FuzzedDataProvider provider(data, size);
  const std::string history = provider.ConsumeBytesAsString(provider.ConsumeIntegralInRange<std::size_t>(0, 512));
  const auto battery = parseUPowerHistory(history);
  for (std::size_t i = 0; i < battery.size(); ++i) {
    FUZZ_CHECK(battery[i].percent >= 0 && battery[i].percent <= 999);
    FUZZ_CHECK(i == 0 || battery[i - 1].date <= battery[i].date);
  }

  JournalNights nights;
  double date = 1.7e9;
  while (provider.remaining_bytes() > 0) {
    JournalEntry entry;
    const auto kind = provider.ConsumeIntegralInRange<int>(0, 4);
    // Mostly forward, sometimes a step back.
    date += static_cast<double>(provider.ConsumeIntegralInRange<int>(-60, 4000));
    entry.date = date;
    entry.bootId = provider.ConsumeBool() ? "a" : "b";
    // systemd-sleep's processes: unknown, or one of three.
    entry.pid = provider.ConsumeIntegralInRange<int>(0, 3);
    entry.message = provider.ConsumeRandomLengthString(200);
    switch (kind) {
      case 0: entry.messageId = std::string(kSleepStartId); break;
      case 1: entry.messageId = std::string(kSleepStopId); break;
      case 2: entry.kernel = true; break;
      case 3: entry.identifier = "systemd-logind"; break;
      default: break;
    }
    nights.add(entry);
  }
  for (const SleepSession& session : nights.sessions(battery)) {
    FUZZ_CHECK(session.start <= session.end);
    for (const DarkWakeEvent& wake : session.darkWakes) {
      FUZZ_CHECK(wake.duration && std::isfinite(*wake.duration) && *wake.duration >= 0);
      FUZZ_CHECK(wake.date >= session.start);
    }
  }
  return 0;
}
