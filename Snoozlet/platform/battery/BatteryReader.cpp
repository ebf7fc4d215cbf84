#include "platform/battery/BatteryReader.h"

#include "platform/battery/IoregBatteryReader.h"
#include "platform/battery/SysfsBatteryReader.h"

namespace snoozlet {

std::unique_ptr<BatteryReader> makeSystemBatteryReader() {
#if defined(__APPLE__)
  return std::make_unique<IoregBatteryReader>();
#else
  return std::make_unique<SysfsBatteryReader>();
#endif
}

}  // namespace snoozlet
