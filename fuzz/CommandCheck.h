#pragma once

// The only shape of command text allowed to reach a privileged runner, checked
// independently of PmsetCommand's own checks: pmset lines joined by " && ",
// each "/usr/bin/pmset -b|-c|-a <catalogue key> <value>" where the value is one
// to three characters, each an ASCII digit or a non-ASCII character that is
// numeric in the Unicode sense.

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/Pattern.h"
#include "common/Result.h"
#include "settings/FixPlan.h"
#include "settings/PmsetCommand.h"

namespace snoozlet::fuzz {

inline bool isNumericValue(std::string_view value) {
  if (value.empty()) return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(value.data());
  const auto length = static_cast<int32_t>(value.size());
  int characters = 0;
  for (int32_t offset = 0; offset < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, offset, length, c);
    if (c < 0) return false;
    if (c < 0x80 ? (c < '0' || c > '9') : u_getIntPropertyValue(c, UCHAR_NUMERIC_TYPE) == U_NT_NONE) return false;
    if (++characters > 3) return false;
  }
  return true;
}

inline bool isSafeLine(std::string_view line) {
  static const Pattern shape(
      R"(^/usr/bin/pmset -[bca] (?:tcpkeepalive|powernap|womp|proximitywake|ttyskeepawake|lowpowermode) ([^ ]+)$)");
  MatchViews groups;
  return shape.match(line, groups) && groups[1] && isNumericValue(*groups[1]);
}

// True for a non-empty text of safe lines joined by " && ".
inline bool isSafeCommandText(std::string_view text) {
  if (text.empty()) return false;
  constexpr std::string_view kJoin = " && ";
  for (;;) {
    const std::size_t at = text.find(kJoin);
    if (!isSafeLine(text.substr(0, at))) return false;
    if (at == std::string_view::npos) return true;
    text.remove_prefix(at + kJoin.size());
  }
}

// Every builder of PmsetCommand either refuses the plan or produces safe text.
inline bool everyBuilderIsSafe(const FixPlan& plan) {
  const auto linesOk = [](const Result<std::vector<std::string>>& built) {
    if (!built) return true;
    for (const std::string& line : built.value())
      if (!isSafeLine(line)) return false;
    return true;
  };
  const auto textOk = [&plan](const Result<std::string>& built) {
    if (!built) return true;
    return plan.changes.empty() ? built.value().empty() : isSafeCommandText(built.value());
  };
  if (!linesOk(PmsetCommand::lines(plan)) || !linesOk(PmsetCommand::undoLines(plan))) return false;
  if (!textOk(PmsetCommand::shellText(plan)) || !textOk(PmsetCommand::undoShellText(plan))) return false;
  if (const auto script = PmsetCommand::appleScript(plan); script && !plan.changes.empty()) {
    constexpr std::string_view kOpen = "do shell script \"", kClose = "\" with administrator privileges";
    const std::string& text = script.value();
    if (!text.starts_with(kOpen) || !text.ends_with(kClose)) return false;
    if (!isSafeCommandText(std::string_view(text).substr(kOpen.size(), text.size() - kOpen.size() - kClose.size())))
      return false;
  }
  return true;
}

}  // namespace snoozlet::fuzz
