// snoozlet-pmset: a simulated Mac with pmset's command line, so that Snoozlet
// runs end to end on machines without macOS. See --help for the commands, the
// state folder and the environment variables.

#include "Simulator.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const auto environment = [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
  };
  const auto now = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
  return snoozlet::Simulator::run(arguments, environment, now, std::cout, std::cerr);
}
