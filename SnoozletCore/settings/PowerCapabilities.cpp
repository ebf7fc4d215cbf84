#include "settings/PowerCapabilities.h"

#include "common/Pattern.h"
#include "common/Text.h"
#include "settings/PowerSettings.h"

namespace snoozlet {

PowerCapabilities PowerCapabilities::parse(std::string_view text) {
  // Any white space inside the trimmed line, no-break spaces included, makes
  // it a multi-word entry.
  static const Pattern innerSpace(R"([\s\p{Z}\v])");
  PowerCapabilities capabilities;
  const std::string decoded = text::decodeUtf8(text);
  for (std::string_view line : pmsettext::lines(decoded)) {
    if (!pmsettext::beginsWithBlank(line)) continue;
    const std::string_view word = text::trimWhitespace(line);
    if (!word.empty() && !innerSpace.contains(word)) capabilities.keys.emplace(word);
  }
  return capabilities;
}

}  // namespace snoozlet
