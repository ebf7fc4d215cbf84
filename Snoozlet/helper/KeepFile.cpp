#include "helper/KeepFile.h"

#include <vector>

namespace snoozlet::keep_file {

namespace {

constexpr std::string_view kHeader[] = {
    "# Written by Snoozlet's helper (snoozlet-helper): each entry below sets a value",
    "# again at every boot. Snoozlet's undo removes its entry; 'snoozlet undo' lists them.",
};

std::vector<std::string> lines(std::string_view text) {
  std::vector<std::string> out;
  while (!text.empty()) {
    const auto newline = text.find('\n');
    out.emplace_back(text.substr(0, newline));
    text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
  }
  return out;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

std::string marker(std::string_view file) { return "# " + std::string(file); }

// Where the entry for `file` starts: its comment, followed by its line.
std::size_t find(const std::vector<std::string>& all, std::string_view file) {
  const std::string mark = marker(file);
  for (std::size_t i = 0; i + 1 < all.size(); ++i) {
    if (all[i] == mark && !all[i + 1].empty() && all[i + 1][0] != '#') return i;
  }
  return all.size();
}

bool isHeader(std::string_view line) {
  for (std::string_view h : kHeader) {
    if (line == h) return true;
  }
  return line.empty();
}

}  // namespace

std::string withEntry(std::string_view text, std::string_view file, std::string_view line) {
  std::vector<std::string> all = lines(text);
  if (all.empty()) all.assign(std::begin(kHeader), std::end(kHeader));
  if (const std::size_t at = find(all, file); at < all.size()) {
    all[at + 1] = line;
  } else {
    all.push_back(marker(file));
    all.emplace_back(line);
  }
  return joined(all);
}

std::string withoutEntry(std::string_view text, std::string_view file) {
  std::vector<std::string> all = lines(text);
  if (const std::size_t at = find(all, file); at < all.size()) all.erase(all.begin() + at, all.begin() + at + 2);
  return joined(all);
}

bool onlyHeader(std::string_view text) {
  for (const std::string& line : lines(text)) {
    if (!isHeader(line)) return false;
  }
  return true;
}

}  // namespace snoozlet::keep_file
