#include "app/XdgLoginItem.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QString>

#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>

namespace snoozlet {

namespace fs = std::filesystem;

namespace {

// Messages are marked with QT_TRANSLATE_NOOP where they are written and looked
// up here, in the "XdgLoginItem" context.
std::string translated(const char* text) { return QCoreApplication::translate("XdgLoginItem", text).toStdString(); }

Status failure(const char* format, const fs::path& path, const std::string& reason) {
  const QString message = QCoreApplication::translate("XdgLoginItem", format)
                              .arg(QString::fromStdString(path.string()), QString::fromStdString(reason));
  return Status::failure(Error{message.toStdString()});
}

// True for the characters an Exec argument may hold only inside quotes.
bool isReserved(char c) {
  static constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
  return reserved.find(c) != std::string_view::npos;
}

}  // namespace

XdgLoginItem::XdgLoginItem(fs::path program, std::optional<fs::path> configHome)
    : program_(std::move(program)),
      file_(configHome.value_or(defaultConfigHome()) / "autostart" / "snoozlet.desktop") {}

fs::path XdgLoginItem::defaultConfigHome() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr && *home != '\0' ? home : "/tmp") / ".config";
}

std::string XdgLoginItem::execArgument(const std::string& program) {
  std::string out;
  bool quote = false;
  for (char c : program) quote = quote || isReserved(c);
  if (quote) out += '"';
  for (char c : program) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
    out += c;
  }
  if (quote) out += '"';
  // The value is a desktop-entry string, whose own escapes come on top: a
  // backslash doubles. A percent sign would start a field code.
  std::string escaped;
  for (char c : out) {
    if (c == '\\')
      escaped += "\\\\";
    else if (c == '%')
      escaped += "%%";
    else
      escaped += c;
  }
  return escaped;
}

Result<std::string> XdgLoginItem::desktopEntry(const fs::path& program) {
  const std::string path = program.string();
  for (char c : path) {
    if (c == '\n' || c == '\r') {
      return Result<std::string>::failure(Error{translated(
          QT_TRANSLATE_NOOP("XdgLoginItem", "The program’s path holds a line break and can’t start at login."))});
    }
  }
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Snoozlet\n"
         "Exec=" +
         execArgument(path) +
         " --login-item\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

bool XdgLoginItem::isEnabled() const {
  std::ifstream in(file_);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return false;
  }
  return true;
}

Status XdgLoginItem::setEnabled(bool enabled) {
  std::error_code error;
  if (!enabled) {
    if (!fs::remove(file_, error) && error)
      return failure(QT_TRANSLATE_NOOP("XdgLoginItem", "Couldn’t remove %1: %2"), file_, error.message());
    return {};
  }
  auto entry = desktopEntry(program_);
  if (!entry) return Status::failure(entry.error());
  const fs::path folder = file_.parent_path();
  fs::create_directories(folder, error);
  if (error)
    return failure(QT_TRANSLATE_NOOP("XdgLoginItem", "Couldn’t create the folder %1: %2"), folder, error.message());

  QSaveFile out(QString::fromStdString(file_.string()));
  if (!out.open(QIODevice::WriteOnly))
    return failure(QT_TRANSLATE_NOOP("XdgLoginItem", "Couldn’t write %1: %2"), file_, out.errorString().toStdString());
  const std::string& text = entry.value();
  if (out.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) || !out.commit()) {
    return failure(QT_TRANSLATE_NOOP("XdgLoginItem", "Couldn’t write %1: %2"), file_, out.errorString().toStdString());
  }
  return {};
}

}  // namespace snoozlet
