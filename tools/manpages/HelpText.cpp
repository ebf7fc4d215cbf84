#include "HelpText.h"

#include <cstddef>

namespace snoozlet::manual {

namespace {

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::size_t indentOf(std::string_view line) {
  const std::size_t first = line.find_first_not_of(' ');
  return first == std::string_view::npos ? line.size() : first;
}

std::string_view trimmed(std::string_view line) {
  line.remove_prefix(indentOf(line));
  while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t')) line.remove_suffix(1);
  return line;
}

bool isBlank(std::string_view line) { return trimmed(line).empty(); }

// "usage: " or "Usage: " at the margin; what follows it.
bool startsSynopsis(std::string_view line) {
  return line.size() > 6 && (line[0] == 'u' || line[0] == 'U') && line.substr(1, 5) == "sage:";
}

void join(std::string& text, std::string_view more) {
  if (!text.empty()) text += ' ';
  text += more;
}

class Reader {
 public:
  explicit Reader(std::string_view text) : lines_(splitLines(text)) { help_.sections.emplace_back(); }

  HelpText read() {
    for (index_ = 0; index_ < lines_.size(); ++index_) take(lines_[index_]);
    return std::move(help_);
  }

 private:
  enum class Open { none, synopsis, paragraph, entry, example };

  void take(std::string_view line) {
    if (isBlank(line)) {
      close();
      return;
    }
    const std::size_t indent = indentOf(line);
    const std::string_view words = trimmed(line);
    if (indent == 0 && startsSynopsis(line)) {
      close();
      help_.synopsis.emplace_back(trimmed(line.substr(6)));
      open_ = Open::synopsis;
      return;
    }
    if (open_ == Open::synopsis && indent > 0) {
      help_.synopsis.emplace_back(words);
      return;
    }
    if (indent == 0) {
      if (open_ == Open::paragraph) {
        join(last().text, words);
        return;
      }
      close();
      const bool nextAtMargin =
          index_ + 1 < lines_.size() && !isBlank(lines_[index_ + 1]) && indentOf(lines_[index_ + 1]) == 0;
      if (words.back() == ':' && !nextAtMargin) {
        help_.sections.push_back(HelpSection{std::string(words.substr(0, words.size() - 1)), {}});
      } else {
        add(HelpBlock{HelpBlock::Kind::paragraph, {}, std::string(words)});
        open_ = Open::paragraph;
      }
      return;
    }
    if (open_ == Open::entry && indent > entryIndent_) {
      join(last().text, words);
      return;
    }
    if (open_ == Open::example && indent >= exampleIndent_) {
      last().text += std::string(line.substr(exampleIndent_)) + '\n';
      return;
    }
    if (indent < 4) {
      takeIndented(indent, words);
      return;
    }
    close();
    exampleIndent_ = indent;
    add(HelpBlock{HelpBlock::Kind::example, {}, std::string(line.substr(indent)) + '\n'});
    open_ = Open::example;
  }

  // A line indented by one to three spaces: an entry, or paragraph text.
  void takeIndented(std::size_t indent, std::string_view words) {
    const std::size_t gap = words.find("  ");
    const bool deeperNext =
        index_ + 1 < lines_.size() && !isBlank(lines_[index_ + 1]) && indentOf(lines_[index_ + 1]) > indent;
    if (gap == std::string_view::npos && !deeperNext) {
      if (open_ == Open::paragraph) {
        join(last().text, words);
      } else {
        close();
        add(HelpBlock{HelpBlock::Kind::paragraph, {}, std::string(words)});
        open_ = Open::paragraph;
      }
      return;
    }
    close();
    HelpBlock entry{HelpBlock::Kind::entry, std::string(words.substr(0, gap)), {}};
    if (gap != std::string_view::npos) entry.text = std::string(trimmed(words.substr(gap)));
    add(std::move(entry));
    entryIndent_ = indent;
    open_ = Open::entry;
  }

  HelpBlock& last() { return help_.sections.back().blocks.back(); }
  void add(HelpBlock block) { help_.sections.back().blocks.push_back(std::move(block)); }

  void close() { open_ = Open::none; }

  std::vector<std::string_view> lines_;
  std::size_t index_ = 0;
  HelpText help_;
  Open open_ = Open::none;
  std::size_t entryIndent_ = 0;
  std::size_t exampleIndent_ = 0;
};

}  // namespace

HelpText parseHelp(std::string_view text) { return Reader(text).read(); }

}  // namespace snoozlet::manual
