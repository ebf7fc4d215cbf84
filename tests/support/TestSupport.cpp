#include "TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace snoozlet::testing {

std::filesystem::path fixturePath(std::string_view relative) {
  return std::filesystem::path(SNOOZLET_FIXTURES_DIR) / relative;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << "cannot read " << path;
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void writeJournal(const std::filesystem::path& path, std::string_view exportText) {
  const auto entries = path.parent_path() / (path.stem().string() + ".export");
  writeFile(entries, exportText);
  const std::string command =
      "/lib/systemd/systemd-journal-remote -o '" + path.string() + "' '" + entries.string() + "' 2>/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::filesystem::remove(entries);
}

void writeFile(const std::filesystem::path& path, std::string_view contents) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  EXPECT_TRUE(out.good()) << "cannot write " << path;
}

std::filesystem::path builtProgram(std::string_view relative) {
  return std::filesystem::path(SNOOZLET_BINARY_DIR) / relative;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "snoozlet-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary folder";
  } else {
    path_ = pattern;
  }
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Tests may leave read-only folders behind; make them writable first.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                 ignored);
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

ScopedEnv::ScopedEnv(std::string name, const char* value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) old_ = old;
  set(value);
}

ScopedEnv::~ScopedEnv() { set(old_ ? old_->c_str() : nullptr); }

void ScopedEnv::set(const char* value) const {
  if (value != nullptr) {
    ::setenv(name_.c_str(), value, 1);
  } else {
    ::unsetenv(name_.c_str());
  }
}

std::string logLine(std::string_view stamp, std::string_view domain, std::string_view message,
                    std::string_view offset) {
  std::string column(domain);
  if (column.size() < 20) column.resize(20, ' ');
  return std::string(stamp) + " " + std::string(offset) + " " + column + "\t" + std::string(message);
}

}  // namespace snoozlet::testing
