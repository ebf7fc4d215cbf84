#pragma once

// snoozlet-helper: the one program of Snoozlet's that runs as root, started
// by pkexec under its own polkit action. It does one operation per run (see
// settings/HelperCommand.h for what it accepts) and checks every part before
// it touches anything:
//   - only /sys/power/mem_sleep, /sys/devices/…/power/wakeup and its own file
//     in each of /etc/tmpfiles.d and /etc/udev/rules.d;
//   - every folder on the way is opened without following symbolic links,
//     so the file reached is the file named (nothing leads elsewhere), and the
//     file itself is opened with O_NOFOLLOW and must be a regular file (on
//     the machine, one of the kernel's: sysfs);
//   - values come from fixed sets; the boot-time lines are built from them
//     and from the device's own attributes, each checked for its form;
//   - a sleep state the kernel does not offer is refused.
// When keeping the value for the next boots fails, the value written is put
// back, so the machine is left as it was. No shell, no other program.
//
// The system root: "/" always when started by pkexec (PKEXEC_UID set); any
// other root is then refused. Started directly, it honours
// SNOOZLET_SYSTEM_ROOT, so tests and demonstrations change a tree of files
// (plain files standing in for the kernel's, written as the kernel would
// show them), without elevation.

#include <string>
#include <vector>

namespace snoozlet::helper {

struct Invocation {
  // The arguments after the program's name.
  std::vector<std::string> arguments;
  // $SNOOZLET_SYSTEM_ROOT, empty when unset.
  std::string systemRoot;
  // $PKEXEC_UID was set: pkexec started it.
  bool startedByPkexec = false;
};

// 0 done, 1 failed (nothing left changed), 2 refused (nothing touched).
struct Outcome {
  int status = 0;
  // What was done (status 0), or why not: one line.
  std::string message;
};

Outcome run(const Invocation& invocation);

}  // namespace snoozlet::helper
