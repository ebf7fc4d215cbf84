#include "journal/KernelCounts.h"

#include "common/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>

namespace snoozlet::kernel_counts {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The white-space separated words of a line.
std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isSpace(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !isSpace(line[i])) ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// later − earlier, where a counter that went back reads as not moved.
std::uint64_t rise(std::uint64_t earlier, std::uint64_t later) { return later > earlier ? later - earlier : 0; }

std::optional<std::uint64_t> rise(const std::optional<std::uint64_t>& earlier,
                                  const std::optional<std::uint64_t>& later) {
  if (!earlier || !later) return std::nullopt;
  return rise(*earlier, *later);
}

// A source's identity across two snapshots: its name and its device (the
// wakeupN numbers can change when devices come and go).
std::pair<std::string, std::string> key(const WakeupSource& s) { return {s.name, s.device}; }

enum class Kind {
  lid,
  powerButton,
  sleepButton,
  charger,
  battery,
  clock,
  usbController,
  wifi,
  bluetooth,
  ethernet,
  keyboard,
  usbDevice,
  embeddedController,
  other
};

struct KindText {
  Kind kind;
  Bilingual words;
  // Inside a sentence ("mostly from the lid").
  Bilingual phrase;
  WakeCategory category;
};

constexpr std::array<KindText, 13> kKinds{{
    {Kind::lid, {"Lid", "Kapak"}, {"the lid", "kapak"}, WakeCategory::lid},
    {Kind::powerButton, {"Power button", "Güç düğmesi"}, {"the power button", "güç düğmesi"}, WakeCategory::user},
    {Kind::sleepButton, {"Sleep button", "Uyku düğmesi"}, {"the sleep button", "uyku düğmesi"}, WakeCategory::user},
    {Kind::charger, {"Charger", "Şarj aleti"}, {"the charger", "şarj aleti"}, WakeCategory::power},
    {Kind::battery, {"Battery", "Pil"}, {"the battery", "pil"}, WakeCategory::power},
    {Kind::clock,
     {"Real-time clock alarm", "Gerçek zamanlı saat alarmı"},
     {"the real-time clock alarm", "gerçek zamanlı saat alarmı"},
     WakeCategory::scheduled},
    {Kind::usbController,
     {"USB controller", "USB denetleyicisi"},
     {"the USB controller", "USB denetleyicisi"},
     WakeCategory::usb},
    {Kind::wifi, {"Wi-Fi", "Wi-Fi"}, {"Wi-Fi", "Wi-Fi"}, WakeCategory::network},
    {Kind::bluetooth, {"Bluetooth", "Bluetooth"}, {"Bluetooth", "Bluetooth"}, WakeCategory::network},
    {Kind::ethernet, {"Ethernet", "Ethernet"}, {"Ethernet", "Ethernet"}, WakeCategory::networkAccess},
    {Kind::keyboard, {"Keyboard", "Klavye"}, {"the keyboard", "klavye"}, WakeCategory::user},
    {Kind::usbDevice, {"USB device", "USB aygıtı"}, {"a USB device", "bir USB aygıtı"}, WakeCategory::usb},
    {Kind::embeddedController,
     {"Embedded controller (EC)", "Gömülü denetleyici (EC)"},
     {"the embedded controller (EC)", "gömülü denetleyici (EC)"},
     WakeCategory::unknown},
}};

// "1-3", "2-1.4": a USB device's name on its bus.
bool isUsbDeviceName(std::string_view name) {
  const auto dash = name.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 >= name.size()) return false;
  return std::all_of(name.begin(), name.end(), [](char c) { return (c >= '0' && c <= '9') || c == '-' || c == '.'; });
}

Kind kindOf(const SourceWakes& s) {
  const auto either = [&](std::string_view prefix) {
    return startsWith(s.name, prefix) || startsWith(s.device, prefix);
  };
  const auto driver = [&](std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), s.driver) != names.end();
  };
  if (either("PNP0C0D")) return Kind::lid;
  // The ACPI buttons, and the fixed-feature ones firmware may offer instead.
  if (either("PNP0C0C") || either("LNXPWRBN")) return Kind::powerButton;
  if (either("PNP0C0E") || either("LNXSLPBN")) return Kind::sleepButton;
  if (either("ACPI0003") || s.name == "AC" || startsWith(s.name, "ADP")) return Kind::charger;
  if (either("PNP0C0A") || startsWith(s.name, "BAT")) return Kind::battery;
  if (either("rtc") || either("alarmtimer") || either("PNP0B00")) return Kind::clock;
  if (either("PNP0C09")) return Kind::embeddedController;
  if (driver({"xhci_hcd", "ehci-pci", "ohci-pci", "uhci_hcd"}) || startsWith(s.pciClass, "0x0c03")) {
    return Kind::usbController;
  }
  if (driver({"iwlwifi", "ath9k", "ath10k_pci", "ath11k_pci", "ath12k_pci", "rtw88_pci", "rtw89_pci", "mt7921e",
              "mt7925e", "brcmfmac", "wl"}) ||
      startsWith(s.pciClass, "0x0280")) {
    return Kind::wifi;
  }
  if (driver({"btusb"}) || startsWith(s.name, "hci")) return Kind::bluetooth;
  if (driver({"e1000e", "igc", "r8169", "tg3", "atlantic"}) || startsWith(s.pciClass, "0x0200")) return Kind::ethernet;
  if (driver({"i8042", "atkbd"}) || startsWith(s.name, "serio")) return Kind::keyboard;
  if (isUsbDeviceName(s.device) || isUsbDeviceName(s.name)) return Kind::usbDevice;
  return Kind::other;
}

