// The name cleaning of activities and assertion holders on arbitrary text:
// no crash, valid UTF-8 in, valid UTF-8 out, and the cleaned names keep the
// shape the tables and the archive rely on.
//
// Input: the text, then one trailing byte for the language.

#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "FuzzCheck.h"
#include "common/Text.h"
#include "sessions/ActivityNames.h"
#include "sessions/SystemProcesses.h"

namespace {

using namespace snoozlet;

bool isTrimmedOf(std::string_view text, std::string_view chars) {
  return text.empty() ||
         (chars.find(text.front()) == std::string_view::npos && chars.find(text.back()) == std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const Language language = provider.ConsumeBool() ? Language::turkish : Language::english;
  const std::string input = provider.ConsumeRemainingBytesAsString();
  const bool valid = text::isValidUtf8(input);

  // Activities.
  const auto activity = ActivityNames::activity(input.empty() ? std::nullopt : std::optional<std::string>(input));
  FUZZ_CHECK(activity.has_value() == !input.empty());
  if (activity) {
    FUZZ_CHECK(activity->size() <= input.size());
    if (valid) FUZZ_CHECK(text::isValidUtf8(*activity));
    if (const auto name = ActivityNames::friendly(*activity, language)) FUZZ_CHECK(!name->empty());
  }
  ActivityNames::friendly(input, language);

  // Holder names: white space collapsed to single spaces, ends trimmed.
  const std::string cleaned = SystemProcesses::cleanHolderName(input);
  FUZZ_CHECK(cleaned.size() <= input.size());
  FUZZ_CHECK(isTrimmedOf(cleaned, " \t<>.()"));
  if (valid) {
    FUZZ_CHECK(text::isValidUtf8(cleaned));
    FUZZ_CHECK(cleaned.find("  ") == std::string::npos);
    FUZZ_CHECK(cleaned.find_first_of("\t\n\r\v\f") == std::string::npos);
  }

  // Origins: the tables and the rules agree with each other.
  const std::size_t cut = input.find('|');
  const std::string_view process = std::string_view(input).substr(0, cut);
  const std::string_view name = cut == std::string::npos ? std::string_view() : std::string_view(input).substr(cut + 1);
  const HolderOrigin origin = SystemProcesses::origin(process, name);
  FUZZ_CHECK((origin == HolderOrigin::userTool) == SystemProcesses::isUserToolName(process));
  if (origin != HolderOrigin::userTool)
    FUZZ_CHECK((origin == HolderOrigin::system) == SystemProcesses::isSystem(process, name));
  if (SystemProcesses::isSystemName(process) && !SystemProcesses::isUserToolName(process))
    FUZZ_CHECK(origin == HolderOrigin::system);
  return 0;
}
