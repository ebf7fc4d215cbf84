#include "platform/battery/CapturedOutput.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace snoozlet {

namespace {

// Closes a descriptor once, whatever path the function takes.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

class FileActions {
 public:
  FileActions() { ok_ = posix_spawn_file_actions_init(&actions_) == 0; }
  ~FileActions() {
    if (ok_) posix_spawn_file_actions_destroy(&actions_);
  }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  bool ok() const { return ok_; }
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
  bool ok_ = false;
};

int waitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::optional<CapturedOutput> captureOutput(const std::filesystem::path& program,
                                            const std::vector<std::string>& arguments, std::size_t outputLimit) {
  int fds[2];
#if defined(__linux__)
  if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;
#else
  if (::pipe(fds) != 0) return std::nullopt;
  ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  ::fcntl(fds[1], F_SETFD, FD_CLOEXEC);
#endif
  Descriptor readEnd(fds[0]);
  Descriptor writeEnd(fds[1]);

  FileActions actions;
  if (!actions.ok() || posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0) != 0 ||
      posix_spawn_file_actions_adddup2(actions.get(), writeEnd.get(), 1) != 0 ||
      posix_spawn_file_actions_addopen(actions.get(), 2, "/dev/null", O_WRONLY, 0) != 0) {
    return std::nullopt;
  }

  const std::string path = program.string();
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  pid_t pid = 0;
  if (posix_spawn(&pid, path.c_str(), actions.get(), nullptr, argv.data(), environ) != 0) return std::nullopt;
  writeEnd.reset();

  CapturedOutput result;
  bool tooLong = false;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(readEnd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (result.output.size() + static_cast<std::size_t>(n) > outputLimit) {
      tooLong = true;
      ::kill(pid, SIGKILL);
      break;
    }
    result.output.append(buffer, static_cast<std::size_t>(n));
  }
  readEnd.reset();
  result.exitStatus = waitFor(pid);
  if (tooLong) return std::nullopt;
  return result;
}

}  // namespace snoozlet
