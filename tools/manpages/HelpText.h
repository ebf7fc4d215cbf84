#pragma once

// The shape of the project's --help texts, read back so that the manual pages
// can be made from the same text the programs print:
//
//   usage: snoozlet <command> [options]     the synopsis ("usage:" or "Usage:"),
//          snoozlet --measure               continued by the indented lines after it
//
//   Text at the margin is a paragraph;      lines join until a blank line
//
//   Heading:                                a line at the margin ending in ':' starts a
//                                           section, unless it continues a paragraph
//                                           or the next line is at the margin too
//     --term ARG    what it does            an entry: two spaces, a term, a gap of two
//                   and more of it          or more spaces, the text; deeper lines go on
//     --term-alone                          a term whose text starts on the next,
//                   its text                deeper line
//     (a note)                              two spaces and no gap: paragraph text
//
//       an example, as written              four or more spaces outside an entry
//
// Reading never fails: every line lands in some block.

#include <string>
#include <string_view>
#include <vector>

namespace snoozlet::manual {

struct HelpBlock {
  enum class Kind { paragraph, entry, example };
  Kind kind = Kind::paragraph;
  // An entry's term ("--data-dir DIR"); empty for the other kinds.
  std::string term;
  // A paragraph's or an entry's lines joined by single spaces; an example's
  // lines as written, less their common indentation, each ending in '\n'.
  std::string text;

  bool operator==(const HelpBlock&) const = default;
};

struct HelpSection {
  // Without the colon; empty for what comes before the first heading.
  std::string heading;
  std::vector<HelpBlock> blocks;

  bool operator==(const HelpSection&) const = default;
};

struct HelpText {
  // The synopsis lines, without "usage: " and the indentation.
  std::vector<std::string> synopsis;
  // The untitled section first (it may be empty), then each headed one.
  std::vector<HelpSection> sections;
};

HelpText parseHelp(std::string_view text);

}  // namespace snoozlet::manual
