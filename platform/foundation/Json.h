#pragma once

#include <nlohmann/json.hpp>

#include "platform/foundation/JsonFwd.h"
#include "platform/foundation/JsonMembers.h"

namespace platform {

// platform::Json (declared in JsonFwd.h): replies keep the member order the server sent, so
// documents round-trip as they came; an object's members are found through an index, so large
// objects decode and answer lookups in time linear in their size.

}  // namespace platform
