#include "helper/Helper.h"

#include "common/Text.h"
#include "common/WriteAll.h"
#include "helper/KeepFile.h"
#include "journal/KernelCounts.h"
#include "settings/HelperCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <random>
#include <string_view>

namespace snoozlet::helper {

namespace {

namespace hc = helper_command;

// statfs's f_type of the kernel's sysfs.
constexpr long kSysfsMagic = 0x62656572;
// The kernel's attributes are a page at most; the helper's own files are small.
constexpr std::size_t kMaxRead = 1 << 20;

// A text as a message may show it: control characters and backslashes escaped.
std::string shown(std::string_view text) {
  std::string out = "'";
  for (const char c : text.substr(0, 300)) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f || c == '\\') {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  return out + (text.size() > 300 ? "…'" : "'");
}

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  ~Fd() { reset(); }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int fd_;
};

// Why the operation stops: refused (2, nothing touched) or failed (1).
struct Stop {
  int status = 2;
  std::string message;
};

Stop refused(std::string message) { return {2, std::move(message)}; }
Stop failed(std::string message) { return {1, std::move(message)}; }

std::string errorText(int error) { return std::strerror(error); }

// The path's elements, "/sys/power" → {"sys", "power"}.
std::vector<std::string> elements(std::string_view path) {
  std::vector<std::string> out;
  while (!path.empty()) {
    const auto slash = path.find('/');
    if (slash != 0) out.emplace_back(path.substr(0, slash));
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return out;
}

// Opens the folder `path` (absolute, as the system names it) below the root,
// one element at a time and never through a symbolic link. Missing elements
// from `createFrom` on are made.
std::optional<Stop> openFolder(int root, std::string_view path, Fd& out, std::size_t createFrom = SIZE_MAX) {
  Fd current(::fcntl(root, F_DUPFD_CLOEXEC, 0));
  std::string reached;
  const std::vector<std::string> names = elements(path);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    reached += "/" + name;
    int fd = ::openat(current.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && i >= createFrom) {
      if (::mkdirat(current.get(), name.c_str(), 0755) != 0 && errno != EEXIST) {
        return failed("could not make the folder " + reached + ": " + errorText(errno));
      }
      fd = ::openat(current.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (fd < 0) {
      const int error = errno;
      struct stat info {};
      if (::fstatat(current.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)) {
        return refused(reached + " is a symbolic link; snoozlet-helper does not follow it elsewhere");
      }
      if (error == ENOENT) return refused(reached + " does not exist");
      if (error == ENOTDIR) return refused(reached + " is not a folder");
      return failed("could not open " + reached + ": " + errorText(error));
    }
    current = Fd(fd);
  }
  out = std::move(current);
  return std::nullopt;
}

// Opens a file in the folder without following a link; it must be a regular
// file (and, on the machine, one of the kernel's for a sysfs file). A missing
// file is refused, or left closed in `out` when `mayBeMissing`.
std::optional<Stop> openFile(int folder, const std::string& name, int flags, const std::string& shownPath, bool sysfs,
                             Fd& out, bool mayBeMissing = false) {
  const int fd = ::openat(folder, name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    const int error = errno;
    if (error == ELOOP) return refused(shownPath + " is a symbolic link; snoozlet-helper does not follow it elsewhere");
    if (error == ENOENT && mayBeMissing) return std::nullopt;
    if (error == ENOENT) return refused(shownPath + " does not exist");
    return failed("could not open " + shownPath + ": " + errorText(error));
  }
  Fd file(fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return refused(shownPath + " is not a plain file");
  if (sysfs) {
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0 || static_cast<long>(fs.f_type) != kSysfsMagic) {
      return refused(shownPath + " is not the kernel's own file (not on sysfs)");
    }
  }
  out = std::move(file);
  return std::nullopt;
}

std::optional<Stop> readAll(int fd, const std::string& shownPath, std::string& text) {
  text.clear();
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return failed("could not read " + shownPath + ": " + errorText(errno));
    if (got == 0) return std::nullopt;
    if (text.size() + static_cast<std::size_t>(got) > kMaxRead) return refused(shownPath + " is far too large");
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

// An attribute's value without the white space around it.
std::string trimmed(std::string_view text) { return std::string(text::trimChars(text, " \t\r\n")); }

// A small text file as `name` in the folder, replaced atomically; removed
// when `text` is empty.
std::optional<Stop> replaceFile(int folder, const std::string& name, const std::string& text,
                                const std::string& shownPath) {
  if (text.empty()) {
    if (::unlinkat(folder, name.c_str(), 0) != 0 && errno != ENOENT) {
      return failed("could not remove " + shownPath + ": " + errorText(errno));
    }
    return std::nullopt;
  }
  std::random_device random;
  const std::string temporary = "." + name + ".tmp-" + std::to_string(random());
  const int fd = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return failed("could not write " + shownPath + ": " + errorText(errno));
  Fd file(fd);
  int error = 0;
  if (::fchmod(fd, 0644) != 0 || !writeAll(fd, text) || ::fsync(fd) != 0) error = errno != 0 ? errno : EIO;
  if (error == 0 && ::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlinkat(folder, temporary.c_str(), 0);
    return failed("could not write " + shownPath + ": " + errorText(error));
  }
  ::fsync(folder);
  return std::nullopt;
}

// The device's attributes a udev rule matches it by, read from its folder.
hc::DeviceIdentity identity(int device, const std::string& kernel) {
  hc::DeviceIdentity id;
  id.kernel = kernel;
  char link[4096];
  const ssize_t n = ::readlinkat(device, "subsystem", link, sizeof link - 1);
  if (n > 0) {
    const std::string target(link, static_cast<std::size_t>(n));
    id.subsystem = target.substr(target.rfind('/') + 1);
  }
  const auto attribute = [&](const char* name) {
    Fd fd(::openat(device, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    std::string text;
    if (!fd.valid() || readAll(fd.get(), name, text)) return std::string();
    return trimmed(text);
  };
  if (id.subsystem == "pci") {
    id.vendor = attribute("vendor");
    id.product = attribute("device");
  } else if (id.subsystem == "usb") {
    id.vendor = attribute("idVendor");
    id.product = attribute("idProduct");
  }
  return id;
}

// What a file standing in for the kernel's reads after `value` is written:
// mem_sleep lists every mode with the one in use in brackets.
std::string asTheKernelShows(hc::FileKind kind, const std::string& before, const std::string& value) {
  if (kind != hc::FileKind::memSleep) return value + "\n";
  std::string out;
  for (const std::string& mode : kernel_counts::memSleepModes(before)) {
    if (!out.empty()) out += ' ';
    out += mode == value ? "[" + mode + "]" : mode;
  }
  return out + "\n";
}

class Operation {
 public:
  Operation(const Invocation& invocation) : in_(invocation) {}

  Outcome run() {
    if (auto stop = check(); stop) return {stop->status, stop->message};
    if (auto stop = perform(); stop) return {stop->status, stop->message};
    return {0, message_};
  }

 private:
  std::optional<Stop> check() {
    const auto& a = in_.arguments;
    if (a.size() != 4 || a[0] != "write") {
      return refused("usage: snoozlet-helper write FILE VALUE keep|forget (one operation per run)");
    }
    file_ = a[1];
    value_ = a[2];
    const auto kind = hc::fileKind(file_);
    if (!kind) {
      return refused("not a file snoozlet-helper writes: " + shown(file_) +
                     " (only /sys/power/mem_sleep and /sys/devices/…/power/wakeup)");
    }
    kind_ = *kind;
    if (!hc::allowedValue(kind_, value_)) return refused("not a value " + file_ + " takes: " + shown(value_));
    if (a[3] != "keep" && a[3] != "forget") return refused("neither keep nor forget: " + shown(a[3]));
    keep_ = a[3] == "keep";
    if (in_.startedByPkexec && !in_.systemRoot.empty() && in_.systemRoot != "/") {
      return refused(
          "started through pkexec, snoozlet-helper changes only this machine's own files, never those "
          "under SNOOZLET_SYSTEM_ROOT=" +
          shown(in_.systemRoot));
    }
    const std::string root = in_.startedByPkexec || in_.systemRoot.empty() ? "/" : in_.systemRoot;
    root_ = Fd(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!root_.valid()) return refused("the system root " + shown(root) + " does not open: " + errorText(errno));
    struct stat mine {
    }, machine{};
    machine_ = ::fstat(root_.get(), &mine) == 0 && ::stat("/", &machine) == 0 && mine.st_dev == machine.st_dev &&
               mine.st_ino == machine.st_ino;
    return std::nullopt;
  }

  std::optional<Stop> perform() {
    const std::string folder = file_.substr(0, file_.rfind('/'));
    const std::string leaf = file_.substr(file_.rfind('/') + 1);
    Fd device;
    Fd parent;
    if (kind_ == hc::FileKind::wakeup) {
      deviceFolder_ = folder.substr(0, folder.rfind('/'));
      if (auto stop = openFolder(root_.get(), deviceFolder_, device)) return stop;
      if (auto stop = openFolder(device.get(), "power", parent)) return stop;
    } else if (auto stop = openFolder(root_.get(), folder, parent)) {
      return stop;
    }
    std::string before;
    {
      Fd current;
      if (auto stop = openFile(parent.get(), leaf, O_RDONLY, file_, machine_, current)) return stop;
      if (auto stop = readAll(current.get(), file_, before)) return stop;
    }
    std::string previous;
    if (kind_ == hc::FileKind::memSleep) {
      const auto modes = kernel_counts::memSleepModes(before);
      if (std::find(modes.begin(), modes.end(), value_) == modes.end()) {
        return refused("this laptop does not offer " + value_ + " sleep (" + file_ + " reads " +
                       shown(trimmed(before)) + ")");
      }
      previous = kernel_counts::currentMemSleep(before);
    } else {
      previous = trimmed(before);
    }
    if (!hc::allowedValue(kind_, previous)) {
      return refused(file_ + " reads " + shown(trimmed(before)) + ", not a value snoozlet-helper knows");
    }

    std::string line;
    if (keep_) {
      const std::string kernel = deviceFolder_.substr(deviceFolder_.rfind('/') + 1);
      const auto built = kind_ == hc::FileKind::memSleep ? hc::tmpfilesLine(file_, value_)
                                                         : hc::udevRule(identity(device.get(), kernel), value_);
      if (!built) {
        return refused("nothing can keep " + value_ + " in " + file_ +
                       " after a restart: " + built.error().description());
      }
      line = built.value();
    }

    // The boot-time file is opened and read first, so that a refusal there touches nothing.
    Fd keepFolder;
    std::string keptText;
    if (auto stop = readKeepFile(keepFolder, keptText)) return stop;
    if (auto stop = write(parent.get(), leaf, value_, before)) return stop;
    if (auto stop = updateKeepFile(keepFolder.get(), keptText, line)) {
      // Leave the machine as it was: the value goes back.
      if (write(parent.get(), leaf, previous, before)) {
        stop->message += "; and " + previous + " could not be written back into " + file_;
      } else {
        stop->message += "; " + file_ + " was put back to " + previous;
      }
      return stop;
    }
    const std::string keepFile(hc::keepFile(kind_));
    message_ = value_ + " → " + file_ + (keep_ ? "; kept after a restart by " : "; removed from ") + keepFile;
    return std::nullopt;
  }

  std::optional<Stop> write(int folder, const std::string& leaf, const std::string& value, const std::string& before) {
    Fd out;
    const int flags = machine_ ? O_WRONLY : O_WRONLY | O_TRUNC;
    if (auto stop = openFile(folder, leaf, flags, file_, machine_, out)) return stop;
    // The kernel reads the value alone; a file standing in for it is written as the kernel would show it.
    const std::string data = machine_ ? value : asTheKernelShows(kind_, before, value);
    if (!writeAll(out.get(), data)) {
      return failed("the kernel did not take " + value + " in " + file_ + ": " + errorText(errno));
    }
    return std::nullopt;
  }

  // Opens the folder of the boot-time file (/etc must be there; the folders
  // below it are made when missing) and reads the file, if there is one.
  std::optional<Stop> readKeepFile(Fd& folder, std::string& text) {
    const std::string path(hc::keepFile(kind_));
    if (auto stop = openFolder(root_.get(), path.substr(0, path.rfind('/')), folder, 1)) return stop;
    const std::string name = path.substr(path.rfind('/') + 1);
    text.clear();
    Fd existing;
    if (auto stop = openFile(folder.get(), name, O_RDONLY, path, false, existing, true)) return stop;
    return existing.valid() ? readAll(existing.get(), path, text) : std::nullopt;
  }

  std::optional<Stop> updateKeepFile(int folder, const std::string& text, const std::string& line) {
    const std::string path(hc::keepFile(kind_));
    std::string updated = keep_ ? keep_file::withEntry(text, file_, line) : keep_file::withoutEntry(text, file_);
    if (keep_file::onlyHeader(updated)) updated.clear();
    if (updated == text) return std::nullopt;
    return replaceFile(folder, path.substr(path.rfind('/') + 1), updated, path);
  }

  const Invocation& in_;
  std::string file_;
  std::string deviceFolder_;
  std::string value_;
  hc::FileKind kind_ = hc::FileKind::memSleep;
  bool keep_ = true;
  Fd root_;
  bool machine_ = false;
  std::string message_;
};

}  // namespace

Outcome run(const Invocation& invocation) { return Operation(invocation).run(); }

}  // namespace snoozlet::helper
