#include "platform/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

extern char** environ;

namespace snoozlet::Process {

namespace {

// A file descriptor closed when it goes out of scope.
class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Fd& operator=(Fd&& other) noexcept {
    reset(std::exchange(other.fd_, -1));
    return *this;
  }
  ~Fd() { reset(); }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Hands the descriptor over without closing it.
  int release() { return std::exchange(fd_, -1); }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

struct Pipe {
  Fd read, write;
};

// A close-on-exec pipe whose ends are above the standard descriptors, so that
// duplicating one onto 1 or 2 in the child always yields a fresh descriptor.
std::optional<Pipe> makePipe() {
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  Pipe pipe;
  for (int i = 0; i < 2; ++i) {
    const int moved = ::fcntl(fds[i], F_DUPFD_CLOEXEC, 3);
    ::close(fds[i]);
    (i == 0 ? pipe.read : pipe.write).reset(moved);
  }
  if (!pipe.read.valid() || !pipe.write.valid()) return std::nullopt;
  return pipe;
}

std::vector<std::string> environmentWith(const std::vector<std::pair<std::string, std::string>>& extra) {
  std::vector<std::string> out;
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view item(*entry);
    const std::string_view name = item.substr(0, item.find('='));
    bool replaced = false;
    for (const auto& [key, value] : extra) replaced = replaced || key == name;
    if (!replaced) out.emplace_back(item);
  }
  for (const auto& [key, value] : extra) out.push_back(key + "=" + value);
  return out;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  out.reserve(strings.size() + 1);
  for (std::string& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

Error launchError(const Command& command, int error) {
  return Error{"Could not run " + command.program + ": " + std::strerror(error)};
}

// Starts the child with stdin from /dev/null, stdout to `out` and stderr to
// `err` (or /dev/null), and default signal handling and an empty signal mask
// whatever the parent uses.
Result<pid_t> spawn(const Command& command, const Pipe& out, const Pipe* err) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out.write.get(), 1);
  if (err != nullptr) {
    posix_spawn_file_actions_adddup2(&actions, err->write.get(), 2);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  sigset_t all, none;
  sigfillset(&all);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  std::vector<std::string> argv{command.program};
  argv.insert(argv.end(), command.arguments.begin(), command.arguments.end());
  std::vector<std::string> env = environmentWith(command.environment);
  std::vector<char*> argvPointers = pointers(argv), envPointers = pointers(env);

  pid_t pid = -1;
  const bool search = command.program.find('/') == std::string::npos;
  const int result = search ? ::posix_spawnp(&pid, command.program.c_str(), &actions, &attributes, argvPointers.data(),
                                             envPointers.data())
                            : ::posix_spawn(&pid, command.program.c_str(), &actions, &attributes, argvPointers.data(),
                                            envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (result != 0) return Result<pid_t>::failure(launchError(command, result));
  return pid;
}

Exit waitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return Exit{-1, std::nullopt};
  }
  if (WIFSIGNALED(status)) return Exit{0, WTERMSIG(status)};
  return Exit{WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::nullopt};
}

// Reads both pipes until they close. Output goes to `onOut` in pieces of at
// most `chunkSize`; when it returns false the output pipe is closed.
void pump(Fd& out, Fd* err, std::size_t chunkSize, const std::function<bool(std::string_view)>& onOut,
          std::string& errText) {
  std::string buffer(std::max<std::size_t>(chunkSize, 1), '\0');
  while (out.valid() || (err != nullptr && err->valid())) {
    pollfd fds[2];
    nfds_t count = 0;
    int outIndex = -1, errIndex = -1;
    if (out.valid()) {
      outIndex = static_cast<int>(count);
      fds[count++] = {out.get(), POLLIN, 0};
    }
    if (err != nullptr && err->valid()) {
      errIndex = static_cast<int>(count);
      fds[count++] = {err->get(), POLLIN, 0};
    }
    if (::poll(fds, count, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (outIndex >= 0 && fds[outIndex].revents != 0) {
      const ssize_t got = ::read(out.get(), buffer.data(), buffer.size());
      if (got > 0) {
        if (!onOut(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) out.reset();
      } else if (got == 0 || errno != EINTR) {
        out.reset();
      }
    }
    if (errIndex >= 0 && fds[errIndex].revents != 0) {
      char chunk[16384];
      const ssize_t got = ::read(err->get(), chunk, sizeof chunk);
      if (got > 0) {
        errText.append(chunk, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        err->reset();
      }
    }
  }
}

Result<Output> execute(const Command& command, std::size_t chunkSize,
                       const std::function<bool(std::string_view)>& onOut, ErrorOutput errorOutput) {
  auto out = makePipe();
  std::optional<Pipe> err;
  if (errorOutput == ErrorOutput::capture) err = makePipe();
  if (!out || (errorOutput == ErrorOutput::capture && !err)) {
    return Result<Output>::failure(launchError(command, errno != 0 ? errno : EMFILE));
  }
  const auto pid = spawn(command, *out, err ? &*err : nullptr);
  if (!pid) return Result<Output>::failure(pid.error());
  out->write.reset();
  if (err) err->write.reset();

  Output output;
  pump(out->read, err ? &err->read : nullptr, chunkSize, onOut, output.err);
  output.exit = waitFor(pid.value());
  return output;
}

}  // namespace

std::filesystem::path executableFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self.parent_path();
}

std::string Exit::describe() const {
  if (signal) return "was killed by signal " + std::to_string(*signal);
  return "exited with " + std::to_string(status);
}

Result<Output> run(const Command& command) {
  std::string collected;
  auto output = execute(
      command, 65536,
      [&](std::string_view chunk) {
        collected.append(chunk);
        return true;
      },
      ErrorOutput::capture);
  if (output) output->out = std::move(collected);
  return output;
}

Result<OutputReader> OutputReader::start(const Command& command) {
  auto out = makePipe();
  if (!out) return Result<OutputReader>::failure(launchError(command, errno != 0 ? errno : EMFILE));
  const auto pid = spawn(command, *out, nullptr);
  if (!pid) return Result<OutputReader>::failure(pid.error());
  out->write.reset();
  return OutputReader(out->read.release(), pid.value());
}

OutputReader::OutputReader(OutputReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), pid_(std::exchange(other.pid_, -1)) {}

OutputReader::~OutputReader() {
  // Abandoned mid-stream: the child's output is no longer wanted.
  if (pid_ >= 0) ::kill(static_cast<pid_t>(pid_), SIGKILL);
  if (pid_ >= 0) finish();
}

Result<std::size_t> OutputReader::read(char* buffer, std::size_t size) {
  if (fd_ < 0) return std::size_t{0};
  while (true) {
    const ssize_t got = ::read(fd_, buffer, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno == EINTR) continue;
    return Result<std::size_t>::failure(Error{std::string("Could not read the output: ") + std::strerror(errno)});
  }
}

Exit OutputReader::finish() {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  if (pid_ < 0) return Exit{-1, std::nullopt};
  return waitFor(static_cast<pid_t>(std::exchange(pid_, -1)));
}

Result<Output> stream(const Command& command, std::size_t chunkSize,
                      const std::function<bool(std::string_view)>& consume, ErrorOutput errorOutput) {
  return execute(command, chunkSize, consume, errorOutput);
}

}  // namespace snoozlet::Process
