#include "common/Re2Engine.h"

#include <re2/re2.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

struct SnoozletRe2 {
  explicit SnoozletRe2(re2::StringPiece pattern, const RE2::Options& options) : re(pattern, options) {}
  RE2 re;
};

namespace {

RE2::Options options() {
  RE2::Options o;
  o.set_encoding(RE2::Options::EncodingUTF8);
  o.set_log_errors(false);
  o.set_max_mem(64 << 20);
  return o;
}

}  // namespace

extern "C" {

SnoozletRe2* snoozlet_re2_compile(const char* pattern, std::size_t size, char* error, std::size_t errorSize) noexcept {
  auto* compiled = new (std::nothrow) SnoozletRe2(re2::StringPiece(pattern, size), options());
  if (compiled != nullptr && compiled->re.ok()) return compiled;
  if (error != nullptr && errorSize > 0) {
    const char* message = compiled != nullptr ? compiled->re.error().c_str() : "out of memory";
    const std::size_t length = std::min(std::strlen(message), errorSize - 1);
    std::memcpy(error, message, length);
    error[length] = '\0';
  }
  delete compiled;
  return nullptr;
}

void snoozlet_re2_release(SnoozletRe2* re) noexcept { delete re; }

int snoozlet_re2_groups(const SnoozletRe2* re) noexcept { return re->re.NumberOfCapturingGroups(); }

bool snoozlet_re2_match(const SnoozletRe2* re, const char* text, std::size_t size, std::size_t from,
                        std::ptrdiff_t* spans, int count) noexcept {
  re2::StringPiece found[32];
  std::vector<re2::StringPiece> big;
  re2::StringPiece* slots = found;
  if (count > 32) {
    big.resize(static_cast<std::size_t>(count));
    slots = big.data();
  }
  if (!re->re.Match(re2::StringPiece(text, size), from, size, RE2::UNANCHORED, slots, count)) return false;
  for (int i = 0; i < count; ++i) {
    const bool took = slots[i].data() != nullptr;
    spans[2 * i] = took ? slots[i].data() - text : -1;
    spans[2 * i + 1] = took ? spans[2 * i] + static_cast<std::ptrdiff_t>(slots[i].size()) : -1;
  }
  return true;
}

bool snoozlet_re2_contains(const SnoozletRe2* re, const char* text, std::size_t size) noexcept {
  return RE2::PartialMatch(re2::StringPiece(text, size), re->re);
}
}
