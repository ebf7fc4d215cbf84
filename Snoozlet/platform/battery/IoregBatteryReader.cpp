#include "platform/battery/IoregBatteryReader.h"

#include "archive/IoregParser.h"
#include "platform/Process.h"

namespace snoozlet {

namespace {

// The battery entry prints some tens of kilobytes; anything near this is not
// ioreg's answer.
constexpr std::size_t kOutputLimit = 16 * 1024 * 1024;

}  // namespace

IoregBatteryReader::IoregBatteryReader(std::filesystem::path ioreg, std::vector<std::string> arguments)
    : ioreg_(std::move(ioreg)), arguments_(std::move(arguments)) {}

std::optional<BatteryHealth> IoregBatteryReader::read() {
  std::string output;
  bool tooLong = false;
  const auto run = Process::stream(
      {ioreg_.string(), arguments_, {}}, 65536,
      [&](std::string_view chunk) {
        tooLong = output.size() + chunk.size() > kOutputLimit;
        if (!tooLong) output.append(chunk);
        return !tooLong;
      },
      Process::ErrorOutput::discard);
  if (!run || tooLong || !run->exit.succeeded()) return std::nullopt;
  const auto properties = IoregParser::parseXml(output);
  if (!properties) return std::nullopt;
  return BatteryHealth::from(*properties);
}

}  // namespace snoozlet
