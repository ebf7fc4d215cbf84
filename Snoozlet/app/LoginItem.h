#pragma once

// The open-at-login switch. The application uses the platform's own login
// item (an XDG autostart entry on Linux); tests and previews use the fake.

#include "common/Result.h"

namespace snoozlet {

class LoginItem {
 public:
  virtual ~LoginItem() = default;

  // True when the application is started at login.
  virtual bool isEnabled() const = 0;
  // Registers or unregisters the application; a failure carries the
  // system's reason, shown next to the switch, and leaves isEnabled as the
  // system reports it.
  virtual Status setEnabled(bool enabled) = 0;
};

// A login item that only remembers the value and never fails.
class FakeLoginItem final : public LoginItem {
 public:
  explicit FakeLoginItem(bool enabled = false) : enabled_(enabled) {}
  bool isEnabled() const override { return enabled_; }
  Status setEnabled(bool enabled) override {
    enabled_ = enabled;
    return {};
  }

 private:
  bool enabled_;
};

}  // namespace snoozlet
