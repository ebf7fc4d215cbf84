#include "HelpText.h"
#include "ManPage.h"
#include "Pages.h"
#include "PmsetArguments.h"
#include "cli/MeasureCommand.h"
#include "cli/ModelCommands.h"
#include "cli/ProgramHelp.h"
#include "cli/ReportCommand.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace snoozlet::manual {
namespace {

using Kind = HelpBlock::Kind;

}  // namespace

void PrintTo(const HelpBlock& block, std::ostream* out) {
  *out << "{" << static_cast<int>(block.kind) << ", \"" << block.term << "\", \"" << block.text << "\"}";
}

void PrintTo(const HelpSection& section, std::ostream* out) {
  *out << "\"" << section.heading << "\": ";
  for (const HelpBlock& block : section.blocks) PrintTo(block, out);
}

namespace {

TEST(HelpTextTest, ReadsEveryShapeOfTheLayout) {
  const HelpText help = parseHelp(
      "usage: prog run [--x]\n"
      "       prog --y\n"
      "\n"
      "An opening paragraph\n"
      "whose line ends in a colon:\n"
      "and goes on.\n"
      "\n"
      "A paragraph whose first line ends in a colon:\n"
      "is no heading.\n"
      "\n"
      "Heading:\n"
      "  --a ARG     first\n"
      "              more of it\n"
      "  --bee\n"
      "              a term's text on the next line\n"
      "  (a note)\n"
      "\n"
      "  a paragraph set in by two,\n"
      "  then an entry\n"
      "  Z  z\n"
      "\n"
      "    an  example\n"
      "      deeper\n"
      "A paragraph after the entries\n"
      "\n"
      "Other:\n"
      "  X_Y  value\n");
  EXPECT_EQ(help.synopsis, (std::vector<std::string>{"prog run [--x]", "prog --y"}));
  const std::vector<HelpSection> expected = {
      {"",
       {{Kind::paragraph, "", "An opening paragraph whose line ends in a colon: and goes on."},
        {Kind::paragraph, "", "A paragraph whose first line ends in a colon: is no heading."}}},
      {"Heading",
       {{Kind::entry, "--a ARG", "first more of it"},
        {Kind::entry, "--bee", "a term's text on the next line"},
        {Kind::paragraph, "", "(a note)"},
        {Kind::paragraph, "", "a paragraph set in by two, then an entry"},
        {Kind::entry, "Z", "z"},
        {Kind::example, "", "an  example\n  deeper\n"},
        {Kind::paragraph, "", "A paragraph after the entries"}}},
      {"Other", {{Kind::entry, "X_Y", "value"}}},
  };
  EXPECT_EQ(help.sections, expected);
}

TEST(ManPageTest, RoffTextEscapesWhatRoffWouldReadAsCommands) {
  EXPECT_EQ(roffText(".hidden\n'quoted\nC:\\path --data-dir a-b"),
            "\\&.hidden\n\\&'quoted\nC:\\epath \\-\\-data\\-dir a\\-b");
  EXPECT_EQ(roffText("… — ğ 😴"), "\\[u2026] \\[u2014] \\[u011F] \\[u1F634]");
  EXPECT_EQ(roffText("cut \xE2\x80 off \xFF"), "cut ?? off ?");
}

// The page as a reader sees its words: escapes and font changes undone.
std::string plainText(const std::string& page) {
  std::string out;
  for (std::size_t i = 0; i < page.size(); ++i) {
    if (page[i] != '\\' || i + 1 == page.size()) {
      out += page[i];
      continue;
    }
    const char next = page[++i];
    if (next == '-') {
      out += '-';
    } else if (next == 'e') {
      out += '\\';
    } else if (next == 'f') {
      ++i;
    } else if (next == '[') {
      const std::size_t end = page.find(']', i);
      const auto point = std::stoul(page.substr(i + 2, end - i - 2), nullptr, 16);
      if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
      } else if (point >= 0x10000) {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
      } else {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
      }
      out += static_cast<char>(0x80 | (point & 0x3F));
      i = end;
    }  // "\&" is nothing
  }
  return out;
}

// Every word of the help text is on the page (a heading may become the name
// of a section), and every line the page starts with a dot is a macro of the
// page's own.
void expectWholeHelp(const std::string& page, const std::string& help, const std::string& what) {
  const std::string plain = plainText(page);
  std::istringstream helpLines(help);
  for (std::string line; std::getline(helpLines, line);) {
    if (!line.empty() && line.front() != ' ' && line.back() == ':') continue;
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      if (word == "usage:" || word == "Usage:") continue;
      EXPECT_NE(plain.find(word), std::string::npos) << what << ": '" << word << "' is missing";
    }
  }
  std::istringstream lines(page);
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with('.')) continue;
    const std::string macro = line.substr(0, line.find(' '));
    EXPECT_TRUE(macro == ".\\\"" || macro == ".TH" || macro == ".SH" || macro == ".SS" || macro == ".PP" ||
                macro == ".TP" || macro == ".RS" || macro == ".RE" || macro == ".nf" || macro == ".fi")
        << what << ": " << line;
  }
}

TEST(ManPageTest, TheProgramsPagesHoldTheirHelpTextsInTheUsualSections) {
  const Release release{"1.0", "2026-12-07"};
  const std::string snoozlet = snoozletPage(release);
  std::string overview = cli::programHelp();
  // The short list of commands gives way to each command's own help.
  overview.erase(overview.find("Commands:"), overview.find("\nOptions of every command:") - overview.find("Commands:"));
  expectWholeHelp(snoozlet, overview, "snoozlet --help");
  expectWholeHelp(snoozlet, cli::reportHelp(), "report --help");
  expectWholeHelp(snoozlet, cli::measureHelp(), "--measure --help");
  for (const cli::ModelCommand& command : cli::modelCommands()) {
    expectWholeHelp(snoozlet, command.help(), std::string(command.name) + " --help");
    EXPECT_NE(snoozlet.find("\n.SS " + std::string(command.name) + "\n"), std::string::npos) << command.name;
  }
  EXPECT_EQ(snoozlet.find("Options of every command"), std::string::npos) << "given once, as OPTIONS";
  EXPECT_EQ(plainText(snoozlet).find(cli::modelCommands().front().summary), std::string::npos)
      << "the short list of commands is left out";
  EXPECT_NE(snoozlet.find("\n.TH SNOOZLET 1 \"2026-12-07\" \"Snoozlet 1.0\" \"User Commands\"\n"), std::string::npos);
  std::size_t previous = 0;
  for (const char* section :
       {"NAME", "SYNOPSIS", "DESCRIPTION", "COMMANDS", "OPTIONS", "EXIT STATUS", "ENVIRONMENT", "FILES", "SEE ALSO"}) {
    const std::size_t at = snoozlet.find(std::string("\n.SH ") + section + "\n");
    EXPECT_NE(at, std::string::npos) << section;
    EXPECT_GT(at, previous) << section << " out of order";
    previous = at;
  }

  const std::string pmset = pmsetPage(release);
  expectWholeHelp(pmset, PmsetArguments::help(), "snoozlet-pmset --help");
  previous = 0;
  for (const char* section :
       {"\n.SH COMMANDS\n", "\n.SH EXIT STATUS\n", "\n.SH ENVIRONMENT\n", "\n.SS Testing aids\n", "\n.SH FILES\n"}) {
    const std::size_t at = pmset.find(section);
    EXPECT_NE(at, std::string::npos) << section;
    EXPECT_GT(at, previous) << section << " out of order";
    previous = at;
  }
}

}  // namespace
}  // namespace snoozlet::manual
