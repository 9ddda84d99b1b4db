#pragma once

#include <nlohmann/json.hpp>

namespace platform {

// Replies keep the member order the server sent, so documents round-trip as they came.
using Json = nlohmann::ordered_json;

}  // namespace platform
