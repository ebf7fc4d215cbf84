#include "platform/linux/SystemRoot.h"

#include "common/Text.h"

#include <algorithm>
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
  // Read a block at a time: the text is as large as the file, not as the limit.
  std::string text;
  char block[4096];
  while (in && text.size() < kMaxFile) {
    in.read(block, static_cast<std::streamsize>(std::min(sizeof block, kMaxFile - text.size())));
    text.append(block, static_cast<std::size_t>(in.gcount()));
  }
  return text;
}

std::string readSystemValue(const std::filesystem::path& file) {
  return std::string(text::trimChars(readSystemFile(file), " \t\r\n"));
}

}  // namespace snoozlet
