#pragma once

#include "app/LoginItem.h"

#include <filesystem>
#include <optional>
#include <string>

namespace snoozlet {

// The login item of freedesktop desktops: an autostart entry,
// <config home>/autostart/snoozlet.desktop, that starts the program with
// "--login-item" so that it opens no window. Enabling writes the file
// (atomically), disabling removes it.
class XdgLoginItem final : public LoginItem {
 public:
  // `program` is the executable to start; `configHome` the folder holding
  // "autostart" (by default $XDG_CONFIG_HOME when absolute, else ~/.config).
  explicit XdgLoginItem(std::filesystem::path program, std::optional<std::filesystem::path> configHome = std::nullopt);

  // The file exists and no desktop has switched it off (Hidden=true or
  // X-GNOME-Autostart-enabled=false).
  bool isEnabled() const override;
  // Errors name the path and the reason ("Couldn’t write …: …").
  Status setEnabled(bool enabled) override;

  const std::filesystem::path& file() const { return file_; }

  // $XDG_CONFIG_HOME when it is an absolute path, else $HOME/.config.
  static std::filesystem::path defaultConfigHome();
  // The desktop entry starting `program` at login, or an error when the
  // path cannot be written into one (it holds a line break).
  static Result<std::string> desktopEntry(const std::filesystem::path& program);
  // The program as one argument of an Exec line: quoted and escaped when it
  // holds a character the desktop entry format reserves.
  static std::string execArgument(const std::string& program);

 private:
  std::filesystem::path program_;
  std::filesystem::path file_;
};

}  // namespace snoozlet
