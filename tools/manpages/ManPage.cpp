#include "ManPage.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>

namespace snoozlet::manual {

namespace {

enum class Place { description, commands, options, exitStatus, environment, files, count };

constexpr std::array<std::string_view, static_cast<std::size_t>(Place::count)> kTitles = {
    "DESCRIPTION", "COMMANDS", "OPTIONS", "EXIT STATUS", "ENVIRONMENT", "FILES"};

struct Destination {
  Place place;
  // The heading stays, as a subsection, where it is not the section's own name.
  bool titled;
};

Destination destinationOf(std::string_view heading) {
  if (heading.empty()) return {Place::description, false};
  if (heading == "Commands") return {Place::commands, false};
  if (heading.starts_with("Options")) return {Place::options, false};
  if (heading == "Exit status") return {Place::exitStatus, false};
  if (heading == "Environment") return {Place::environment, false};
  if (heading.starts_with("Testing aid")) return {Place::environment, true};
  if (heading == "Files") return {Place::files, false};
  return {Place::description, true};
}

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> out;
  while (!text.empty()) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) break;
    text.remove_prefix(start);
    const std::size_t end = text.find(' ');
    out.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end);
  }
  return out;
}

// A placeholder the reader fills in: DIR, FILE, [MOOD], FIXID..., RECORD-ID.
bool isPlaceholder(std::string_view word) {
  bool letter = false;
  for (const char c : word) {
    if (std::isupper(static_cast<unsigned char>(c))) {
      letter = true;
    } else if (!std::isdigit(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '[' && c != ']' &&
               c != '.' && c != ',') {
      return false;
    }
  }
  return letter;
}

std::string styled(char font, std::string_view word) { return std::string("\\f") + font + roffText(word) + "\\fR"; }

// An entry's term: options and names in bold, the placeholders after an
// option in italics, paths in italics.
std::string termText(std::string_view term) {
  const auto list = words(term);
  std::string out;
  char firstFont = 'B';
  bool optionSeen = false;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string_view word = list[i];
    char font = 'R';
    if (word.starts_with('-')) {
      font = 'B';
      optionSeen = true;
    } else if (i == 0) {
      font = word.starts_with('/') || word.starts_with('~') || word.starts_with('$') ? 'I' : 'B';
      firstFont = font;
    } else if (optionSeen) {
      font = isPlaceholder(word) ? 'I' : 'R';
    } else {
      font = firstFont;
    }
    if (!out.empty()) out += ' ';
    out += styled(font, word);
  }
  return out;
}

// A synopsis line: the program and command words in bold, the rest as
// written, spaces and all (no-fill mode keeps them).
std::string synopsisLine(std::string_view line) {
  std::string out;
  bool naming = true;
  while (!line.empty()) {
    const std::size_t space = line.find_first_of(' ');
    const std::string_view word = line.substr(0, space);
    naming = naming && !word.starts_with('-') && !word.starts_with('[') && !word.starts_with('<') &&
             !word.starts_with('|') && !isPlaceholder(word);
    out += naming ? styled('B', word) : roffText(word);
    if (space == std::string_view::npos) break;
    const std::size_t next = line.find_first_not_of(' ', space);
    out.append(next == std::string_view::npos ? 0 : next - space, ' ');
    line.remove_prefix(next == std::string_view::npos ? line.size() : next);
  }
  return out + '\n';
}

void renderBlocks(std::string& out, const std::vector<HelpBlock>& blocks) {
  for (const HelpBlock& block : blocks) {
    switch (block.kind) {
      case HelpBlock::Kind::paragraph: out += ".PP\n" + roffText(block.text) + '\n'; break;
      case HelpBlock::Kind::entry:
        out += ".TP\n" + termText(block.term) + '\n';
        if (!block.text.empty()) out += roffText(block.text) + '\n';
        break;
      case HelpBlock::Kind::example: out += ".PP\n.RS 4\n.nf\n" + roffText(block.text) + ".fi\n.RE\n"; break;
    }
  }
}

