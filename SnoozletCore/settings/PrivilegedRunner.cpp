#include "settings/PrivilegedRunner.h"

namespace snoozlet {

std::string RunFailure::description() const {
  return kind == Kind::cancelled ? std::string("Cancelled. Nothing was changed.") : message;
}

}  // namespace snoozlet
