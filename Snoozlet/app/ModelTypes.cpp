#include "app/ModelTypes.h"

#include "platform/PowerDataSource.h"

namespace snoozlet {

Storage Storage::standard() { return in(standardDataFolder()); }

}  // namespace snoozlet
