#pragma once

// Helpers shared by the tests: fixture files, temporary folders, and small
// builders for log lines.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::testing {

// Path of a file under tests/fixtures.
std::filesystem::path fixturePath(std::string_view relative);
// Whole contents of a file (binary); fails the test when unreadable.
std::string readFile(const std::filesystem::path& path);
// Writes a file, creating its folder.
void writeFile(const std::filesystem::path& path, std::string_view contents);

// A journal file at `path` holding the entries of `exportText` (journal export
// format), written by systemd-journal-remote as journald would have; a test
// failure when it cannot be made.
void writeJournal(const std::filesystem::path& path, std::string_view exportText);
// Path of a built program under the build folder.
std::filesystem::path builtProgram(std::string_view relative);

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Sets (or, with nothing, unsets) an environment variable for the life of
// the object, then restores what was there.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void set(const char* value) const;
  std::string name_;
  std::optional<std::string> old_;
};

// One power-log line: stamp "yyyy-MM-dd HH:mm:ss", offset "+0300", the domain
// padded to 20 characters, a tab and the message.
std::string logLine(std::string_view stamp, std::string_view domain, std::string_view message,
                    std::string_view offset = "+0000");

// An enumeration's stored names (files and command lines keep them): each of
// `values` writes its name and reads back from it; the names in upper case,
// and the empty name, read as nothing.
template <typename Values, typename Write, typename Read>
void expectStoredNames(const Values& values, const std::vector<std::string_view>& names, Write write, Read read) {
  ASSERT_EQ(std::size(values), names.size());
  auto name = names.begin();
  for (const auto& value : values) {
    EXPECT_EQ(write(value), *name);
    EXPECT_EQ(read(*name), value) << *name;
    std::string upper(*name);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_FALSE(read(upper)) << upper;
    ++name;
  }
  EXPECT_FALSE(read(""));
}

}  // namespace snoozlet::testing
