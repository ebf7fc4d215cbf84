#include "common/Pattern.h"

#include "common/Re2Engine.h"

#include <cstdio>
#include <cstdlib>

namespace snoozlet {

void Pattern::Release::operator()(SnoozletRe2* re) const { snoozlet_re2_release(re); }

Pattern::Pattern(std::string_view pattern) {
  char error[256];
  re_.reset(snoozlet_re2_compile(pattern.data(), pattern.size(), error, sizeof error));
  if (!re_) {
    std::fprintf(stderr, "snoozlet: invalid regular expression %.*s: %s\n", static_cast<int>(pattern.size()),
                 pattern.data(), error);
    std::abort();
  }
  groups_ = snoozlet_re2_groups(re_.get());
}

Pattern::~Pattern() = default;

int Pattern::groupCount() const { return groups_; }

bool Pattern::matchAt(std::string_view text, std::size_t position, MatchViews& groups) const {
  const int n = groups_ + 1;
  std::ptrdiff_t found[64];
  std::vector<std::ptrdiff_t> big;
  std::ptrdiff_t* spans = found;
  if (n > 32) {
    big.resize(2 * static_cast<std::size_t>(n));
    spans = big.data();
  }
  if (!snoozlet_re2_match(re_.get(), text.data(), text.size(), position, spans, n)) return false;
  groups.assign(static_cast<std::size_t>(n), std::nullopt);
  for (int i = 0; i < n; ++i) {
    if (spans[2 * i] < 0) continue;
    groups[static_cast<std::size_t>(i)] =
        text.substr(static_cast<std::size_t>(spans[2 * i]), static_cast<std::size_t>(spans[2 * i + 1] - spans[2 * i]));
  }
  return true;
}

std::size_t Pattern::nextCharacter(std::string_view text, std::size_t position) {
  ++position;
  while (position < text.size() && (static_cast<unsigned char>(text[position]) & 0xC0) == 0x80) ++position;
  return position;
}

bool Pattern::match(std::string_view text, MatchViews& groups) const { return matchAt(text, 0, groups); }

std::optional<MatchGroups> Pattern::firstMatch(std::string_view text) const {
  MatchViews groups;
  if (!matchAt(text, 0, groups)) return std::nullopt;
  return toGroups(groups);
}

std::vector<MatchGroups> Pattern::allMatches(std::string_view text) const {
  std::vector<MatchGroups> out;
  forEachMatch(text, [&](const MatchViews& groups) { out.push_back(toGroups(groups)); });
  return out;
}

std::string Pattern::replaceAll(std::string_view text, std::string_view replacement) const {
  std::string out;
  std::size_t copied = 0;
  forEachMatch(text, [&](const MatchViews& groups) {
    const auto& whole = *groups[0];
    const std::size_t begin = static_cast<std::size_t>(whole.data() - text.data());
    out.append(text.substr(copied, begin - copied));
    out.append(replacement);
    copied = begin + whole.size();
  });
  out.append(text.substr(copied));
  return out;
}

bool Pattern::contains(std::string_view text) const {
  return snoozlet_re2_contains(re_.get(), text.data(), text.size());
}

MatchGroups toGroups(const MatchViews& views) {
  MatchGroups out;
  out.reserve(views.size());
  for (const auto& v : views) out.push_back(v ? std::optional<std::string>(std::string(*v)) : std::nullopt);
  return out;
}

}  // namespace snoozlet
