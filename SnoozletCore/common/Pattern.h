#pragma once

// A regular expression compiled once and shared for the life of the program.
// Backed by RE2, which matches in time linear in the input: a hostile or
// corrupt log line cannot make a pattern run away.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SnoozletRe2;

namespace snoozlet {

// Capture groups of one match: index 0 is the whole match; a group that did
// not take part in the match is absent (which differs from an empty match).
using MatchGroups = std::vector<std::optional<std::string>>;

// The same groups as views into the matched text.
using MatchViews = std::vector<std::optional<std::string_view>>;

class Pattern {
 public:
  // Compiles the pattern (UTF-8, case-sensitive, "." not matching a line
  // break, "^"/"$" at the ends of the text). A pattern that does not compile
  // is a programming error: the program stops with a message.
  explicit Pattern(std::string_view pattern);
  ~Pattern();
  Pattern(const Pattern&) = delete;
  Pattern& operator=(const Pattern&) = delete;

  // Number of capture groups (not counting group 0).
  int groupCount() const;

  // The first match anywhere in `text`, or nothing.
  std::optional<MatchGroups> firstMatch(std::string_view text) const;

  // Every non-overlapping match, left to right.
  std::vector<MatchGroups> allMatches(std::string_view text) const;

  // Allocation-free form of firstMatch: fills `groups` (resized to
  // groupCount() + 1) with views into `text`; false when there is no match.
  bool match(std::string_view text, MatchViews& groups) const;

  // Calls `visit` with the groups of every non-overlapping match, left to right.
  template <typename Visit>
  void forEachMatch(std::string_view text, Visit&& visit) const {
    MatchViews groups;
    std::size_t position = 0;
    while (position <= text.size() && matchAt(text, position, groups)) {
      visit(static_cast<const MatchViews&>(groups));
      const auto& whole = *groups[0];
      const std::size_t end = static_cast<std::size_t>(whole.data() - text.data()) + whole.size();
      position = whole.empty() ? nextCharacter(text, end) : end;
    }
  }

  // Replaces every match by `replacement` (taken literally).
  std::string replaceAll(std::string_view text, std::string_view replacement) const;

  // True when the pattern matches somewhere in `text`.
  bool contains(std::string_view text) const;

 private:
  bool matchAt(std::string_view text, std::size_t position, MatchViews& groups) const;
  static std::size_t nextCharacter(std::string_view text, std::size_t position);

  struct Release {
    void operator()(SnoozletRe2* re) const;
  };
  std::unique_ptr<SnoozletRe2, Release> re_;
  int groups_ = 0;
};

// Converts views to owned strings, keeping absent groups absent.
MatchGroups toGroups(const MatchViews& views);

}  // namespace snoozlet
