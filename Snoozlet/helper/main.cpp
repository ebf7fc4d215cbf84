// snoozlet-helper: see Helper.h. It reads nothing from its environment but
// PKEXEC_UID (set by pkexec) and, when pkexec did not start it,
// SNOOZLET_SYSTEM_ROOT.

#include "helper/Helper.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  // The boot-time files it writes are readable by everyone, whatever umask it inherited.
  ::umask(022);
  snoozlet::helper::Invocation invocation;
  for (int i = 1; i < argc; ++i) invocation.arguments.emplace_back(argv[i]);
  invocation.startedByPkexec = std::getenv("PKEXEC_UID") != nullptr;
  if (const char* root = std::getenv("SNOOZLET_SYSTEM_ROOT")) invocation.systemRoot = root;
  const snoozlet::helper::Outcome outcome = snoozlet::helper::run(invocation);
  std::fprintf(outcome.status == 0 ? stdout : stderr, "snoozlet-helper: %s\n", outcome.message.c_str());
  return outcome.status;
}
