#pragma once

// The fixes Snoozlet offers on a Linux laptop, and one planned change of a
// kernel setting. Unlike pmset's, these act on files: a value written into a
// sysfs attribute now, and a line in a file of Snoozlet's own under /etc that
// writes it again at every boot. The privileged helper (snoozlet-helper)
// carries each change out; an undo writes the previous value back and
// removes the line.

#include <optional>
#include <string>
#include <string_view>

namespace snoozlet {

// One Linux fix: sleep in deep sleep, or keep one device from waking the
// laptop (the device by its kernel name, "0000:00:14.0").
struct SystemFix {
  // Raw values are the case names; the journal stores them.
  enum class Kind { deepSleep, wakeupOff };

  Kind kind = Kind::deepSleep;
  // The device's kernel name; empty for deep sleep.
  std::string device;

  // What `snoozlet fix` takes and the views name their buttons by:
  // "deepSleep", "wakeupOff:0000:00:14.0".
  std::string id() const;
  // The id read back; nothing for any other text.
  static std::optional<SystemFix> fromId(std::string_view id);

  bool operator==(const SystemFix&) const = default;
  // Ordered by kind, then device (spelled out: libc++ 14 has no <=> for strings).
  bool operator<(const SystemFix& other) const {
    return kind != other.kind ? kind < other.kind : device < other.device;
  }
};

std::string_view toString(SystemFix::Kind kind);
std::optional<SystemFix::Kind> systemFixKindFromString(std::string_view raw);

// One change of a plan: `target` into `file` now, kept for the next boots by
// `keepLine` in `keepFile`, with the value it replaces. What the device is
// (its kernel name, driver, PCI class and firmware name) travels with it, so
// that the journal can name it in either language after it has gone.
struct SystemChange {
  SystemFix::Kind fix = SystemFix::Kind::deepSleep;
  // "/sys/power/mem_sleep", "/sys/devices/pci0000:00/0000:00:14.0/power/wakeup".
  std::string file;
  std::string previous;
  std::string target;
  // "/etc/tmpfiles.d/snoozlet.conf" and "w /sys/power/mem_sleep - - - - deep".
  std::string keepFile;
  std::string keepLine;
  // The device's kernel name, driver, PCI class and ACPI name; empty for deep sleep.
  std::string device;
  std::string driver;
  std::string pciClass;
  std::string acpiName;
  // True when the change keeps its value for the next boots (a fix); false
  // when it removes what kept it (an undo). Not stored: a record holds fixes.
  bool keep = true;

  bool operator==(const SystemChange&) const = default;
};

}  // namespace snoozlet
