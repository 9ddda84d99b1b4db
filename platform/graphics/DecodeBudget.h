#pragma once

#include <cstddef>

namespace platform {

// The bytes of decoded pictures held at once, across the process: every picture decoded from
// PNG or JPEG bytes reserves its pixels here before they are made and gives them back when
// its last copy goes. A picture that would pass the limit is decoded smaller to fit what is
// left, or not at all when too little is. Thread-safe.
class DecodeBudget {
public:
    static constexpr std::size_t kDefaultLimit = std::size_t{256} << 20;

    static std::size_t held();
    static std::size_t limit();
    // For tests and probes; pictures already held are kept.
    static void setLimit(std::size_t bytes);

    // Reserves `bytes` when they fit under the limit.
    static bool tryReserve(std::size_t bytes);
    static void release(std::size_t bytes);
};

}  // namespace platform
