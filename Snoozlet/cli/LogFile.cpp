#include "cli/LogFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace snoozlet {

namespace {

constexpr std::size_t kBlockSize = 256 * 1024;

Error cannotRead(const std::string& name, int error) {
  return Error{"cannot read " + name + ": " + std::strerror(error)};
}

}  // namespace

Status readLogStream(std::FILE* file, const std::string& name, LogReader& reader) {
  std::vector<char> block(kBlockSize);
  return reader.ingest([&]() -> Result<std::optional<std::string_view>> {
    const std::size_t n = std::fread(block.data(), 1, block.size(), file);
    if (n > 0) return std::optional<std::string_view>(std::string_view(block.data(), n));
    if (std::ferror(file))
      return Result<std::optional<std::string_view>>::failure(cannotRead(name, errno ? errno : EIO));
    return std::optional<std::string_view>();
  });
}

Status readLogFile(const std::string& path, LogReader& reader) {
  if (path == "-") return readLogStream(stdin, "standard input", reader);
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Status::failure(cannotRead(path, errno));
  if (S_ISDIR(info.st_mode)) return Status::failure(cannotRead(path, EISDIR));
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return Status::failure(cannotRead(path, errno));
  return readLogStream(file.get(), path, reader);
}

}  // namespace snoozlet
