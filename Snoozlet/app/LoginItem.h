#pragma once

// The open-at-login switch. The application uses the platform's own login
// item (an XDG autostart entry on Linux); tests and previews use the fake.

#include "common/Result.h"

#include <optional>
#include <string>
#include <utility>

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

// A login item that only remembers the value; told to refuse, it fails with
// the reason given and stays as it was, as a system that says no would.
class FakeLoginItem final : public LoginItem {
 public:
  explicit FakeLoginItem(bool enabled = false) : enabled_(enabled) {}
  bool isEnabled() const override { return enabled_; }
  Status setEnabled(bool enabled) override {
    if (refusal_) return Status::failure(Error{*refusal_});
    enabled_ = enabled;
    return {};
  }
  void refuse(std::optional<std::string> reason) { refusal_ = std::move(reason); }

 private:
  bool enabled_;
  std::optional<std::string> refusal_;
};

}  // namespace snoozlet
