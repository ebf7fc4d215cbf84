#pragma once

// Where the morning notification goes: the desktop's notification service
// (freedesktop notifications over D-Bus on Linux). The notifier talks to
// this interface only; tests put a recording one in its place.

#include <QString>

#include <functional>

namespace snoozlet {

class NotificationCenter {
 public:
  virtual ~NotificationCenter() = default;

  // Asks whether notifications can be shown. The answer arrives through
  // `done` on the calling thread, possibly before this returns; never blocks.
  virtual void requestAuthorization(std::function<void(bool granted)> done) = 0;

  // Shows a notification at once. Posting an identifier again replaces the
  // notification shown under it. Whether it was shown is not reported.
  virtual void post(const QString& identifier, const QString& title, const QString& body) = 0;
};

}  // namespace snoozlet
