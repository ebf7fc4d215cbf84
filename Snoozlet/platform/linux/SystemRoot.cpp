#include "platform/linux/SystemRoot.h"

#include <cstdlib>

namespace snoozlet {

SystemRoot SystemRoot::fromEnvironment() {
  const char* root = std::getenv("SNOOZLET_SYSTEM_ROOT");
  return SystemRoot(root != nullptr && *root != '\0' ? std::filesystem::path(root) : std::filesystem::path("/"));
}

std::filesystem::path SystemRoot::operator()(std::string_view absolute) const {
  return root_ / std::filesystem::path(absolute).relative_path();
}

}  // namespace snoozlet
