#include "StateFolder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace snoozlet {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kStateFileLimit = 64 * 1024;
constexpr std::size_t kLogBlock = 256 * 1024;

Error systemError(std::string_view what, const fs::path& path, int number) {
  return Error{std::string(what) + " " + path.string() + ": " + std::strerror(number)};
}

// A file descriptor closed on scope exit.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting the error a late write may only show here.
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The whole of a small file of ours; nothing when it does not exist, and
// nothing with `tooLarge` set when it is bigger than the limit.
struct SmallFile {
  std::optional<std::string> bytes;
  bool tooLarge = false;
};

Result<SmallFile> readSmallFile(const fs::path& path) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return SmallFile{};
    return Result<SmallFile>::failure(systemError("cannot read", path, errno));
  }
  std::string bytes;
  char buffer[8192];
  while (true) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Result<SmallFile>::failure(systemError("cannot read", path, errno));
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(got));
    if (bytes.size() > kStateFileLimit) return SmallFile{std::nullopt, true};
  }
  return SmallFile{std::move(bytes), false};
}

}  // namespace

Result<fs::path> StateFolder::locate(const Environment& environment) {
  const auto value = [&](const char* name) -> std::optional<std::string> {
    auto v = environment(name);
    if (v && v->empty()) return std::nullopt;
    return v;
  };
  if (auto home = value("SNOOZLET_PMSET_HOME")) return fs::path(*home);
  // The XDG rules ignore a relative state home.
  if (auto state = value("XDG_STATE_HOME"); state && fs::path(*state).is_absolute())
    return fs::path(*state) / "snoozlet-pmset";
  if (auto home = value("HOME")) return fs::path(*home) / ".local" / "state" / "snoozlet-pmset";
  return Result<fs::path>::failure(Error{"no state folder: set SNOOZLET_PMSET_HOME"});
}

Status StateFolder::create() const {
  std::error_code error;
  fs::create_directories(path_, error);
  if (error) return Status::failure(Error{"cannot create " + path_.string() + ": " + error.message()});
  if (!fs::is_directory(path_, error)) return Status::failure(Error{path_.string() + " is not a folder"});
  return {};
}

StateFolder::Lock::~Lock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

Result<StateFolder::Lock> StateFolder::lock() const {
  const fs::path file = path_ / ".lock";
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return Result<Lock>::failure(systemError("cannot open", file, errno));
  Lock lock(fd);
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return Result<Lock>::failure(systemError("cannot lock", file, errno));
  }
  return lock;
}

Result<SimulatedMac::StateRead> StateFolder::readSettings() const {
  const auto file = readSmallFile(path_ / "settings");
  if (!file) return Result<SimulatedMac::StateRead>::failure(file.error());
  if (file->tooLarge)
    return SimulatedMac::StateRead{SimulatedMac::Settings::defaults(), {"too large to be a settings file"}};
  if (!file->bytes) return SimulatedMac::StateRead{SimulatedMac::Settings::defaults(), {}};
  return SimulatedMac::parseState(*file->bytes);
}

Status StateFolder::writeSettings(const SimulatedMac::Settings& settings) const {
  return writeAtomically(path_ / "settings", SimulatedMac::stateText(settings));
}

Result<fs::path> StateFolder::keepDamagedSettings() const {
  const fs::path copy = path_ / "settings.damaged";
  std::error_code error;
  fs::copy_file(path_ / "settings", copy, fs::copy_options::overwrite_existing, error);
  if (error)
    return Result<fs::path>::failure(Error{"cannot copy the settings to " + copy.string() + ": " + error.message()});
  return copy;
}

Result<StateFolder::DemoFile> StateFolder::readDemo() const {
  const auto file = readSmallFile(path_ / "demo");
  if (!file) return Result<DemoFile>::failure(file.error());
  if (file->tooLarge) return DemoFile{true, std::nullopt};
  if (!file->bytes) return DemoFile{};
  return DemoFile{true, DemoWeek::parseRecord(*file->bytes)};
}

Status StateFolder::writeDemo(const DemoWeek::Record& record) const {
  return writeAtomically(path_ / "demo", DemoWeek::recordText(record));
}

Result<SimulatedMac::Battery> StateFolder::readBattery() const {
  const auto file = readSmallFile(path_ / "battery");
  if (!file) return Result<SimulatedMac::Battery>::failure(file.error());
  if (file->tooLarge) return SimulatedMac::Battery{};  // not a battery file: no properties
  if (file->bytes) return SimulatedMac::parseBattery(*file->bytes);
  SimulatedMac::Battery battery = SimulatedMac::typicalBattery();
  const Status written = writeAtomically(path_ / "battery", SimulatedMac::batteryText(battery));
  if (!written) return Result<SimulatedMac::Battery>::failure(written.error());
  return battery;
}

Result<bool> StateFolder::streamLog(std::ostream& out) const {
  const fs::path file = path_ / "log";
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return false;
    return Result<bool>::failure(systemError("cannot read", file, errno));
  }
  std::vector<char> buffer(kLogBlock);
  while (true) {
    const ssize_t got = ::read(fd.get(), buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      // A folder named "log" fails here with EISDIR.
      return Result<bool>::failure(systemError("cannot read", file, errno));
    }
    if (got == 0) break;
    if (!out.write(buffer.data(), got)) return Result<bool>::failure(Error{"cannot write the log to standard output"});
  }
  if (!out.flush()) return Result<bool>::failure(Error{"cannot write the log to standard output"});
  return true;
}

Status StateFolder::writeAtomically(const fs::path& file, std::string_view contents) {
  std::string pattern = (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
  Descriptor fd(::mkstemp(pattern.data()));
  if (fd.get() < 0) return Status::failure(systemError("cannot create a temporary file next to", file, errno));
  const fs::path temporary = pattern;
  const auto fail = [&](std::string_view what, const fs::path& path) {
    const int number = errno;
    ::unlink(temporary.c_str());
    return Status::failure(systemError(what, path, number));
  };
  if (!writeAll(fd.get(), contents)) return fail("cannot write", temporary);
  if (::fsync(fd.get()) != 0) return fail("cannot flush", temporary);
  if (fd.close() != 0) return fail("cannot write", temporary);
  if (::rename(temporary.c_str(), file.c_str()) != 0) return fail("cannot replace", file);
  // The rename itself reaches the disk with the folder's own fsync.
  Descriptor folder(
      ::open(file.parent_path().empty() ? "." : file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  return {};
}

}  // namespace snoozlet
