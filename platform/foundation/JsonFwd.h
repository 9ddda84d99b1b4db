#pragma once

#include <nlohmann/json_fwd.hpp>

// platform::Json named without nlohmann's whole header, for headers that only pass it on.
namespace platform {

struct JsonKeyHasher;

template <class Key, class T, class IgnoredLess, class Allocator, class Hasher = JsonKeyHasher>
class JsonMembers;

using Json = nlohmann::basic_json<JsonMembers>;

}  // namespace platform