const KindText* textOf(Kind kind) {
  for (const KindText& text : kKinds) {
    if (text.kind == kind) return &text;
  }
  return nullptr;
}

}  // namespace

std::vector<AcpiWakeup> parseAcpiWakeup(std::string_view text) {
  std::vector<AcpiWakeup> out;
  while (!text.empty()) {
    const auto newline = text.find('\n');
    const std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
    const std::vector<std::string_view> w = words(line);
    // "Device S-state Status Sysfs node" heads the table.
    if (w.size() < 4 || w[0] == "Device" || (w[2] != "*enabled" && w[2] != "*disabled")) continue;
    const auto colon = w[3].find(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 >= w[3].size()) continue;
    out.push_back({std::string(w[0]), std::string(w[1]), w[2] == "*enabled", std::string(w[3].substr(0, colon)),
                   std::string(w[3].substr(colon + 1))});
  }
  return out;
}

std::string currentMemSleep(std::string_view text) {
  for (std::string_view word : words(text)) {
    if (word.size() > 2 && word.front() == '[' && word.back() == ']')
      return std::string(word.substr(1, word.size() - 2));
  }
  return {};
}

std::vector<std::string> memSleepModes(std::string_view text) {
  std::vector<std::string> out;
  for (std::string_view word : words(text)) {
    if (word.size() > 2 && word.front() == '[' && word.back() == ']') word = word.substr(1, word.size() - 2);
    out.emplace_back(word);
  }
  return out;
}

std::optional<std::uint64_t> parseCount(std::string_view text) {
  text = text::trimChars(text, " \t\n\r");
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

SleepCounts between(const KernelSnapshot& before, const KernelSnapshot& after) {
  SleepCounts counts;
  counts.slept = before.taken;
  counts.resumed = after.taken;
  counts.memSleep = before.memSleep.empty() ? after.memSleep : before.memSleep;
  std::map<std::pair<std::string, std::string>, const WakeupSource*> earlier;
  for (const WakeupSource& s : before.sources) earlier.emplace(key(s), &s);
  for (const WakeupSource& s : after.sources) {
    const auto found = earlier.find(key(s));
    if (found == earlier.end()) continue;
    const std::uint64_t wakeups = rise(found->second->wakeupCount, s.wakeupCount);
    if (wakeups == 0) continue;
    counts.sources.push_back(
        {s.name, s.device, s.driver, s.pciClass, s.acpiName, wakeups, rise(found->second->eventCount, s.eventCount)});
  }
  std::stable_sort(counts.sources.begin(), counts.sources.end(),
                   [](const SourceWakes& a, const SourceWakes& b) { return a.wakeups > b.wakeups; });
  if (const auto hardware = rise(before.stats.totalHwSleep, after.stats.totalHwSleep)) {
    counts.hardwareSleep = static_cast<double>(*hardware) / 1e6;
  }
  counts.suspends = rise(before.stats.success, after.stats.success);
  counts.failures = rise(before.stats.fail, after.stats.fail);
  return counts;
}

WakeCategory category(const SourceWakes& source) {
  const KindText* text = textOf(kindOf(source));
  return text != nullptr ? text->category : WakeCategory::unknown;
}

namespace {

std::string named(const SourceWakes& source, Language language, bool inSentence) {
  const Kind kind = kindOf(source);
  const KindText* text = textOf(kind);
  if (text == nullptr) {
    // The kernel's own name, with the firmware's beside it when it has one.
    return source.acpiName.empty() || source.acpiName == source.name ? source.name
                                                                     : source.name + " (" + source.acpiName + ")";
  }
  std::string words = (inSentence ? text->phrase : text->words)(language);
  if (kind == Kind::usbController && !source.acpiName.empty()) words += " (" + source.acpiName + ")";
  return words;
}

}  // namespace

bool neededToWake(const SourceWakes& source) {
  switch (kindOf(source)) {
    case Kind::lid:
    case Kind::powerButton:
    case Kind::sleepButton:
    case Kind::keyboard:
    case Kind::clock:
    case Kind::battery:
    case Kind::embeddedController: return true;
    default: return false;
  }
}

std::string label(const SourceWakes& source, Language language) { return named(source, language, false); }

std::string phrase(const SourceWakes& source, Language language) { return named(source, language, true); }

std::optional<NightKernelCounts> summarize(const std::vector<SleepCounts>& sleeps) {
  if (sleeps.empty()) return std::nullopt;
  NightKernelCounts night;
  double hardware = 0;
  double hardwareSpan = 0;
  for (const SleepCounts& sleep : sleeps) {
    const double span = std::max(0.0, sleep.resumed - sleep.slept);
    night.counted += span;
    if (sleep.hardwareSleep && sleep.memSleep == "s2idle" && span > 0) {
      hardware += std::min(*sleep.hardwareSleep, span);
      hardwareSpan += span;
    }
    for (const SourceWakes& source : sleep.sources) {
      night.wakeups += source.wakeups;
      const auto same = std::find_if(night.sources.begin(), night.sources.end(), [&](const SourceWakes& s) {
        return s.name == source.name && s.device == source.device;
      });
      if (same == night.sources.end()) {
        night.sources.push_back(source);
      } else {
        same->wakeups += source.wakeups;
        same->events += source.events;
      }
    }
  }
  std::stable_sort(night.sources.begin(), night.sources.end(),
                   [](const SourceWakes& a, const SourceWakes& b) { return a.wakeups > b.wakeups; });
  if (hardwareSpan > 0) night.hardwareShare = hardware / hardwareSpan;
  return night;
}

}  // namespace snoozlet::kernel_counts
