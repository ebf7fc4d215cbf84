#pragma once

// Reads the kernel's wake counts around every sleep of a Linux laptop and
// keeps the difference with that sleep in the night archive.
//
// logind lets a program hold a sleep for a moment: a "delay" inhibitor lock
// (Inhibit("sleep", "Snoozlet", why, "delay") on the system bus, a file
// descriptor). On PrepareForSleep(true) the counts are read and the lock's
// descriptor closed, which lets the sleep go on; on PrepareForSleep(false) the
// counts are read again, the difference is stored, and a new lock is taken
// for the next sleep. A sleep whose start was not seen (the application
// started while it went on, or the lock could not be had) stores nothing.

#include "common/Instant.h"
#include "journal/KernelCounts.h"
#include "platform/linux/SystemRoot.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>

#include <filesystem>
#include <functional>
#include <optional>

namespace snoozlet::shell {

class SleepCounter : public QObject {
  Q_OBJECT

 public:
  struct Options {
    // Where the kernel's files are read.
    SystemRoot root = SystemRoot::fromEnvironment();
    // The night archive the counts are kept in.
    std::filesystem::path archive;
    // "Now"; the system clock when empty.
    std::function<Instant()> clock;
  };

  // Listens to logind on `bus` and takes the first lock; without logind it
  // does nothing (isListening() is false).
  SleepCounter(QDBusConnection bus, Options options, QObject* parent = nullptr);

  bool isListening() const { return listening_; }
  // A delay lock is held now.
  bool holdsLock() const { return lock_.isValid(); }

 signals:
  // A sleep's counts were kept in the archive.
  void stored();
  // Keeping them failed: the archive's message.
  void storeFailed(const QString& message);

 private slots:
  void prepareForSleep(bool starting);

 private:
  void takeLock();
  Instant now() const;

  QDBusConnection bus_;
  Options options_;
  bool listening_ = false;
  bool asleep_ = false;
  QDBusUnixFileDescriptor lock_;
  std::optional<KernelSnapshot> before_;
};

}  // namespace snoozlet::shell
