// The live registry of the current user for velkor-rules.

#include <memory>

#include "registry/Win32Registry.h"

namespace velkor::cli {

std::unique_ptr<RegistryAccess> OpenLiveRegistry() { return std::make_unique<Win32Registry>(); }

}  // namespace velkor::cli
