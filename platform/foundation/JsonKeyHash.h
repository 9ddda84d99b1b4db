#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

// The hash under which a Json object's index files a member name. Replies come from outside,
// so their names may have been chosen to collide: the hash is keyed (seeded XXH3) with a seed
// drawn from the system's random source once per process, which nobody outside the process
// can know, mixed with a salt of the index's own (0 unless the index had to choose another).
struct JsonKeyHasher {
    static std::uint64_t hash(std::string_view key, std::uint64_t salt) noexcept;
    // A new salt from the system's random source, for an index whose names fell unluckily.
    static std::uint64_t freshSalt() noexcept;
};

}  // namespace platform
