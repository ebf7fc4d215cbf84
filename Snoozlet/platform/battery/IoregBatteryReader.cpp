#include "platform/battery/IoregBatteryReader.h"

#include "archive/IoregParser.h"
#include "platform/battery/CapturedOutput.h"

namespace snoozlet {

namespace {

// The battery entry prints some tens of kilobytes; anything near this is not
// ioreg's answer.
constexpr std::size_t kOutputLimit = 16 * 1024 * 1024;

}  // namespace

IoregBatteryReader::IoregBatteryReader(std::filesystem::path ioreg) : ioreg_(std::move(ioreg)) {}

std::optional<BatteryHealth> IoregBatteryReader::read() {
  const auto run = captureOutput(ioreg_, {"-r", "-c", "AppleSmartBattery", "-a"}, kOutputLimit);
  if (!run || run->exitStatus != 0) return std::nullopt;
  const auto properties = IoregParser::parseXml(run->output);
  if (!properties) return std::nullopt;
  return BatteryHealth::from(*properties);
}

}  // namespace snoozlet