void renderSynopsis(std::string& out, const std::vector<std::string>& synopsis) {
  if (synopsis.empty()) return;
  out += ".nf\n";
  for (const std::string& line : synopsis) out += synopsisLine(line);
  out += ".fi\n";
}

std::string commandSubsection(const CommandHelp& command) {
  std::string out = ".SS " + roffText(command.name) + '\n';
  renderSynopsis(out, command.help.synopsis);
  for (const HelpSection& section : command.help.sections) {
    if (destinationOf(section.heading).place == Place::options && section.heading != "Options") continue;
    if (!section.heading.empty()) out += ".PP\n" + styled('I', section.heading + ":") + '\n';
    renderBlocks(out, section.blocks);
  }
  return out;
}

void appendCodePoint(std::string& out, std::uint32_t point) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "\\[u%04X]", static_cast<unsigned>(point));
  out += buffer;
}

}  // namespace

std::string roffText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  bool lineStart = true;
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (lineStart && (byte == '.' || byte == '\'')) out += "\\&";
    lineStart = byte == '\n';
    if (byte < 0x80) {
      if (byte == '\\') {
        out += "\\e";
      } else if (byte == '-') {
        out += "\\-";
      } else {
        out += static_cast<char>(byte);
      }
      ++i;
      continue;
    }
    // A UTF-8 sequence; a broken one shows as a question mark.
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 0;
    std::uint32_t point = length == 4 ? byte & 0x07u : length == 3 ? byte & 0x0Fu : byte & 0x1Fu;
    bool whole = length != 0 && i + length <= text.size() && byte < 0xF8;
    for (std::size_t k = 1; whole && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      whole = (next & 0xC0u) == 0x80u;
      point = (point << 6) | (next & 0x3Fu);
    }
    if (whole) {
      appendCodePoint(out, point);
      i += length;
    } else {
      out += '?';
      ++i;
    }
  }
  return out;
}

std::string render(const ManPage& page) {
  std::array<std::string, static_cast<std::size_t>(Place::count)> parts;
  const auto part = [&](Place place) -> std::string& { return parts[static_cast<std::size_t>(place)]; };
  for (const HelpSection& section : page.help.sections) {
    const Destination to = destinationOf(section.heading);
    if (to.place == Place::commands && !page.commands.empty()) continue;
    std::string& out = part(to.place);
    if (to.titled) out += ".SS " + roffText(section.heading) + '\n';
    renderBlocks(out, section.blocks);
  }
  for (const CommandHelp& command : page.commands) part(Place::commands) += commandSubsection(command);

  std::string upper;
  for (const char c : page.program) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::string out = ".\\\" Made from the programs' --help texts by snoozlet-manpages; do not edit.\n";
  out += ".TH " + roffText(upper) + " 1 \"" + page.date + "\" \"" + roffText(page.source) + "\" \"User Commands\"\n";
  out += ".SH NAME\n" + roffText(page.program) + " \\- " + roffText(page.summary) + '\n';
  if (!page.help.synopsis.empty()) {
    out += ".SH SYNOPSIS\n";
    renderSynopsis(out, page.help.synopsis);
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (parts[i].empty()) continue;
    out += ".SH " + std::string(kTitles[i]) + '\n' + parts[i];
  }
  if (!page.seeAlso.empty()) {
    out += ".SH SEE ALSO\n";
    for (std::size_t i = 0; i < page.seeAlso.size(); ++i) {
      const std::string& reference = page.seeAlso[i];
      const std::size_t open = reference.find('(');
      out += styled('B', std::string_view(reference).substr(0, open));
      if (open != std::string::npos) out += reference.substr(open);
      out += i + 1 < page.seeAlso.size() ? ",\n" : "\n";
    }
  }
  return out;
}

}  // namespace snoozlet::manual
