#include "platform/battery/BatteryReader.h"

#include "platform/PowerDataSource.h"
#include "platform/battery/IoregBatteryReader.h"
#include "platform/battery/SysfsBatteryReader.h"
#include "platform/linux/SystemRoot.h"

namespace snoozlet {

std::unique_ptr<BatteryReader> makeSystemBatteryReader() {
#if defined(__APPLE__)
  return std::make_unique<IoregBatteryReader>();
#else
  return std::make_unique<SysfsBatteryReader>(SystemRoot::fromEnvironment()("/sys/class/power_supply"));
#endif
}

std::unique_ptr<BatteryReader> makeBatteryReader(const std::string& pmset) {
  if (PowerDataSource::isSimulator(pmset)) {
    return std::make_unique<IoregBatteryReader>(pmset, std::vector<std::string>{"-g", "smartbattery"});
  }
  return makeSystemBatteryReader();
}

}  // namespace snoozlet
