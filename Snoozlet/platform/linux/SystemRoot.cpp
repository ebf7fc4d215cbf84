#include "platform/linux/SystemRoot.h"

#include <cstdlib>
#include <fstream>

namespace snoozlet {

SystemRoot SystemRoot::fromEnvironment() {
  const char* root = std::getenv("SNOOZLET_SYSTEM_ROOT");
  return SystemRoot(root != nullptr && *root != '\0' ? std::filesystem::path(root) : std::filesystem::path("/"));
}

std::filesystem::path SystemRoot::operator()(std::string_view absolute) const {
  return root_ / std::filesystem::path(absolute).relative_path();
}

std::string readSystemFile(const std::filesystem::path& file) {
  constexpr std::size_t kMaxFile = 256 * 1024;
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  std::string text(kMaxFile, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

}  // namespace snoozlet
