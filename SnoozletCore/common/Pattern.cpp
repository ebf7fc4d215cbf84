#include "common/Pattern.h"

#include <re2/re2.h>

#include <cstdio>
#include <cstdlib>

namespace snoozlet {

namespace {

re2::StringPiece piece(std::string_view s) { return re2::StringPiece(s.data(), s.size()); }

}  // namespace

Pattern::Pattern(std::string_view pattern) {
  RE2::Options options;
  options.set_encoding(RE2::Options::EncodingUTF8);
  options.set_log_errors(false);
  options.set_max_mem(64 << 20);
  re_ = std::make_unique<re2::RE2>(piece(pattern), options);
  if (!re_->ok()) {
    std::fprintf(stderr, "snoozlet: invalid regular expression %.*s: %s\n", static_cast<int>(pattern.size()),
                 pattern.data(), re_->error().c_str());
    std::abort();
  }
}

Pattern::~Pattern() = default;

int Pattern::groupCount() const { return re_->NumberOfCapturingGroups(); }

bool Pattern::matchAt(std::string_view text, std::size_t position, MatchViews& groups) const {
  const int n = re_->NumberOfCapturingGroups() + 1;
  re2::StringPiece found[32];
  std::vector<re2::StringPiece> big;
  re2::StringPiece* slots = found;
  if (n > 32) {
    big.resize(static_cast<std::size_t>(n));
    slots = big.data();
  }
  if (!re_->Match(piece(text), position, text.size(), RE2::UNANCHORED, slots, n)) return false;
  groups.assign(static_cast<std::size_t>(n), std::nullopt);
  for (int i = 0; i < n; ++i) {
    if (slots[i].data() != nullptr) groups[static_cast<std::size_t>(i)] = std::string_view(slots[i].data(), slots[i].size());
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
  return RE2::PartialMatch(piece(text), *re_);
}

MatchGroups toGroups(const MatchViews& views) {
  MatchGroups out;
  out.reserve(views.size());
  for (const auto& v : views) out.push_back(v ? std::optional<std::string>(std::string(*v)) : std::nullopt);
  return out;
}

}  // namespace snoozlet
