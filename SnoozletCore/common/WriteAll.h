#pragma once

// Writes all of `data` to a file descriptor: a write may take only part of
// it, or be interrupted by a signal before it took any. False with errno set
// when the descriptor refuses the rest.

#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace snoozlet {

inline bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t put = ::write(fd, data.data(), data.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(put));
  }
  return true;
}

}  // namespace snoozlet
