#pragma once

// Every reader of a Linux system's own files (/sys, /proc, /var/lib/upower)
// takes its paths under one root: "/" on a real machine, or a folder standing
// for it (SNOOZLET_SYSTEM_ROOT) so that tests, screenshots and demonstrations
// run on a tree of files.

#include <filesystem>
#include <string>
#include <string_view>

namespace snoozlet {

class SystemRoot {
 public:
  explicit SystemRoot(std::filesystem::path root = "/") : root_(std::move(root)) {}

  // $SNOOZLET_SYSTEM_ROOT when it is set and not empty, else "/".
  static SystemRoot fromEnvironment();

  const std::filesystem::path& root() const { return root_; }
  // True for the machine's own "/".
  bool isMachine() const { return root_ == "/"; }
  // An absolute system path ("/sys/power/mem_sleep") under the root.
  std::filesystem::path operator()(std::string_view absolute) const;

  bool operator==(const SystemRoot&) const = default;

 private:
  std::filesystem::path root_;
};

// A small system file's text (a sysfs attribute is a page at most; /proc's
// lists a few kilobytes); empty when it cannot be read, cut at 256 KiB.
std::string readSystemFile(const std::filesystem::path& file);

// A one-value attribute ("enabled\n", "302\n") without the white space around it.
std::string readSystemValue(const std::filesystem::path& file);

}  // namespace snoozlet
